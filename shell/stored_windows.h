// What the program carries: its window descriptions and handler routines.
#pragma once
#include <optional>
#include <span>

#include "shell/events.h"
#include "windows/description.h"

namespace vorrik {

struct RegistryEntry;

// The carried set, read and with every handler reference checked against
// the program's handlers; none when it cannot be read.
std::optional<DescriptionSet> ReadStoredWindows();

// The program's handler routines, indexed by the stable handler key.
std::span<const HandlerRoutine> ProgramHandlers();

// Steps 3 to 13 of a load for the start-up window: no parent, not modal.
bool BuildStartupWindow(RegistryEntry& entry);

}  // namespace vorrik
