// Declared library commands: bound at their first call, released at the end.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace vorrik {

struct LibraryCommand {
  const char* library;
  const char* exportName;
};

// Command 0: the skin engine's attach call.
constexpr int32_t kSkinAttachCommand = 0;
std::span<const LibraryCommand> LibraryCommandTable();

struct LibraryCommandSlot {
  std::string library, exportName;
  FARPROC address = nullptr;
  HMODULE module = nullptr;
};

// One slot per declared command, unbound.
void CreateLibraryCommandSlots(std::span<const LibraryCommand> table);
std::span<LibraryCommandSlot> LibraryCommandSlots();

// The address of command n's export, bound at its first call: the library
// is loaded from the run directory, else by the system's search, and the
// export is looked up only in the one that loaded. A failure ends the
// program with the binding message, after the library is released.
FARPROC ResolveLibraryCommand(int32_t n);
// The same for one slot, against the given run directory.
FARPROC ResolveLibraryCommand(LibraryCommandSlot& slot, const std::string& runDirectory);

// Resolves command n and calls it with 32-bit arguments; a stack left
// unbalanced by the call is run-time error 6. Returns the command's result.
uint32_t CallLibraryCommand(int32_t n, std::initializer_list<uint32_t> args);

// Frees the library of every bound command, in table order; the observer,
// when given, hears each library's name as it goes.
void ReleaseBoundLibraries(void (*observer)(const char* library) = nullptr);

}  // namespace vorrik
