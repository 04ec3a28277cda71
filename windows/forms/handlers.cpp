// The program's handler routines, indexed by their stable keys.
#include "shell/stored_windows.h"
#include "windows/forms/handler_names.h"

namespace vorrik {
namespace {

// A key whose routine is not written yet has none: its events reach no handler.
constexpr HandlerRoutine kRoutines[kHandlerCount] = {};

}  // namespace

std::span<const HandlerRoutine> ProgramHandlers() { return kRoutines; }

}  // namespace vorrik
