#include "tests/e2e/e2e_support.h"

namespace e2e {

ProgramRun::ProgramRun() {
  directory_ = probe::MakeTempDirectory("vorrik_e2e_");
  probe::CopyFileTo(probe::FromUnixPath(VORRIK_EXE), directory_, &exe_);
}

ProgramRun::~ProgramRun() {
  probe::Kill(process_);
  probe::Close(process_);
  probe::RemoveTree(directory_);
}

bool ProgramRun::Start() {
  // Started from elsewhere: the program must not depend on its current directory.
  process_ = probe::Start(exe_, "C:\\");
  return process_.handle != nullptr;
}

HWND ProgramRun::WaitForWindow(const char* title, const char* className, DWORD timeoutMs) {
  return probe::WaitForTopLevel(title, className, process_.id, timeoutMs);
}

long ProgramRun::WaitForExit(DWORD timeoutMs) { return static_cast<long>(probe::WaitForExit(process_, timeoutMs)); }

std::string MessageBoxText(HWND box) {
  constexpr int kMessageBoxTextId = 0xFFFF;  // the static that holds a message box's text
  HWND text = GetDlgItem(box, kMessageBoxTextId);
  return text ? probe::WindowText(text) : std::string();
}

HWND MessageBoxOk(HWND box) { return GetDlgItem(box, IDOK); }

}  // namespace e2e
