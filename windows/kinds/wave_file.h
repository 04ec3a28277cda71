// Checks on a wave file held in memory before the system's player gets it.
// The player is handed only a pointer and trusts the sizes in the file, so
// a block whose chunks reach past its end would be read past its end.
// Portable.
#pragma once
#include <cstdint>
#include <span>

namespace vorrik {

// True for a RIFF "WAVE" file, inside the block by its own sizes, with a
// format chunk of at least the basic wave format and, after it, a data
// chunk; every chunk up to the data chunk lies inside the block.
bool IsPlayableWave(std::span<const uint8_t> block);

}  // namespace vorrik
