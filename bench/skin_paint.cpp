// What drawing in a skin costs: the launcher's frame and its push buttons
// and group boxes repainted 1,000 times, first plain, then with our engine
// attached in skin 8, in turns; printed with the ratio of skinned to plain.
//   scripts/wine-run build/target/bench_skin_paint.exe
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "skin/skin_table.h"
#include "skinengine/skin_engine.h"

namespace {

constexpr int kRounds = 1000;
constexpr int kTurns = 3;

struct Control {
  const char* text;
  DWORD style;
  RECT place;
};
// The launcher's frame and controls, at its places; its group boxes keep out
// of their siblings, as the program makes them.
constexpr Control kControls[] = {
    {"登陆界面", BS_GROUPBOX | WS_CLIPSIBLINGS, {8, 0, 352, 160}},       {"广告位①", BS_GROUPBOX | WS_CLIPSIBLINGS, {360, 0, 584, 160}},
    {"黄金广告位①", BS_GROUPBOX | WS_CLIPSIBLINGS, {8, 168, 352, 312}},  {"广告位②", BS_GROUPBOX | WS_CLIPSIBLINGS, {360, 168, 584, 312}},
    {"打开桌面版", BS_DEFPUSHBUTTON, {80, 24, 248, 64}}, {"关闭×", BS_PUSHBUTTON, {80, 88, 248, 128}},
};

// The program's button and group-box kinds watch their controls through the
// system's subclass helper; so do these, or the plain side would skip a
// cost the launcher pays with and without a skin.
LRESULT CALLBACK PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  return DefSubclassProc(control, message, wParam, lParam);
}

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
    SetWindowSubclass(child, PassOn, 1, 0);
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

struct Cost {
  double frame = 0, controls = 0;
  double total() const { return frame + controls; }
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// Milliseconds for the frame, and for every control, repainted some times.
Cost PaintRounds(HWND window, int rounds = kRounds) {
  Pump();
  Cost cost;
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < rounds; ++i) SendMessageA(window, WM_NCPAINT, 1, 0);
  GdiFlush();
  QueryPerformanceCounter(&end);
  cost.frame = Milliseconds(start, end);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < rounds; ++i) EnumChildWindows(window, RepaintChild, 0);
  GdiFlush();
  QueryPerformanceCounter(&end);
  cost.controls = Milliseconds(start, end);
  return cost;
}

std::string EngineFile() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  return file.substr(0, file.find_last_of('\\') + 1) + "skinengine\\SkinH_EL.dll";
}

// Loads the engine and attaches skin 8; null when either fails.
HMODULE AttachSkin8() {
  HMODULE engine = LoadLibraryA(EngineFile().c_str());
  auto attach = engine ? reinterpret_cast<vorrik::engine::AttachFunction>(
                             reinterpret_cast<void (*)()>(GetProcAddress(engine, "SkinH_AttachRes")))
                       : nullptr;
  const std::span<const uint8_t> stored = vorrik::BuiltinSkinData(8);
  std::vector<uint8_t> skin(stored.begin(), stored.end());  // a writable copy, as the program hands over
  if (attach && attach(skin.data(), uint32_t(skin.size()), "", 0, 0, 0) == vorrik::engine::kAttached) return engine;
  if (engine) FreeLibrary(engine);
  return nullptr;
}

// The turn with the median total.
Cost Median(std::vector<Cost> costs) {
  std::sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.total() < b.total(); });
  return costs[costs.size() / 2];
}

}  // namespace

int main() {
  HWND window = MakeLauncherLikeWindow();
  PaintRounds(window);  // warm up fonts and caches
  // Plain and skinned in turns, so that whatever else the machine does
  // weighs on both alike; the engine is loaded and unloaded each turn.
  std::vector<Cost> plain, skinned;
  for (int turn = 0; turn < kTurns; ++turn) {
    plain.push_back(PaintRounds(window));
    HMODULE engine = AttachSkin8();
    if (!engine) {
      std::printf("cannot load %s or attach skin 8\n", EngineFile().c_str());
      return 1;
    }
    PaintRounds(window, kRounds / 10);  // the skin's first paints make its canvas
    skinned.push_back(PaintRounds(window));
    FreeLibrary(engine);
  }
  const Cost p = Median(plain), s = Median(skinned);
  std::printf("launcher frame and its 6 controls, %d repaints each, median of %d turns (ms):\n", kRounds, kTurns);
  std::printf("            frame  controls     total\n");
  std::printf("  plain  %8.1f  %8.1f  %8.1f\n", p.frame, p.controls, p.total());
  std::printf("  skin 8 %8.1f  %8.1f  %8.1f\n", s.frame, s.controls, s.total());
  std::printf("  skinned / plain: frame %.2fx, controls %.2fx, together %.2fx (aim: under 2x)\n", s.frame / p.frame,
              s.controls / p.controls, s.total() / p.total());
  DestroyWindow(window);
  return 0;
}
