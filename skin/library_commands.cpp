#include "skin/library_commands.h"

#include <vector>

namespace vorrik {
namespace {

constexpr LibraryCommand kCommands[] = {
    {"SkinH_EL.dll", "SkinH_AttachRes"},
};

std::vector<LibraryCommandSlot> g_slots;

}  // namespace

std::span<const LibraryCommand> LibraryCommandTable() { return kCommands; }

void CreateLibraryCommandSlots(std::span<const LibraryCommand> table) {
  g_slots.clear();
  for (const auto& command : table) g_slots.push_back({command.library, command.exportName});
}

std::span<LibraryCommandSlot> LibraryCommandSlots() { return g_slots; }

void ReleaseBoundLibraries(void (*observer)(const char* library)) {
  for (auto& slot : g_slots) {
    if (!slot.module) continue;
    FreeLibrary(slot.module);
    if (observer) observer(slot.library.c_str());
    slot.module = nullptr;
    slot.address = nullptr;
  }
}

}  // namespace vorrik
