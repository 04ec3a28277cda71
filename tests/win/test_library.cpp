// A small library for the Win32 tests: it tells on stderr when it is
// unloaded, so that tests can see which library was released and when.
#include <windows.h>

namespace {

void WriteToStderr(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, lstrlenA(text), &written, nullptr);
}

void ReportDetach(HINSTANCE self) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  WriteToStderr("<detach ");
  WriteToStderr(name);
  WriteToStderr(">");
}

}  // namespace

extern "C" __declspec(dllexport) int __stdcall TestLibraryAnswer(int value) { return value + 1; }

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) ReportDetach(self);
  return TRUE;
}
