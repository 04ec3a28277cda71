// Start of the process and the end-of-program sequence.
#include <objbase.h>
#include <windows.h>

#include <memory>

#include "shell/run_directory.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/stored_windows.h"
#include "shell/window_registry.h"
#include "skin/library_commands.h"

namespace vorrik {
namespace {

EndStepObserver g_endObserver = nullptr;
std::unique_ptr<WindowRegistry> g_registry;

void EndStep(const char* step) {
  if (g_endObserver) g_endObserver(step);
}

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

void RecordRunDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  size_t cut = FindLastSeparator(path, IsSystemLeadByte);
  Shell().runDirectory = RunDirectoryOf(path, IsSystemLeadByte);
  Shell().executableName = cut == std::string::npos ? path : path + cut + 1;
  if (!Shell().runDirectory.empty()) {
    // "D:" alone names the drive's current directory; the root is meant.
    std::string directory = Shell().runDirectory;
    if (directory.size() == 2 && directory[1] == ':') directory += '\\';
    SetCurrentDirectoryA(directory.c_str());
  }
}

void LoadDescriptionSet() {
  auto set = ReadStoredWindows();
  if (!set) ReportRuntimeError(0, "载入窗口模板数据段出错!");
  g_registry = std::make_unique<WindowRegistry>(std::move(*set));
  Shell().registry = g_registry.get();
  Shell().handlers = ProgramHandlers();
}

}  // namespace

ShellState& Shell() {
  static ShellState state;
  return state;
}

void SetEndStepObserver(EndStepObserver observer) { g_endObserver = observer; }

EventSource CurrentEventSource() { return {Shell().sourceWindow, Shell().sourceItem}; }

void InitialiseShell() {
  ShellState& shell = Shell();
  shell.heap = GetProcessHeap();
  shell.oleStarted = SUCCEEDED(OleInitialize(nullptr));
  RecordRunDirectory();
  shell.toolWindow = CreateShellToolWindow(GetModuleHandleA(nullptr));
  shell.uiThread = GetCurrentThreadId();
  CreateLibraryCommandSlots(LibraryCommandTable());
  for (const auto& component : BuiltinComponents())
    if (component.initialise) component.initialise();
  LoadDescriptionSet();
}

void RegisterExitRoutine(void (*routine)()) { Shell().exitRoutine = routine; }

void LoadStartupWindow(uint32_t windowId) {
  RegistryEntry* entry = Shell().registry ? Shell().registry->Find(windowId) : nullptr;
  if (!entry || !BuildStartupWindow(*entry)) ReportRuntimeError(0, "载入启动窗口失败");
}

void EndProgram(int exitCode) {
  ShellState& shell = Shell();
  ++shell.holdCount;
  shell.ending = true;
  EndStep("hold");
  shell.idleWork = nullptr;
  EndStep("idle");
  shell.registry = nullptr;
  g_registry.reset();
  EndStep("registry");
  if (auto routine = shell.exitRoutine) {
    shell.exitRoutine = nullptr;
    routine();
  }
  EndStep("exit-routine");
  for (const auto& component : BuiltinComponents())
    if (component.programEnding) component.programEnding();
  EndStep("components");
  ReleaseBoundLibraries(g_endObserver);
  EndStep("libraries");
  if (shell.toolWindow) DestroyWindow(shell.toolWindow);
  shell.toolWindow = nullptr;
  EndStep("shell-objects");
  if (shell.oleStarted) OleUninitialize();
  shell.oleStarted = false;
  EndStep("ole");
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace vorrik
