#include "windows/kinds/kind_gdi.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <memory>

#include "windows/kinds/com_ptr.h"

namespace vorrik {
namespace {

// HIMETRIC to pixels at the screen's resolution.
int Pixels(OLE_XSIZE_HIMETRIC himetric, int dotsPerInch) { return MulDiv(himetric, dotsPerInch, 2540); }

ComPtr<IPicture> LoadOlePicture(std::span<const uint8_t> bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  void* data = GlobalLock(memory);
  std::memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* rawStream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &rawStream))) {
    GlobalFree(memory);
    return nullptr;
  }
  auto stream = ComPtr<IStream>::Adopt(rawStream);
  IPicture* picture = nullptr;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&picture))))
    return nullptr;
  return ComPtr<IPicture>::Adopt(picture);
}

}  // namespace

GdiObject<HFONT> CreateKindFont(const std::optional<LogFont>& font) {
  if (!font) return {};
  LOGFONTA record{};
  record.lfHeight = font->height;
  record.lfWidth = font->width;
  record.lfEscapement = font->escapement;
  record.lfOrientation = font->orientation;
  record.lfWeight = font->weight;
  record.lfItalic = font->italic;
  record.lfUnderline = font->underline;
  record.lfStrikeOut = font->strikeOut;
  // Stored records come from other machines: their character set, precision
  // and pitch say nothing about this one.
  record.lfCharSet = DEFAULT_CHARSET;
  record.lfOutPrecision = OUT_DEFAULT_PRECIS;
  record.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  record.lfQuality = PROOF_QUALITY;
  record.lfPitchAndFamily = DEFAULT_PITCH;
  const auto face = font->Face();
  std::memcpy(record.lfFaceName, face.data(), face.size() < LF_FACESIZE ? face.size() : LF_FACESIZE - 1);
  return GdiObject<HFONT>(CreateFontIndirectA(&record));
}

KindPicture KindPicture::Decode(std::span<const uint8_t> bytes) {
  KindPicture result;
  if (bytes.empty()) return result;
  auto picture = LoadOlePicture(bytes);
  if (!picture) return result;
  short type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (FAILED(picture->get_Type(&type)) || FAILED(picture->get_Handle(&handle))) return result;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture->get_Width(&width);
  picture->get_Height(&height);
  HDC screen = GetDC(nullptr);
  result.size_ = {Pixels(width, GetDeviceCaps(screen, LOGPIXELSX)), Pixels(height, GetDeviceCaps(screen, LOGPIXELSY))};

  // The picture object owns its handle: keep copies that outlive it.
  if (type == PICTYPE_ICON) {
    result.icon_ = UniqueIcon(CopyIcon(reinterpret_cast<HICON>(static_cast<uintptr_t>(handle))));
  } else if (type == PICTYPE_BITMAP) {
    HBITMAP source = reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(handle));
    BITMAP info{};
    GetObjectA(source, sizeof info, &info);
    result.size_ = {info.bmWidth, info.bmHeight};
    result.bitmap_ = GdiObject<HBITMAP>(static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, 0)));
  } else if (result.size_.cx > 0 && result.size_.cy > 0) {
    // Metafiles: rendered once at their natural size.
    result.bitmap_ = GdiObject<HBITMAP>(CreateCompatibleBitmap(screen, result.size_.cx, result.size_.cy));
    MemoryDc memory(screen);
    SelectGuard select(memory.get(), result.bitmap_.get());
    RECT all{0, 0, result.size_.cx, result.size_.cy};
    FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    picture->Render(memory.get(), 0, 0, result.size_.cx, result.size_.cy, 0, height, width, -height, nullptr);
  }
  ReleaseDC(nullptr, screen);
  if (result.Empty()) result.size_ = {};
  return result;
}

void KindPicture::Draw(HDC dc, int x, int y, int width, int height) const {
  if (icon_.get()) {
    DrawIconEx(dc, x, y, icon_.get(), width, height, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!bitmap_) return;
  MemoryDc memory(dc);
  SelectGuard select(memory.get(), bitmap_.get());
  if (width == size_.cx && height == size_.cy) {
    BitBlt(dc, x, y, width, height, memory.get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, x, y, width, height, memory.get(), 0, 0, size_.cx, size_.cy, SRCCOPY);
  }
}

namespace {

// Tiles in one fill through a pattern brush, whatever the picture's size: a
// tiny picture drawn tile by tile would take seconds over a large window.
// An icon's tile is the icon drawn over what lies under the first tile, so
// the area is expected to be plain beneath, as the kinds fill it.
void DrawTiled(HDC dc, const RECT& area, const KindPicture& picture) {
  const SIZE size = picture.Size();
  GdiObject<HBITMAP> iconTile;
  HBITMAP tile = picture.Bitmap();
  if (!tile) {
    iconTile = GdiObject<HBITMAP>(CreateCompatibleBitmap(dc, size.cx, size.cy));
    MemoryDc memory(dc);
    if (!iconTile || !memory.get()) return;
    SelectGuard select(memory.get(), iconTile.get());
    BitBlt(memory.get(), 0, 0, size.cx, size.cy, dc, area.left, area.top, SRCCOPY);
    picture.Draw(memory.get(), 0, 0, size.cx, size.cy);
    tile = iconTile.get();
  }
  GdiObject<HBRUSH> pattern(CreatePatternBrush(tile));
  SetBrushOrgEx(dc, area.left, area.top, nullptr);
  FillRect(dc, &area, pattern.get());
}

// Natural size when it fits; otherwise the largest size with the same
// proportions that does.
SIZE FittedSize(SIZE natural, int width, int height) {
  if (natural.cx <= width && natural.cy <= height) return natural;
  if (static_cast<int64_t>(width) * natural.cy <= static_cast<int64_t>(height) * natural.cx)
    return {width, MulDiv(natural.cy, width, natural.cx)};
  return {MulDiv(natural.cx, height, natural.cy), height};
}

}  // namespace

void DrawPlacedPicture(HDC dc, const RECT& area, const KindPicture& picture, Placement placement) {
  const SIZE size = picture.Size();
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (picture.Empty() || size.cx <= 0 || size.cy <= 0 || width <= 0 || height <= 0) return;
  SavedDcState saved(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  switch (placement) {
    case Placement::kTopLeft:
      picture.Draw(dc, area.left, area.top, size.cx, size.cy);
      return;
    case Placement::kTiled:
      DrawTiled(dc, area, picture);
      return;
    case Placement::kStretched:
      picture.Draw(dc, area.left, area.top, width, height);
      return;
    case Placement::kCentred: {
      const SIZE fitted = FittedSize(size, width, height);
      picture.Draw(dc, area.left + (width - fitted.cx) / 2, area.top + (height - fitted.cy) / 2, fitted.cx,
                   fitted.cy);
      return;
    }
  }
}

std::vector<uint8_t> BytesOfBuffer(ConstByteBuffer buffer) {
  if (!buffer) return {};
  uint32_t length = 0;
  std::memcpy(&length, buffer + 4, 4);
  return std::vector<uint8_t>(buffer + 8, buffer + 8 + length);
}

std::vector<uint8_t> BufferOfBytes(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> block(8 + bytes.size());
  const uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
  std::memcpy(block.data(), header, sizeof header);
  std::copy(bytes.begin(), bytes.end(), block.begin() + 8);
  return block;
}

std::optional<LogFont> FontOfBuffer(ConstByteBuffer buffer) {
  auto bytes = BytesOfBuffer(buffer);
  if (bytes.size() != kLogFontSize) return std::nullopt;
  return DecodeLogFont(std::span<const uint8_t, kLogFontSize>(bytes.data(), kLogFontSize));
}

std::vector<uint8_t> BufferOfFont(const std::optional<LogFont>& font) {
  if (!font) return BufferOfBytes({});
  auto bytes = EncodeLogFont(*font);
  return BufferOfBytes(bytes);
}

uint32_t ClampChoice(uint32_t value, uint32_t highest) {
  const auto signedValue = static_cast<int32_t>(value);
  if (signedValue < 0) return 0;
  return value > highest ? highest : value;
}

bool RegisterKindClass(const char* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &existing)) return existing.lpfnWndProc == procedure;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  return RegisterClassExA(&windowClass) != 0;
}

}  // namespace vorrik
