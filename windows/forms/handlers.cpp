// The program's handler routines, indexed by their stable keys.
#include "shell/stored_windows.h"
#include "windows/forms/form_handlers.h"
#include "windows/forms/handler_names.h"

namespace vorrik {
namespace {

constexpr HandlerRoutine kRoutines[] = {
    LauncherCreated,  OpenGameClicked,    CloseLauncherClicked,  ClockTick,
    ReloadGameSelected, ClearBlankSelected, ContactAuthorSelected,
};
static_assert(std::size(kRoutines) == kHandlerCount, "one routine per handler key, in key order");

}  // namespace

std::span<const HandlerRoutine> ProgramHandlers() { return kRoutines; }

}  // namespace vorrik
