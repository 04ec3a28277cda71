// The probe as a console tool, for people and scripts:
//   probe list                 visible top-level windows: handle, rectangle, class, title
//   probe watch EXE SECONDS    starts EXE, reports each window it shows once it has
//                              painted, closes its windows after SECONDS without a new
//                              one, and reports its exit code
// Titles are printed as hex of their GBK bytes, so any shell can read them.
#include <cstdio>
#include <cstdlib>
#include <set>

#include "tests/e2e/probe.h"

namespace {

void PrintHex(const std::string& bytes) {
  for (unsigned char c : bytes) std::printf("%02x", c);
}

void PrintWindow(const char* tag, HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%s %p %ld %ld %ld %ld %s ", tag, static_cast<void*>(window), r.left, r.top, r.right - r.left,
              r.bottom - r.top, probe::ClassName(window).c_str());
  PrintHex(probe::WindowText(window));
  std::printf("\n");
  std::fflush(stdout);
}

int List() {
  for (HWND window : probe::TopLevelWindows(0)) PrintWindow("window", window);
  return 0;
}

int Watch(const char* exe, int quietSeconds) {
  probe::Process process = probe::Start(exe, "");
  if (!process.handle) {
    std::fprintf(stderr, "probe: cannot start %s (error %lu)\n", exe, GetLastError());
    return 2;
  }
  std::set<HWND> seen;
  DWORD lastNew = GetTickCount();
  while (probe::WaitForExit(process, 250) == STILL_ACTIVE) {
    for (HWND window : probe::TopLevelWindows(process.id)) {
      if (!seen.insert(window).second) continue;
      Sleep(1500);  // let it paint before anyone takes a picture
      PrintWindow("window", window);
      lastNew = GetTickCount();
    }
    if (GetTickCount() - lastNew > DWORD(quietSeconds) * 1000)
      for (HWND window : probe::TopLevelWindows(process.id)) PostMessageA(window, WM_CLOSE, 0, 0);
  }
  DWORD code = probe::WaitForExit(process, 0);
  std::printf("exit %ld\n", static_cast<long>(code));
  probe::Close(process);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "list") return List();
  if (argc >= 4 && std::string(argv[1]) == "watch") return Watch(argv[2], std::atoi(argv[3]));
  std::fprintf(stderr, "usage: probe list | probe watch EXE QUIET_SECONDS\n");
  return 2;
}
