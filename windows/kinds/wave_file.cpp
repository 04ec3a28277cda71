#include "windows/kinds/wave_file.h"

#include <cstring>

namespace vorrik {
namespace {

constexpr uint32_t kBasicFormatSize = 16;  // format tag to bits per sample

uint32_t ReadU32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; }
bool IsTag(const uint8_t* at, const char (&tag)[5]) { return std::memcmp(at, tag, 4) == 0; }

}  // namespace

bool IsPlayableWave(std::span<const uint8_t> block) {
  if (block.size() < 12 || !IsTag(block.data(), "RIFF") || !IsTag(block.data() + 8, "WAVE")) return false;
  const uint32_t riffSize = ReadU32(block.data() + 4);
  if (riffSize < 4 || riffSize > block.size() - 8) return false;
  // The player looks for the format chunk from the start and then for the
  // data chunk after it, so every chunk up to the data chunk must lie inside.
  const size_t end = size_t{8} + riffSize;
  bool format = false;
  for (size_t at = 12; at + 8 <= end;) {
    const uint8_t* chunk = block.data() + at;
    const uint32_t size = ReadU32(chunk + 4);
    if (size > end - at - 8) return false;
    if (IsTag(chunk, "fmt ")) format = size >= kBasicFormatSize;
    if (IsTag(chunk, "data")) return format;
    at += size_t{8} + size + (size & 1);  // chunks are padded to even sizes
  }
  return false;
}

}  // namespace vorrik
