// A window's help file, opened by F1 through the system's help viewer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace vorrik {

// The viewer's entry point: owner window, file, HELP_ command, its data.
using HelpRoutine = BOOL(WINAPI*)(HWND window, LPCSTR file, UINT command, ULONG_PTR data);

// The file a window's help opens: its own name, or when that is empty the
// program's path with the extension "hlp".
std::string HelpFilePath(const std::string& helpFile);

// Opens the file at the topic, or at its contents for topic 0. A file that
// does not exist opens nothing. True when the viewer was asked to open it.
bool OpenHelp(HWND window, const std::string& file, uint32_t topic);
// Tells the viewer that the window no longer needs the file.
void CloseHelp(HWND window, const std::string& file);

// Replaces the system's help viewer while a test runs.
class ScopedHelpViewer {
 public:
  explicit ScopedHelpViewer(HelpRoutine viewer);
  ~ScopedHelpViewer();
  ScopedHelpViewer(const ScopedHelpViewer&) = delete;
  ScopedHelpViewer& operator=(const ScopedHelpViewer&) = delete;

 private:
  HelpRoutine previous_;
};

}  // namespace vorrik
