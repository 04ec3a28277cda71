// The run-time error report: one box, then the end of the program.
#include <windows.h>

#include "shell/error_text.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace vorrik {
namespace {

void ShowSystemBox(const char* text, const char* caption, unsigned flags) {
  MessageBoxA(nullptr, text, caption, flags);
}

ErrorBoxPresenter g_presenter = ShowSystemBox;

// The report must work right after the heap refused a block, so the text is
// built on the stack; only a message too long for it asks the heap, and a
// refusal there shows the text cut short rather than nothing.
void ShowErrorBox(int32_t number, ConstText message) {
  char local[1024];
  size_t needed = ComposeErrorBoxText(number, message, local, sizeof local);
  char* text = local;
  if (needed >= sizeof local) {
    if (auto* big = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, needed + 1))) {
      ComposeErrorBoxText(number, message, big, needed + 1);
      text = big;
    }
  }
  g_presenter(text, "错误", MB_OK | MB_ICONHAND);
  if (text != local) HeapFree(GetProcessHeap(), 0, text);
}

}  // namespace

void SetErrorBoxPresenter(ErrorBoxPresenter presenter) { g_presenter = presenter ? presenter : ShowSystemBox; }

void ReportRuntimeError(int32_t number, ConstText message) {
  ++Shell().holdCount;  // for good: no handler runs from here on
  ShowErrorBox(number, message);
  Shell().exitRoutine = nullptr;
  EndProgram(kRuntimeErrorExitCode);
}

}  // namespace vorrik
