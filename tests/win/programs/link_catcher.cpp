// Stands in for the program registered for a link scheme: writes what
// follows its own name on its command line to link_catcher.out beside it.
#include <windows.h>

int main() {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != ' ') ++line;
  }
  while (*line == ' ') ++line;

  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (length > 0 && path[length - 1] != '\\') --length;
  lstrcpyA(path + length, "link_catcher.out");
  // Written under another name first, so that a reader never sees half of it.
  char partial[MAX_PATH + 8];
  lstrcpyA(partial, path);
  lstrcatA(partial, ".part");
  HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, line, lstrlenA(line), &written, nullptr);
  CloseHandle(file);
  return MoveFileExA(partial, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
