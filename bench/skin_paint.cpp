// What drawing in a skin costs: the launcher's frame and its push buttons
// and group boxes repainted 1,000 times, first plain, then with our engine
// attached in skin 8, then plain again once it is unloaded; printed with the
// ratio of skinned to plain.
//   scripts/wine-run build/target/bench_skin_paint.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell/texts.h"
#include "skin/skin_table.h"
#include "skinengine/skin_engine.h"

namespace {

constexpr int kRounds = 1000;

struct Control {
  const char* text;
  DWORD style;
  RECT place;
};
// The launcher's frame and controls, at its places.
constexpr Control kControls[] = {
    {"登陆界面", BS_GROUPBOX, {8, 0, 352, 160}},       {"广告位①", BS_GROUPBOX, {360, 0, 584, 160}},
    {"黄金广告位①", BS_GROUPBOX, {8, 168, 352, 312}},  {"广告位②", BS_GROUPBOX, {360, 168, 584, 312}},
    {"打开桌面版", BS_DEFPUSHBUTTON, {80, 24, 248, 64}}, {"关闭×", BS_PUSHBUTTON, {80, 88, 248, 128}},
};

HWND MakeLauncherLikeWindow() {
  WNDCLASSA c{};
  c.lpfnWndProc = DefWindowProcA;
  c.hInstance = GetModuleHandleA(nullptr);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = "BenchSkinPaint";
  RegisterClassA(&c);
  HWND window = CreateWindowExA(0, c.lpszClassName, "Vorrik桌面版", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100,
                                600, 356, nullptr, nullptr, c.hInstance, nullptr);
  for (const Control& k : kControls) {
    HWND child = CreateWindowExA(0, "BUTTON", k.text, WS_CHILD | WS_VISIBLE | k.style, k.place.left, k.place.top,
                                 k.place.right - k.place.left, k.place.bottom - k.place.top, window, nullptr,
                                 c.hInstance, nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

BOOL CALLBACK RepaintChild(HWND child, LPARAM) {
  RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return TRUE;
}

// Milliseconds for the frame and every control repainted kRounds times.
double PaintRounds(HWND window) {
  Pump();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kRounds; ++i) {
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EnumChildWindows(window, RepaintChild, 0);
  }
  GdiFlush();
  QueryPerformanceCounter(&end);
  return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

std::string EngineFile() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  return file.substr(0, file.find_last_of('\\') + 1) + "skinengine\\SkinH_EL.dll";
}

}  // namespace

int main() {
  using namespace vorrik;
  HWND window = MakeLauncherLikeWindow();
  PaintRounds(window);  // warm up fonts and caches
  const double plain = PaintRounds(window);

  HMODULE engine = LoadLibraryA(EngineFile().c_str());
  auto attach = engine ? reinterpret_cast<engine::AttachFunction>(
                             reinterpret_cast<void (*)()>(GetProcAddress(engine, "SkinH_AttachRes")))
                       : nullptr;
  if (!attach) {
    std::printf("cannot load %s\n", EngineFile().c_str());
    return 1;
  }
  ConstByteBuffer stored = BuiltinSkin(8);
  std::vector<uint8_t> skin(stored + 8, stored + 8 + ByteLength(stored));
  if (attach(skin.data(), uint32_t(skin.size()), "", 0, 0, 0) != engine::kAttached) {
    std::printf("skin 8 refused\n");
    return 1;
  }
  PaintRounds(window);
  const double skinned = PaintRounds(window);
  FreeLibrary(engine);
  const double plainAgain = PaintRounds(window);

  std::printf("launcher frame + 6 controls, %d repaints each:\n", kRounds);
  std::printf("  plain:           %8.1f ms (%.3f ms a repaint)\n", plain, plain / kRounds);
  std::printf("  skin 8:          %8.1f ms (%.3f ms a repaint)\n", skinned, skinned / kRounds);
  std::printf("  plain, unloaded: %8.1f ms\n", plainAgain);
  const double baseline = (plain + plainAgain) / 2;
  std::printf("  skinned / plain: %.2fx (aim: under 2x)\n", skinned / baseline);
  DestroyWindow(window);
  return 0;
}
