#include "windows/kinds/window.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "shell/window_registry.h"
#include "windows/kinds/background_sound.h"
#include "windows/kinds/html_viewer.h"
#include "windows/kinds/kind_gdi.h"
#include "windows/kinds/mnemonic.h"
#include "windows/kinds/window_help.h"
#include "windows/kinds/window_settings.h"
#include "windows/kinds/window_shapes.h"
#include "windows/menu_plan.h"

namespace vorrik {
namespace {

constexpr char kDefaultClassName[] = "VorrikWindow";

// Own property indices (property index - 8).
enum WindowProperty : int32_t {
  kTitle = 0, kBorderStyle, kBackColor, kBackPicture, kPictureMode, kBackMusic, kMusicRepeat, kControlBox,
  kMaxButton, kMinButton, kStartPosition, kMovable, kIcon, kEnterMovesFocus, kEscCloses, kF1OpensHelp,
  kHelpFile, kHelpContext, kShowInTaskbar, kDragAnywhere, kShape, kAlwaysOnTop, kKeepTitleActive, kClassName,
};

constexpr PropertyType kProperties[32] = {
    kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeText, kTypeBoolean, kTypeBoolean, kTypePointer,
    kTypeText,    kTypeChoice,  kTypeBackColour, kTypePicture, kTypeChoice, kTypeSound, kTypeChoice, kTypeBoolean,
    kTypeBoolean, kTypeBoolean, kTypeChoice, kTypeBoolean, kTypeIcon, kTypeBoolean, kTypeBoolean, kTypeBoolean,
    kTypeFileName, kTypeInteger, kTypeBoolean, kTypeBoolean, kTypeChoice, kTypeBoolean, kTypeBoolean, kTypeText,
};

class IconHandle {
 public:
  IconHandle() = default;
  explicit IconHandle(HICON icon) : icon_(icon) {}
  ~IconHandle() {
    if (icon_) DestroyIcon(icon_);
  }
  IconHandle(IconHandle&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
  IconHandle& operator=(IconHandle&& other) noexcept {
    std::swap(icon_, other.icon_);
    return *this;
  }
  HICON get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

// One live window of the kind.
struct WindowObject {
  ControlIdentity identity;
  WindowSettings settings;
  IconHandle bigIcon, smallIcon;
  KindPicture picture;
  BackgroundSound sound;
  std::string openedHelp;          // the help file F1 opened, told when the window goes
  std::vector<uint8_t> readBlock;  // the block GetProperty last handed out
  HWND lastFocus = nullptr;
  bool activatedBefore = false;
  // The system repeats WM_MOVE and WM_SIZE on a first show without any
  // change; moved and resized are raised only for real changes.
  LPARAM lastPosition = -1, lastSize = -1;
};

WindowObject* ObjectOf(HWND window) {
  return reinterpret_cast<WindowObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

RegistryEntry* EntryOf(const WindowObject& object) {
  return Shell().registry ? Shell().registry->Find(object.identity.windowId) : nullptr;
}

bool RaiseItemEvent(const WindowObject& object, uint32_t item, int32_t event, EventRecord* out = nullptr) {
  EventRecord record;
  record.window = object.identity.windowId;
  record.item = item;
  record.event = event;
  bool raised = RaiseEvent(record);
  if (out) *out = record;
  return raised;
}

bool RaiseWindowEvent(const WindowObject& object, int32_t event, EventRecord* out = nullptr) {
  return RaiseItemEvent(object, object.identity.controlId, event, out);
}

// ---- creation

// An icon file's first image, at the size asked for.
HICON IconFromFile(std::span<const uint8_t> file, int size) {
  if (file.size() < 22) return nullptr;
  const uint8_t* entry = file.data() + 6;
  const uint32_t bytes = entry[8] | entry[9] << 8 | entry[10] << 16 | uint32_t(entry[11]) << 24;
  const uint32_t offset = entry[12] | entry[13] << 8 | entry[14] << 16 | uint32_t(entry[15]) << 24;
  if (offset > file.size() || bytes > file.size() - offset || bytes == 0) return nullptr;
  return CreateIconFromResourceEx(const_cast<uint8_t*>(file.data() + offset), bytes, TRUE, 0x00030000, size, size,
                                  LR_DEFAULTCOLOR);
}

DWORD FrameStyle(const WindowSettings& s) {
  DWORD style = WS_CLIPCHILDREN;
  if (s.borderStyle == 0) return style | WS_POPUP;
  if (!s.title.empty() || s.controlBox) style |= WS_CAPTION;
  if (s.controlBox) style |= WS_SYSMENU;
  switch (s.borderStyle) {
    case 1: case 3: case 5: style |= WS_THICKFRAME; break;
    default: style |= WS_BORDER; break;
  }
  if (s.maxButton) style |= WS_MAXIMIZEBOX;
  if (s.minButton) style |= WS_MINIMIZEBOX;
  return style;
}

DWORD FrameExStyle(const WindowSettings& s) {
  DWORD ex = 0;
  if (s.borderStyle == 3 || s.borderStyle == 4) ex |= WS_EX_TOOLWINDOW;
  if (s.borderStyle == 5 || s.borderStyle == 6) ex |= WS_EX_CLIENTEDGE;
  if (s.alwaysOnTop) ex |= WS_EX_TOPMOST;
  return ex;
}

HWND OwnerFor(const CreateArguments& args, const WindowSettings& s) {
  if (args.owner) return args.owner;
  if (args.modal || !s.showInTaskbar) return Shell().toolWindow;
  return nullptr;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);


void ApplyShape(HWND window, uint32_t shape, int width, int height) {
  HRGN region = CreateShapeRegion(shape, width, height);
  // On success the system owns the region; none gives the plain rectangle back.
  if (!SetWindowRgn(window, region, TRUE) && region) DeleteObject(region);
}

void ApplyIcons(HWND window, WindowObject& object) {
  object.bigIcon = IconHandle(IconFromFile(object.settings.icon, GetSystemMetrics(SM_CXICON)));
  object.smallIcon = IconHandle(IconFromFile(object.settings.icon, GetSystemMetrics(SM_CXSMICON)));
  HICON big = object.bigIcon.get() ? object.bigIcon.get() : ProgramIcon(false);
  HICON small = object.smallIcon.get() ? object.smallIcon.get() : ProgramIcon(true);
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

// Looping for MusicRepeat 0, once for 1; 2 leaves it silent.
void StartBackgroundSound(WindowObject& object) {
  const uint32_t repeat = object.settings.musicRepeat;
  if (repeat <= 1 && !object.settings.backMusic.empty()) object.sound.Start(object.settings.backMusic, repeat == 0);
}

// Wine sends the first WM_MOVE and WM_SIZE only when the window is first
// shown; the baseline is taken here so that they raise nothing by themselves.
void RecordPlacement(HWND window, WindowObject& object) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  object.lastPosition = MAKELPARAM(origin.x, origin.y);
  object.lastSize = MAKELPARAM(client.right, client.bottom);
}

HWND CreateWindowKind(const CreateArguments& args) {
  auto settings = DecodeWindowSettings(args.settings);
  if (!settings) return nullptr;
  const char* className = settings->className.empty() ? kDefaultClassName : settings->className.c_str();
  if (!RegisterKindClass(className, WindowProc)) return nullptr;

  int left = args.left, top = args.top;
  if (settings->startPosition == 1) {
    left = (GetSystemMetrics(SM_CXSCREEN) - args.width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - args.height) / 2;
  }
  DWORD style = FrameStyle(*settings) | (args.style & WS_DISABLED);
  HWND owner = OwnerFor(args, *settings);
  if (owner && !(style & WS_POPUP)) style |= WS_POPUP;
  if (settings->startPosition == 2) style |= WS_MINIMIZE;
  if (settings->startPosition == 3 && (style & WS_THICKFRAME)) style |= WS_MAXIMIZE;

  auto object = std::make_unique<WindowObject>();
  object->identity = {args.windowId, args.controlId};
  object->settings = std::move(*settings);
  object->picture = KindPicture::Decode(object->settings.backPicture);
  HWND window = CreateWindowExA(FrameExStyle(object->settings), className, object->settings.title.c_str(), style, left,
                                top, args.width, args.height, owner, args.menu, GetModuleHandleA(nullptr), object.get());
  if (!window) return nullptr;
  WindowObject& live = *object.release();  // owned by the window from WM_NCCREATE on

  RECT outer;
  GetWindowRect(window, &outer);
  if (outer.right - outer.left != args.width || outer.bottom - outer.top != args.height)
    SetWindowPos(window, nullptr, 0, 0, args.width, args.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RecordPlacement(window, live);
  ApplyIcons(window, live);
  ApplyShape(window, live.settings.shape, args.width, args.height);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (!live.settings.movable) DeleteMenu(GetSystemMenu(window, FALSE), SC_MOVE, MF_BYCOMMAND);
  StartBackgroundSound(live);
  return window;
}

// ---- properties

uint32_t Clamp(uint32_t value, uint32_t highest) {
  if (static_cast<int32_t>(value) < 0) return 0;
  return value > highest ? highest : value;
}

bool SetWindowProperty(HWND window, int32_t index, uint32_t value) {
  WindowObject* object = ObjectOf(window);
  if (!object) return false;
  WindowSettings& s = object->settings;
  switch (index) {
    case kTitle:
      s.title = value ? reinterpret_cast<const char*>(value) : "";
      SetWindowTextA(window, s.title.c_str());
      break;
    case kBorderStyle: s.borderStyle = Clamp(value, 6); break;
    case kBackColor:
      s.backColor = value;
      InvalidateRect(window, nullptr, TRUE);
      break;
    case kBackPicture:
      s.backPicture = BytesOfBuffer(static_cast<ConstByteBuffer>(PointerOf(value)));
      object->picture = KindPicture::Decode(s.backPicture);
      InvalidateRect(window, nullptr, TRUE);
      break;
    case kPictureMode:
      s.pictureMode = Clamp(value, 3);
      InvalidateRect(window, nullptr, TRUE);
      break;
    case kBackMusic:  // a new sound starts as one stored would
      s.backMusic = BytesOfBuffer(static_cast<ConstByteBuffer>(PointerOf(value)));
      object->sound.Stop();
      StartBackgroundSound(*object);
      break;
    case kMusicRepeat: s.musicRepeat = Clamp(value, 2); break;
    case kF1OpensHelp: s.f1OpensHelp = value != 0; break;
    case kHelpFile: s.helpFile = TextOfValue(value); break;
    case kHelpContext: s.helpContext = value; break;
    case kStartPosition: s.startPosition = Clamp(value, 3); break;
    case kShape:
      s.shape = Clamp(value, kHighestShape);
      {
        RECT r;
        GetWindowRect(window, &r);
        ApplyShape(window, s.shape, r.right - r.left, r.bottom - r.top);
      }
      break;
    case kEscCloses: s.escCloses = value != 0; break;
    case kEnterMovesFocus: s.enterMovesFocus = value != 0; break;
    case kDragAnywhere: s.dragAnywhere = value != 0; break;
    case kKeepTitleActive: s.keepTitleActive = value != 0; break;
    case kAlwaysOnTop:
      s.alwaysOnTop = value != 0;
      SetWindowPos(window, s.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    default: break;  // the remaining properties take effect when the window is built
  }
  return false;
}

uint32_t GetWindowProperty(HWND window, int32_t index) {
  WindowObject* object = ObjectOf(window);
  if (!object) return 0;
  const WindowSettings& s = object->settings;
  switch (index) {
    case kStartPosition:  // the live state, not the stored choice
      return IsIconic(window) ? 2 : IsZoomed(window) ? 3 : 0;
    case kBorderStyle: return s.borderStyle;
    case kBackColor: return s.backColor;
    case kBackPicture:
      object->readBlock = BufferOfBytes(s.backPicture);
      return ValueOf(object->readBlock.data());
    case kBackMusic:
      object->readBlock = BufferOfBytes(s.backMusic);
      return ValueOf(object->readBlock.data());
    case kHelpFile: return ValueOf(s.helpFile.c_str());
    case kPictureMode: return s.pictureMode;
    case kMusicRepeat: return s.musicRepeat;
    case kControlBox: return s.controlBox;
    case kMaxButton: return s.maxButton;
    case kMinButton: return s.minButton;
    case kMovable: return s.movable;
    case kEnterMovesFocus: return s.enterMovesFocus;
    case kEscCloses: return s.escCloses;
    case kF1OpensHelp: return s.f1OpensHelp;
    case kHelpContext: return s.helpContext;
    case kShowInTaskbar: return s.showInTaskbar;
    case kDragAnywhere: return s.dragAnywhere;
    case kShape: return s.shape;
    case kAlwaysOnTop: return s.alwaysOnTop;
    case kKeepTitleActive: return s.keepTitleActive;
    default: return 0;
  }
}

std::vector<uint8_t> SaveWindowSettings(HWND window) {
  WindowObject* object = ObjectOf(window);
  return object ? EncodeWindowSettings(object->settings) : std::vector<uint8_t>{};
}

// ---- focus and Tab order

struct TabStop {
  HWND control;
  uint32_t tabOrder;
  uint32_t entry;
};

// Visible, enabled controls with a tab stop, by tab order; equal orders in
// creation order (the builder creates the last entry first).
std::vector<TabStop> TabStops(const RegistryEntry& entry) {
  std::vector<TabStop> stops;
  const ControlTable& table = entry.working.table;
  for (uint32_t i = 1; i < table.Count() && i < entry.objects.size(); ++i) {
    HWND control = entry.objects[i];
    if (!control || table.IsMenuItem(i) || !IsWindowVisible(control) || !IsWindowEnabled(control)) continue;
    if (!(GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP)) continue;
    auto record = DecodeControlRecord(table.Record(i));
    if (record) stops.push_back({control, record->tabOrder, i});
  }
  std::stable_sort(stops.begin(), stops.end(), [](const TabStop& a, const TabStop& b) {
    return a.tabOrder != b.tabOrder ? a.tabOrder < b.tabOrder : a.entry > b.entry;
  });
  return stops;
}

void MoveFocus(const RegistryEntry& entry, bool backward) {
  auto stops = TabStops(entry);
  if (stops.empty()) return;
  HWND focus = GetFocus();
  size_t at = stops.size();
  for (size_t i = 0; i < stops.size(); ++i)
    if (stops[i].control == focus || IsChild(stops[i].control, focus)) at = i;
  size_t next = at == stops.size() ? (backward ? stops.size() - 1 : 0)
                                   : (backward ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size());
  SetFocus(stops[next].control);
}

void RestoreFocus(HWND window, WindowObject& object) {
  if (object.lastFocus && IsWindow(object.lastFocus) && IsChild(window, object.lastFocus)) {
    SetFocus(object.lastFocus);
    return;
  }
  if (RegistryEntry* entry = EntryOf(object)) {
    auto stops = TabStops(*entry);
    if (!stops.empty()) SetFocus(stops.front().control);
  }
}

bool IsDefaultButton(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "Button") == 0 && (GetWindowLongA(control, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void ClickButton(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

void PressEnter(const RegistryEntry& entry, const WindowObject& object) {
  HWND focus = GetFocus();
  if (focus && IsDefaultButton(focus)) return ClickButton(focus);
  if (object.settings.enterMovesFocus) return MoveFocus(entry, false);
  for (uint32_t i = 1; i < entry.objects.size(); ++i) {
    HWND control = entry.objects[i];
    if (control && IsWindowEnabled(control) && IsDefaultButton(control)) return ClickButton(control);
  }
}

// ---- Alt mnemonics

// Mnemonics are matched against the character the key typed, as the
// system's dialogs match theirs: one key types different characters on
// different keyboard layouts. A character no control marks goes on to the
// system, which offers it to the menu bar.
std::optional<char> AltCharacter(const MSG& message) {
  const WPARAM c = message.wParam;
  const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  // Bit 29: Alt is down. Keys typed while no window has the focus come as
  // system characters too, without it.
  if (!letterOrDigit || !(message.lParam & (1 << 29))) return std::nullopt;
  return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

std::string CaptionOf(HWND control) {
  std::string caption(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  caption.resize(static_cast<size_t>(GetWindowTextA(control, caption.data(), static_cast<int>(caption.size()))));
  return caption;
}

// The first visible, enabled button, label or group box in table order whose
// caption marks the key's character.
std::optional<uint32_t> MnemonicOwner(const RegistryEntry& entry, char key) {
  const ControlTable& table = entry.working.table;
  for (uint32_t i = 1; i < table.Count() && i < entry.objects.size(); ++i) {
    const uint32_t kind = table.KindCode(i);
    if (kind != kKindButton && kind != kKindLabel && kind != kKindGroupBox) continue;
    HWND control = entry.objects[i];
    if (control && IsWindowVisible(control) && IsWindowEnabled(control) && MnemonicOf(CaptionOf(control)) == key)
      return i;
  }
  return std::nullopt;
}

// The tab stop that follows the entry in Tab order, wrapping around; the
// entry itself need not be a tab stop.
void FocusAfter(const RegistryEntry& entry, uint32_t index) {
  auto stops = TabStops(entry);
  auto record = DecodeControlRecord(entry.working.table.Record(index));
  if (stops.empty() || !record) return;
  const uint32_t order = record->tabOrder;
  auto next = std::find_if(stops.begin(), stops.end(), [&](const TabStop& stop) {
    return stop.tabOrder > order || (stop.tabOrder == order && stop.entry < index);
  });
  SetFocus(next != stops.end() ? next->control : stops.front().control);
}

void FocusFirstInside(const RegistryEntry& entry, HWND box) {
  for (const TabStop& stop : TabStops(entry)) {
    if (IsChild(box, stop.control)) {
      SetFocus(stop.control);
      return;
    }
  }
}

// A button is pressed; a label hands the focus on to what follows it, a
// group box to the first control inside it.
bool PressMnemonic(const RegistryEntry& entry, const MSG& message) {
  const auto character = AltCharacter(message);
  if (!character) return false;
  auto index = MnemonicOwner(entry, *character);
  if (!index) return false;
  HWND control = entry.objects[*index];
  switch (entry.working.table.KindCode(*index)) {
    case kKindButton: ClickButton(control); break;
    case kKindLabel: FocusAfter(entry, *index); break;
    default: FocusFirstInside(entry, control); break;
  }
  return true;
}

void OpenWindowHelp(HWND window, WindowObject& object) {
  const std::string file = HelpFilePath(object.settings.helpFile);
  if (OpenHelp(window, file, object.settings.helpContext)) object.openedHelp = file;
}

// ---- message handlers

void OnCommand(HWND window, WindowObject& object, WPARAM wParam, LPARAM lParam) {
  HWND child = reinterpret_cast<HWND>(lParam);
  if (child) {
    SendMessageA(child, kReflectedCommand, wParam, lParam);
    return;
  }
  RegistryEntry* entry = EntryOf(object);
  if (!entry) return;
  if (auto index = MenuEntryForCommand(entry->working.table, LOWORD(wParam)))
    RaiseItemEvent(object, entry->working.table.Identifier(*index), 0);
  (void)window;
}

LRESULT OnColour(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT brush = SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedColour, wParam, message);
  return brush ? brush : reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void OnClose(HWND window, WindowObject& object) {
  EventRecord query;
  RaiseWindowEvent(object, kEventCloseQuery, &query);
  if (query.answered && query.answer == 0) return;
  if (RegistryEntry* entry = EntryOf(object)) ReenableDisabledWindows(*entry);
  DestroyWindow(window);
}

LRESULT OnQueryEndSession(WindowObject& object) {
  EventRecord query;
  RaiseWindowEvent(object, kEventCloseQuery, &query);
  return query.answered && query.answer == 0 ? FALSE : TRUE;
}

void OnActivate(HWND window, WindowObject& object, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) object.lastFocus = focus;
    RaiseWindowEvent(object, kEventDeactivated);
    return;
  }
  RaiseWindowEvent(object, kEventActivated);
  if (!object.activatedBefore) {
    object.activatedBefore = true;
    RaiseWindowEvent(object, kEventFirstActivated);
  }
}

void FillBackColour(HDC dc, const RECT& area, uint32_t colour) {
  if (colour == kDefaultColour) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &area, brush.get());
}

// The back colour with the picture over it.
void PaintBackground(HDC dc, const RECT& client, const WindowObject& object) {
  FillBackColour(dc, client, object.settings.backColor);
  const auto placement = static_cast<Placement>(std::min<uint32_t>(object.settings.pictureMode, 3));
  DrawPlacedPicture(dc, client, object.picture, placement);
}

// With a picture the client area is put together off-screen first, so that
// a resize does not flash the colour.
void OnPaintBackground(HWND window, const WindowObject& object, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  if (object.picture.Empty() || client.right <= 0 || client.bottom <= 0) return PaintBackground(dc, client, object);
  MemoryDc memory(dc);
  GdiObject<HBITMAP> buffer(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory.get() || !buffer) return PaintBackground(dc, client, object);
  SelectGuard select(memory.get(), buffer.get());
  PaintBackground(memory.get(), client, object);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

// The sound and the help viewer end with the window.
void OnDestroy(HWND window, WindowObject& object) {
  RaiseWindowEvent(object, kEventDestroying);
  object.sound.Stop();
  if (!object.openedHelp.empty()) CloseHelp(window, object.openedHelp);
}

void OnNcDestroy(HWND window, WindowObject* object) {
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  const uint32_t windowId = object->identity.windowId;
  delete object;
  WindowGone(windowId);
}

bool OnEraseBackground(HWND window, const WindowObject& object, HDC dc) {
  OnPaintBackground(window, object, dc);
  return true;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  WindowObject* object = ObjectOf(window);
  if (!object) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND: OnCommand(window, *object, wParam, lParam); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return OnColour(message, wParam, lParam);
    case WM_ERASEBKGND: return OnEraseBackground(window, *object, reinterpret_cast<HDC>(wParam));
    case WM_PRINTCLIENT: OnPaintBackground(window, *object, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_CLOSE: OnClose(window, *object); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession(*object);
    case WM_ACTIVATE: OnActivate(window, *object, wParam); break;
    case WM_NCACTIVATE:
      if (object->settings.keepTitleActive) return DefWindowProcA(window, message, TRUE, lParam);
      break;
    case WM_SETFOCUS:
      RaiseWindowEvent(*object, kEventFocusGained);
      RestoreFocus(window, *object);
      return 0;
    case WM_KILLFOCUS: RaiseWindowEvent(*object, kEventFocusLost); break;
    case WM_MOVE:
      if (std::exchange(object->lastPosition, lParam) != lParam) RaiseWindowEvent(*object, kEventMoved);
      break;
    case WM_SIZE:
      if (std::exchange(object->lastSize, lParam) != lParam) RaiseWindowEvent(*object, kEventResized);
      break;
    case WM_SHOWWINDOW: RaiseWindowEvent(*object, wParam ? kEventShown : kEventHidden); break;
    case WM_DESTROY: OnDestroy(window, *object); break;
    case WM_NCDESTROY: OnNcDestroy(window, object); return DefWindowProcA(window, message, wParam, lParam);
    case WM_LBUTTONDOWN:
      if (object->settings.dragAnywhere) {
        ReleaseCapture();
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return 0;
      }
      break;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

constexpr KindEntryPoints kWindowKind{
    kKindWindow, "窗口", "window", kProperties, false, false, CreateWindowKind, SetWindowProperty, GetWindowProperty,
    SaveWindowSettings, nullptr,
};

// ---- keys

bool HandleKey(HWND root, WindowObject& object, RegistryEntry& entry, const MSG& message) {
  if (message.message == WM_SYSCHAR) return PressMnemonic(entry, message);
  if (message.message != WM_KEYDOWN) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
  switch (message.wParam) {
    case VK_TAB:
      if (control) return false;
      MoveFocus(entry, shift);
      return true;
    case VK_RETURN:
      PressEnter(entry, object);
      return true;
    case VK_ESCAPE:
      if (!object.settings.escCloses) return false;
      SendMessageA(root, WM_CLOSE, 0, 0);
      return true;
    case VK_F1:
      if (!object.settings.f1OpensHelp) return false;
      OpenWindowHelp(root, object);  // nothing when the file is missing
      return true;
    default:
      return false;
  }
}

}  // namespace

const KindEntryPoints& WindowKind() { return kWindowKind; }

HICON ProgramIcon(bool small) {
  const int size = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "DEFAULT_ICON", IMAGE_ICON, size, size, LR_SHARED));
}

bool TranslateWindowMessage(MSG& message) {
  const bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
  const bool mouse = message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST;
  if ((!key && !mouse) || !message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root || GetClassLongPtrA(root, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(WindowProc)) return false;
  WindowObject* object = ObjectOf(root);
  if (!object) return false;
  RegistryEntry* entry = EntryOf(*object);
  if (!entry) return false;
  if (key && entry->accelerators && TranslateAcceleratorA(root, entry->accelerators, &message)) return true;
  // A focused browser uses keys of its own (Tab between links, Backspace).
  if (TranslateForFocusedViewer(root, message)) return true;
  return key && HandleKey(root, *object, *entry, message);
}

}  // namespace vorrik
