// One run of the real program in a fresh directory, ended on teardown.
#pragma once
#include <string>

#include "tests/e2e/probe.h"

namespace e2e {

class ProgramRun {
 public:
  ProgramRun();  // copies vorrik.exe into a fresh temporary directory
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool Start();
  const std::string& Directory() const { return directory_; }
  const std::string& Exe() const { return exe_; }
  probe::Process& Process() { return process_; }

  HWND WaitForWindow(const char* title, const char* className, DWORD timeoutMs = 20000);
  // Exit code as a signed value; STILL_ACTIVE when the wait timed out.
  long WaitForExit(DWORD timeoutMs = 20000);

 private:
  std::string directory_, exe_;
  probe::Process process_;
};

// The text of a system message box and its OK button.
std::string MessageBoxText(HWND box);
HWND MessageBoxOk(HWND box);

}  // namespace e2e
