// The stored window descriptions: records, control tables and the set.
// Portable; the program reads the set with it and the build tool writes it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorrik {

enum KindCode : uint32_t {
  kKindWindow = 0x00010001,
  kKindMenuItem = 0x00010003,
  kKindGroupBox = 0x00010009,
  kKindLabel = 0x0001000A,
  kKindButton = 0x0001000B,
  kKindTimer = 0x00010020,
  kKindHtmlViewer = 0x00020001,
};

constexpr int32_t kNoHandler = -1;

// State flag bits of a control record.
constexpr uint32_t kStateVisible = 1, kStateDisabled = 2, kStateTabStop = 4;
// Flag bits of a menu item record.
constexpr uint32_t kMenuHidden = 1, kMenuDisabled = 2, kMenuChecked = 4;

bool IsValidIdentifier(uint32_t id);
bool IsMenuItemIdentifier(uint32_t id);

struct EventBinding {
  uint32_t event = 0;
  int32_t handler = kNoHandler;
  bool operator==(const EventBinding&) const = default;
};

// The window's own item and every control.
struct ControlRecord {
  uint32_t kind = 0;
  std::string name, remark;
  uint32_t objectSlot = 0;
  int32_t left = 0, top = 0, width = 0, height = 0;
  uint32_t pointerSlot = 0;
  uint32_t parent = 0;
  std::vector<uint32_t> children;
  std::vector<uint8_t> mousePointer{0, 0, 0, 0};
  std::string tag;
  uint32_t state = 0;
  uint32_t tabOrder = 0;
  std::vector<EventBinding> bindings;
  std::vector<uint8_t> settings;
  bool operator==(const ControlRecord&) const = default;
};

struct MenuItemRecord {
  std::string name, remark;
  uint32_t shortcut = 0;
  uint32_t level = 0;
  uint32_t flags = 0;
  std::string title;
  int32_t handler = kNoHandler;
  bool operator==(const MenuItemRecord&) const = default;
};

std::optional<ControlRecord> DecodeControlRecord(std::span<const uint8_t> record);
std::optional<MenuItemRecord> DecodeMenuItemRecord(std::span<const uint8_t> record);
std::vector<uint8_t> EncodeControlRecord(const ControlRecord& record);
std::vector<uint8_t> EncodeMenuItemRecord(const MenuItemRecord& record);

// The handler references of a record, without decoding the rest: the
// bindings of a control, or the single slot of a menu item.
std::optional<std::vector<EventBinding>> ReadBindings(std::span<const uint8_t> record);
std::optional<int32_t> ReadMenuHandler(std::span<const uint8_t> record);

// One window's table: identifiers, offsets and records kept as one body, so
// that a build copies it in one piece and records are reached by offset.
class ControlTable {
 public:
  static std::optional<ControlTable> Decode(uint32_t count, std::span<const uint8_t> body);
  static ControlTable Make(const std::vector<uint32_t>& ids, const std::vector<std::vector<uint8_t>>& records);

  uint32_t Count() const { return count_; }
  uint32_t Identifier(uint32_t index) const;
  std::optional<uint32_t> IndexOf(uint32_t id) const;
  bool IsMenuItem(uint32_t index) const { return IsMenuItemIdentifier(Identifier(index)); }
  std::span<const uint8_t> Record(uint32_t index) const;
  uint32_t KindCode(uint32_t index) const;

  // The contiguous run of menu items: first entry and length (0 when none).
  struct Run {
    uint32_t first = 0, length = 0;
  };
  Run MenuRun() const;

  // Replaces one record and moves the ones behind it.
  void ReplaceRecord(uint32_t index, std::span<const uint8_t> record);

  const std::vector<uint8_t>& Body() const { return body_; }
  bool operator==(const ControlTable&) const = default;

 private:
  uint32_t Offset(uint32_t index) const;
  size_t RecordsStart() const { return size_t(count_) * 8; }
  uint32_t count_ = 0;
  std::vector<uint8_t> body_;
};

struct WindowDescription {
  uint32_t header1 = 0;
  uint32_t header2 = 0;
  std::string headerText1, headerText2;
  ControlTable table;
  bool operator==(const WindowDescription&) const = default;
};

struct DescriptionSet {
  std::vector<uint32_t> ids;
  std::vector<uint32_t> slots;  // stored values carry no meaning
  std::vector<WindowDescription> windows;
  bool operator==(const DescriptionSet&) const = default;
};

// Any read past the end of the data, or a table whose offsets do not hold,
// makes the whole set unreadable.
std::optional<DescriptionSet> DecodeDescriptionSet(std::span<const uint8_t> data);
std::vector<uint8_t> EncodeDescriptionSet(const DescriptionSet& set);

// Walks every record's handler references: each must be -1 or a key below
// handlerCount, and every record must be readable that far.
bool HandlerReferencesValid(const ControlTable& table, size_t handlerCount);

}  // namespace vorrik
