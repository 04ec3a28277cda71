// Components built into the shell, told at start and at the end.
#include "shell/shell_state.h"

namespace vorrik {

// None of the program's kinds needs to be told yet.
std::span<const BuiltinComponent> BuiltinComponents() { return {}; }

}  // namespace vorrik
