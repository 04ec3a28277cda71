#include "skinengine/program_imports.h"

#include "skinengine/frame.h"
#include "skinengine/look.h"
#include "skinengine/skinned_windows.h"

namespace vorrik::engine {
namespace {

constexpr uint32_t kReadableContrast = 450;  // 4.5 : 1, times 100

struct SystemColour {
  int index;
  skin::Colour entry;
};
constexpr SystemColour kSkinnedColours[] = {
    {COLOR_BTNFACE, skin::kFace},       {COLOR_BTNTEXT, skin::kText},
    {COLOR_BTNHIGHLIGHT, skin::kEdgeLight}, {COLOR_BTNSHADOW, skin::kEdgeShadow},
    {COLOR_GRAYTEXT, skin::kButtonTextDisabled},
};

using GetSysColorFunction = DWORD(WINAPI*)(int);
using GetSysColorBrushFunction = HBRUSH(WINAPI*)(int);
using SetTextColorFunction = COLORREF(WINAPI*)(HDC, COLORREF);
using DefWindowProcFunction = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

GetSysColorFunction g_getSysColor = GetSysColor;
GetSysColorBrushFunction g_getSysColorBrush = GetSysColorBrush;
SetTextColorFunction g_setTextColor = SetTextColor;
DefWindowProcFunction g_defWindowProc = DefWindowProcA;

const SystemColour* Skinned(int index) {
  if (!CurrentLook().ready()) return nullptr;
  for (const SystemColour& c : kSkinnedColours)
    if (c.index == index) return &c;
  return nullptr;
}

DWORD WINAPI SkinnedGetSysColor(int index) {
  const SystemColour* c = Skinned(index);
  return c ? CurrentLook().colour(c->entry) : g_getSysColor(index);
}

HBRUSH WINAPI SkinnedGetSysColorBrush(int index) {
  const Look& look = CurrentLook();
  if (const SystemColour* c = Skinned(index)) switch (c->entry) {
      case skin::kFace: return look.faceBrush();
      case skin::kText: return look.textBrush();
      case skin::kEdgeLight: return look.edgeLightBrush();
      case skin::kEdgeShadow: return look.edgeShadowBrush();
      default: break;
    }
  return g_getSysColorBrush(index);
}

COLORREF WINAPI SkinnedSetTextColor(HDC dc, COLORREF colour) { return g_setTextColor(dc, ReadableOnFace(colour)); }

// A class background of the button face is the skin's face.
bool ErasedWithFace(HWND window, HDC dc) {
  const Look& look = CurrentLook();
  const auto brush = static_cast<uintptr_t>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
  if (!look.ready() || !dc ||
      (brush != COLOR_BTNFACE + 1 && brush != reinterpret_cast<uintptr_t>(g_getSysColorBrush(COLOR_BTNFACE))))
    return false;
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, look.faceBrush());
  return true;
}

// A program that keeps its title lit answers WM_NCACTIVATE with "active"
// whatever it is told; the frame follows what reaches the system.
LRESULT WINAPI SkinnedDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND && ErasedWithFace(window, reinterpret_cast<HDC>(wParam))) return 1;
  if (message == WM_NCACTIVATE)
    if (FrameState* state = FrameStateOf(window)) {
      state->active = wParam != 0;
      lParam = -1;  // the frame is ours to paint
    }
  return g_defWindowProc(window, message, wParam, lParam);
}

struct Redirect {
  const char* library;
  const char* name;
  void* replacement;
  void** system;
};
Redirect g_redirects[] = {
    {"user32.dll", "GetSysColor", reinterpret_cast<void*>(SkinnedGetSysColor), reinterpret_cast<void**>(&g_getSysColor)},
    {"user32.dll", "GetSysColorBrush", reinterpret_cast<void*>(SkinnedGetSysColorBrush),
     reinterpret_cast<void**>(&g_getSysColorBrush)},
    {"user32.dll", "DefWindowProcA", reinterpret_cast<void*>(SkinnedDefWindowProc),
     reinterpret_cast<void**>(&g_defWindowProc)},
    {"gdi32.dll", "SetTextColor", reinterpret_cast<void*>(SkinnedSetTextColor), reinterpret_cast<void**>(&g_setTextColor)},
};

bool WriteEntry(void** entry, void* value) {
  DWORD previous;
  if (!VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &previous)) return false;
  *entry = value;
  VirtualProtect(entry, sizeof *entry, previous, &previous);
  return true;
}

// Calls visit(entry, redirect) for every import of the program that one of
// the redirects names.
template <typename Visit>
void ForEachRedirectedImport(Visit visit) {
  auto base = reinterpret_cast<uint8_t*>(GetModuleHandleA(nullptr));
  auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!directory.VirtualAddress) return;
  for (auto d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); d->Name; ++d) {
    if (!d->OriginalFirstThunk) continue;  // names gone: nothing to match safely
    const char* library = reinterpret_cast<const char*>(base + d->Name);
    auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto entries = reinterpret_cast<void**>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++entries) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<const char*>(
          reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
      for (Redirect& r : g_redirects)
        if (lstrcmpiA(library, r.library) == 0 && lstrcmpA(name, r.name) == 0) visit(entries, r);
    }
  }
}

}  // namespace

bool RedirectProgramImports() {
  bool all = true;
  ForEachRedirectedImport([&](void** entry, Redirect& r) {
    if (*entry == r.replacement) return;
    *r.system = *entry;
    all = WriteEntry(entry, r.replacement) && all;
  });
  return all;
}

void RestoreProgramImports() {
  ForEachRedirectedImport([](void** entry, Redirect& r) {
    if (*entry == r.replacement) WriteEntry(entry, *r.system);
  });
}

HBRUSH SystemColourBrush(int index) { return g_getSysColorBrush(index); }

COLORREF ReadableOnFace(COLORREF colour) {
  const Look& look = CurrentLook();
  if (!look.ready() || (colour & 0xFF000000)) return colour;  // palette and special values pass
  const Colour face = look.colour(skin::kFace), text = look.colour(skin::kText);
  for (uint32_t parts = 0; parts < 256 && ContrastTimes100(colour, face) < kReadableContrast; parts += 16)
    colour = Mix(colour, text, 64);
  return ContrastTimes100(colour, face) < kReadableContrast ? text : colour;
}

}  // namespace vorrik::engine
