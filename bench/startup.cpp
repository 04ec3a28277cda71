// Start-up and footprint of vorrik.exe against a minimal Win32 program,
// measured side by side in one run: time from process creation to the first
// visible window, working set and private bytes once it shows, file size.
// Usage: bench_startup VORRIK_EXE MINIMAL_EXE [RUNS]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Sample {
  double milliseconds = 0;
  double workingSetMb = 0, privateMb = 0;
};

struct Search {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && IsWindowVisible(window)) search.found = true;
  return !search.found;
}

bool Sample1(const std::string& exe, const std::string& directory, Sample& out) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string command = "\"" + exe + "\"";
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                      &info))
    return false;
  Search search{info.dwProcessId, false};
  for (int i = 0; i < 20000 && !search.found; ++i) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(1);
  }
  QueryPerformanceCounter(&now);
  out.milliseconds = 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  Sleep(500);  // settled
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  out.workingSetMb = memory.WorkingSetSize / 1048576.0;
  // Wine leaves PrivateUsage at 0; the commit charge is the same figure on Windows.
  out.privateMb = (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1048576.0;
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return search.found;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? long(data.nFileSizeLow) : -1;
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/")); }

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Each program runs from a copy in a fresh folder, so that the skin engine
// it writes lands there and not beside the build's test programs.
std::string CopyToFreshFolder(const std::string& exe, const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "vorrik_bench_" + std::to_string(GetCurrentProcessId()) + "_" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  // Process numbers come round again: a folder of an earlier run may still
  // hold the engine that run wrote, which this run must write anew.
  const std::string engine = folder + "\\SkinH_EL.dll";
  SetFileAttributesA(engine.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(engine.c_str());
  std::string copy = folder + "\\" + name + ".exe";
  return CopyFileA(WindowsPath(exe).c_str(), copy.c_str(), FALSE) ? copy : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_startup VORRIK_EXE MINIMAL_EXE [RUNS]\n");
    return 2;
  }
  const std::string programs[2] = {CopyToFreshFolder(argv[1], "vorrik"), CopyToFreshFolder(argv[2], "minimal")};
  if (programs[0].empty() || programs[1].empty()) {
    std::fprintf(stderr, "bench_startup: cannot copy the programs\n");
    return 1;
  }
  const int runs = argc > 3 ? std::atoi(argv[3]) : 7;
  std::vector<double> time[2], workingSet[2], privateBytes[2];
  // Alternate the two so that both see the same machine; the first run of
  // each only warms the caches and is not counted.
  for (int run = 0; run <= runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      Sample sample;
      if (!Sample1(programs[p], DirectoryOf(programs[p]), sample)) {
        std::fprintf(stderr, "bench_startup: %s showed no window\n", programs[p].c_str());
        return 1;
      }
      if (run == 0) continue;
      time[p].push_back(sample.milliseconds);
      workingSet[p].push_back(sample.workingSetMb);
      privateBytes[p].push_back(sample.privateMb);
    }
  }
  const char* names[2] = {"vorrik", "minimal"};
  for (int p = 0; p < 2; ++p)
    std::printf("%-8s start-up %.1f ms  working set %.2f MB  private %.2f MB  file %ld bytes\n", names[p],
                Median(time[p]), Median(workingSet[p]), Median(privateBytes[p]), FileSize(programs[p]));
  std::printf("vorrik   skin engine written beside it: %ld bytes\n",
              FileSize(DirectoryOf(programs[0]) + "\\SkinH_EL.dll"));
  std::printf("ratio    start-up %.2fx  working set %.2fx  private %.2fx  (median of %d runs)\n",
              Median(time[0]) / Median(time[1]), Median(workingSet[0]) / Median(workingSet[1]),
              Median(privateBytes[0]) / Median(privateBytes[1]), runs);
  return 0;
}
