// A small UI probe: drives another process's windows from outside, as a
// person would, and starts programs and waits for their exit code.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace probe {

// Null class or title matches any. Only visible top-level windows of the
// given process (0: any) are considered.
HWND FindTopLevel(const char* title, const char* className, DWORD processId = 0);
HWND WaitForTopLevel(const char* title, const char* className, DWORD processId, DWORD timeoutMs);
std::vector<HWND> TopLevelWindows(DWORD processId);

std::string WindowText(HWND window);  // bytes as the window holds them (GBK)
std::string ClassName(HWND window);
std::vector<HWND> Children(HWND window);
HWND ChildByText(HWND parent, const std::string& text, const char* className = nullptr);

// Presses a button as a click would (BM_CLICK).
bool PressButton(HWND button);

// What the screen shows of a window, saved as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path);

// The control of a window that holds the keyboard focus.
HWND FocusOf(HWND window);

// Brings the window forward and types a key (with Alt for the system form),
// then waits until the program has taken it.
void PressKey(HWND window, WORD key);
void PressSystemKey(HWND window, WORD key);

struct Process {
  HANDLE handle = nullptr;
  DWORD id = 0;
};
Process Start(const std::string& exePath, const std::string& workingDirectory);
// Exit code, or STILL_ACTIVE when the wait timed out.
DWORD WaitForExit(const Process& process, DWORD timeoutMs);
void Kill(const Process& process);
void Close(Process& process);

// A fresh directory under the temporary folder; removed with its contents by RemoveTree.
std::string MakeTempDirectory(const char* prefix);
bool CopyFileTo(const std::string& from, const std::string& directory, std::string* copied);
void RemoveTree(const std::string& directory);

// Converts a Unix path (as the build writes them) into a path Wine maps.
std::string FromUnixPath(const std::string& path);

}  // namespace probe
