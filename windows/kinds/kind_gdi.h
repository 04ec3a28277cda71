// GDI ownership and the small pieces the drawn kinds share: fonts from
// stored records, pictures from stored blocks, property values as blocks.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shell/blocks.h"
#include "windows/kinds/settings_common.h"

namespace vorrik {

// Owns one GDI object (font, bitmap, brush, pen).
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

class UniqueIcon {
 public:
  UniqueIcon() = default;
  explicit UniqueIcon(HICON icon) : icon_(icon) {}
  ~UniqueIcon() { if (icon_) DestroyIcon(icon_); }
  UniqueIcon(UniqueIcon&& other) noexcept : icon_(other.icon_) { other.icon_ = nullptr; }
  UniqueIcon& operator=(UniqueIcon&& other) noexcept {
    if (this != &other) {
      if (icon_) DestroyIcon(icon_);
      icon_ = other.icon_;
      other.icon_ = nullptr;
    }
    return *this;
  }
  UniqueIcon(const UniqueIcon&) = delete;
  UniqueIcon& operator=(const UniqueIcon&) = delete;
  HICON get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

// A memory DC compatible with another.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() { if (dc_) DeleteDC(dc_); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() { if (previous_) SelectObject(dc_, previous_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Saves the DC's state (clip region, colours, modes) for a scope.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() { RestoreDC(dc_, saved_); }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& Dirty() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// The stored font with the fields every kind forces; null without a record
// or when the system makes no font of it.
GdiObject<HFONT> CreateKindFont(const std::optional<LogFont>& font);
inline HFONT FontOrDefault(const GdiObject<HFONT>& font) {
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// A picture block decoded to a bitmap or an icon; empty when it cannot be.
class KindPicture {
 public:
  static KindPicture Decode(std::span<const uint8_t> bytes);
  bool Empty() const { return !bitmap_ && !icon_.get(); }
  HBITMAP Bitmap() const { return bitmap_.get(); }
  HICON Icon() const { return icon_.get(); }
  SIZE Size() const { return size_; }
  void Draw(HDC dc, int x, int y, int width, int height) const;

 private:
  GdiObject<HBITMAP> bitmap_;
  UniqueIcon icon_;
  SIZE size_{};
};

// Where a picture goes in an area.
enum class Placement : uint32_t {
  kTopLeft = 0,    // once, at natural size
  kTiled = 1,      // repeated from the top-left
  kCentred = 2,    // at natural size, or shrunk to fit with its proportions kept
  kStretched = 3,  // over the whole area
};
// Draws the picture into the area, clipped to it.
void DrawPlacedPicture(HDC dc, const RECT& area, const KindPicture& picture, Placement placement);

// Property values that are blocks: the bytes of a ByteBuffer, and a block
// of the shell's layout kept by the control for reading.
std::vector<uint8_t> BytesOfBuffer(ConstByteBuffer buffer);
std::vector<uint8_t> BufferOfBytes(std::span<const uint8_t> bytes);
std::optional<LogFont> FontOfBuffer(ConstByteBuffer buffer);
std::vector<uint8_t> BufferOfFont(const std::optional<LogFont>& font);

// A choice written through SetProperty: negative gives 0, above the range
// the highest choice.
uint32_t ClampChoice(uint32_t value, uint32_t highest);

// Registers a kind's own window class once: double clicks, full redraw on
// resizing, the arrow pointer, and by default no background brush (the kind
// paints it all). True when the class exists with this procedure.
bool RegisterKindClass(const char* name, WNDPROC procedure, HBRUSH background = nullptr);

inline uint32_t ValueOf(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }
inline const void* PointerOf(uint32_t value) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(value)); }

// A text written through SetProperty, copied; null is the empty text.
inline std::string TextOfValue(uint32_t value) {
  auto* text = static_cast<const char*>(PointerOf(value));
  return text ? std::string(text) : std::string();
}

}  // namespace vorrik
