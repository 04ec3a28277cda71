// What every control kind offers the builder and the shell's property writes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace vorrik {

struct CreateArguments {
  std::span<const uint8_t> settings;
  DWORD style = 0;  // WS_DISABLED and WS_TABSTOP from the record's state
  HWND parent = nullptr;
  int childNumber = 0;
  HMENU menu = nullptr;  // the window kind only
  int left = 0, top = 0, width = 0, height = 0;
  uint32_t windowId = 0, controlId = 0;
  // The window kind decides its owner from these.
  bool modal = false;
  HWND owner = nullptr;
};

// Type codes of property table rows.
enum PropertyType : uint16_t {
  kTypeInteger = 1001,
  kTypeBoolean = 1003,
  kTypeText = 1005,
  kTypeChoice = 1006,
  kTypePicture = 1009,
  kTypeIcon = 1010,
  kTypePointer = 1011,
  kTypeSound = 1012,
  kTypeFont = 1013,
  kTypeColour = 1014,
  kTypeColour2 = 1015,
  kTypeFileName = 1016,
  kTypeBackColour = 1017,
  kTypeDataSource = 1018,
  kTypeDataColumn = 1020,
};

struct KindEntryPoints {
  uint32_t code = 0;
  const char* name = "";         // Chinese name
  const char* englishName = "";
  std::span<const PropertyType> properties;  // all of them, common ones included
  bool neverShown = false;
  bool pagedChildren = false;
  HWND (*Create)(const CreateArguments&) = nullptr;
  // Returns whether the control must be rebuilt to show the value.
  bool (*SetProperty)(HWND control, int32_t ownIndex, uint32_t value) = nullptr;
  uint32_t (*GetProperty)(HWND control, int32_t ownIndex) = nullptr;
  std::vector<uint8_t> (*SaveSettings)(HWND control) = nullptr;
  // Told once every control of the window exists.
  void (*ControlsComplete)(HWND control) = nullptr;
};

// A window sends its controls' notifications back to them, so that each kind
// handles its own: WM_COMMAND from a child arrives at the child as
// kReflectedCommand (same wParam and lParam), and the colour queries
// WM_CTLCOLORSTATIC / WM_CTLCOLORBTN as kReflectedColour (wParam the DC,
// lParam the message), answered with a brush or 0 for the default.
constexpr UINT kReflectedCommand = WM_APP + 0x100;
constexpr UINT kReflectedColour = WM_APP + 0x101;

// Where a control keeps the identifiers it quotes when raising events.
struct ControlIdentity {
  uint32_t windowId = 0, controlId = 0;
};

// The kinds built into the program; none for an unknown code.
const KindEntryPoints* FindKind(uint32_t code);
std::span<const KindEntryPoints> BuiltinKinds();

// Replaces the kinds while a test runs.
class ScopedKindTable {
 public:
  explicit ScopedKindTable(std::span<const KindEntryPoints> kinds);
  ~ScopedKindTable();
  ScopedKindTable(const ScopedKindTable&) = delete;
  ScopedKindTable& operator=(const ScopedKindTable&) = delete;

 private:
  std::span<const KindEntryPoints> previous_;
};

}  // namespace vorrik
