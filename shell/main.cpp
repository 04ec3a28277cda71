// The program's entry routine.
#include <windows.h>

#include "shell/shell.h"
#include "shell/shell_state.h"

namespace vorrik {
namespace {

constexpr uint32_t kLauncherWindow = 0x52010001;

// The program's own initialisation, exit and start-up routines have nothing to do.
void ProgramInitialise() {}
void ProgramExit() {}
int ProgramStartup() { return 0; }

int EntryRoutine() {
  InitialiseShell();
  ProgramInitialise();
  RegisterExitRoutine(ProgramExit);
  ProgramStartup();
  LoadStartupWindow(kLauncherWindow);
  RunMessageLoop();
  return 0;
}

}  // namespace

}  // namespace vorrik

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vorrik::EntryRoutine();
  vorrik::EndProgram(vorrik::QuitCode());
}
