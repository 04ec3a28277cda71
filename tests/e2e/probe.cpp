#include "tests/e2e/probe.h"

#include <shellapi.h>

namespace probe {
namespace {

struct Search {
  const char* title;
  const char* className;
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window)) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search.processId && owner != search.processId) return TRUE;
  if (search.title && WindowText(window) != search.title) return TRUE;
  if (search.className && ClassName(window) != search.className) return TRUE;
  search.found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId) {
  Search search{nullptr, nullptr, processId, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindTopLevel(const char* title, const char* className, DWORD processId) {
  Search search{title, className, processId, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

HWND WaitForTopLevel(const char* title, const char* className, DWORD processId, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindTopLevel(title, className, processId)) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);
  }
}

std::string WindowText(HWND window) {
  // WM_GETTEXT reaches windows of other processes, unlike GetWindowText for some.
  LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<HWND> Children(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND ChildByText(HWND parent, const std::string& text, const char* className) {
  for (HWND child : Children(parent)) {
    if (className && ClassName(child) != className) continue;
    if (WindowText(child) == text) return child;
  }
  return nullptr;
}

bool PressButton(HWND button) {
  if (!button) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return true;
}

bool SaveScreenshot(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD rowBytes = (width * 3 + 3) & ~3u, imageBytes = rowBytes * height;
  BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageBytes), 0, 0,
                        DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
  info.bmiHeader.biSizeImage = imageBytes;
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool saved = out != INVALID_HANDLE_VALUE;
  DWORD written = 0;
  if (saved) {
    saved = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
            WriteFile(out, bits, imageBytes, &written, nullptr);
    CloseHandle(out);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

namespace {

void SendKeys(HWND window, std::initializer_list<WORD> keys) {
  SetForegroundWindow(window);
  Sleep(100);
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *--it;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(300);
}

}  // namespace

void PressKey(HWND window, WORD key) { SendKeys(window, {key}); }
void PressSystemKey(HWND window, WORD key) { SendKeys(window, {VK_MENU, key}); }

Process Start(const std::string& exePath, const std::string& workingDirectory) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + exePath + "\"";
  Process process;
  if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &info))
    return process;
  CloseHandle(info.hThread);
  process.handle = info.hProcess;
  process.id = info.dwProcessId;
  WaitForInputIdle(info.hProcess, 5000);
  return process;
}

DWORD WaitForExit(const Process& process, DWORD timeoutMs) {
  if (WaitForSingleObject(process.handle, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.handle, &code);
  return code;
}

void Kill(const Process& process) {
  if (process.handle && WaitForSingleObject(process.handle, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process.handle, 1);
    WaitForSingleObject(process.handle, 5000);
  }
}

void Close(Process& process) {
  if (process.handle) CloseHandle(process.handle);
  process = {};
}

std::string MakeTempDirectory(const char* prefix) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  for (unsigned attempt = 0;; ++attempt) {
    std::string path = std::string(base) + prefix + std::to_string(GetCurrentProcessId()) + "_" +
                       std::to_string(GetTickCount()) + "_" + std::to_string(attempt);
    if (CreateDirectoryA(path.c_str(), nullptr)) return path;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

bool CopyFileTo(const std::string& from, const std::string& directory, std::string* copied) {
  size_t slash = from.find_last_of("\\/");
  std::string target = directory + "\\" + (slash == std::string::npos ? from : from.substr(slash + 1));
  if (copied) *copied = target;
  return CopyFileA(from.c_str(), target.c_str(), FALSE) != FALSE;
}

void RemoveTree(const std::string& directory) {
  if (directory.empty()) return;
  std::string from = directory + std::string(2, '\0');  // double-NUL list
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&operation);
}

std::string FromUnixPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows;
}

}  // namespace probe
