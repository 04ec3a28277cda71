// A stand-in for the skin engine in the Win32 tests, built once per calling
// convention (ATTACH_CONVENTION). It records what SkinH_AttachRes was given,
// and tells on stderr when it is loaded, called and unloaded, so that tests
// can see which copy the program bound and when.
#include <windows.h>

#include "tests/win/libraries/attach_record.h"

namespace {

vorrik::test::AttachRecord g_record;

void WriteToStderr(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, lstrlenA(text), &written, nullptr);
}

void Announce(const char* what, HINSTANCE self) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  WriteToStderr("<");
  WriteToStderr(what);
  WriteToStderr(" ");
  WriteToStderr(path);
  WriteToStderr(">");
}

}  // namespace

extern "C" __declspec(dllexport) int32_t ATTACH_CONVENTION SkinH_AttachRes(const uint8_t* skin, uint32_t size,
                                                                           const char* text, uint32_t fourth,
                                                                           uint32_t fifth, uint32_t sixth) {
  vorrik::test::AttachRecord& r = g_record;
  ++r.calls;
  r.skin = skin;
  r.size = size;
  for (uint32_t i = 0; i < sizeof r.head; ++i) r.head[i] = skin && i < size ? skin[i] : 0;
  r.digest = skin ? vorrik::test::Digest(skin, size) : 0;
  r.text = text;
  r.textWasEmpty = text && *text == '\0';
  r.fourth = fourth;
  r.fifth = fifth;
  r.sixth = sixth;
  char line[32];
  wsprintfA(line, "<attach %u>", size);
  WriteToStderr(line);
  return vorrik::test::kRecorderResult;
}

extern "C" __declspec(dllexport) const vorrik::test::AttachRecord* __cdecl LastAttach() { return &g_record; }

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Announce("load", self);
  if (reason == DLL_PROCESS_DETACH) Announce("unload", self);
  return TRUE;
}
