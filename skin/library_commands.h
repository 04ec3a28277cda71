// Declared library commands: bound at their first call, released at the end.
#pragma once
#include <windows.h>

#include <span>
#include <string>

namespace vorrik {

struct LibraryCommand {
  const char* library;
  const char* exportName;
};

// Command 0: the skin engine's attach call.
std::span<const LibraryCommand> LibraryCommandTable();

struct LibraryCommandSlot {
  std::string library, exportName;
  FARPROC address = nullptr;
  HMODULE module = nullptr;
};

// One slot per declared command, unbound.
void CreateLibraryCommandSlots(std::span<const LibraryCommand> table);
std::span<LibraryCommandSlot> LibraryCommandSlots();

// Frees the library of every bound command, in table order; the observer,
// when given, hears each library's name as it goes.
void ReleaseBoundLibraries(void (*observer)(const char* library) = nullptr);

}  // namespace vorrik
