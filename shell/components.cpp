// Components built into the shell, told at start and at the end.
#include "shell/shell_state.h"
#include "windows/kinds/browser_site.h"

namespace vorrik {
namespace {

// Browser components still up when the program ends go while OLE is there.
constexpr BuiltinComponent kComponents[] = {{nullptr, BrowserSite::CloseAll}};

}  // namespace

std::span<const BuiltinComponent> BuiltinComponents() { return kComponents; }

}  // namespace vorrik
