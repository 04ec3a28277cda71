// Writing the skin engine's file next to the program when it is missing, and
// the file services that does it with. Failures here are silent: a missing
// engine shows up when its command is bound.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "shell/blocks.h"

namespace vorrik {

// The engine's file name as joined to the run directory.
constexpr char kSkinEngineFileName[] = "\\SkinH_EL.dll";

// A new text holding the run directory; null when it is empty.
Text RunDirectory();

// True when a directory search finds an entry for the path (a directory counts).
bool FileExists(ConstText path);

// Creates or truncates the file, unshared, and writes the data of each buffer
// in order. False on an empty path or any failure, with what was written left.
bool WriteBytesToFile(ConstText path, std::initializer_list<ConstByteBuffer> buffers);

// The file's attributes become flags & 0x27 (read-only, hidden, system,
// archive), replacing the ones it had. True when the system accepted it.
bool SetFileAttributeFlags(ConstText path, uint32_t flags);

// Writes the engine's file, hidden, unless the run directory already holds
// an entry of its name; never replaces anything.
void DeploySkinEngine();

}  // namespace vorrik
