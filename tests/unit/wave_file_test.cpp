#include "windows/kinds/wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vorrik {
namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

Bytes Chunk(const char* tag, uint32_t declared, size_t actual) {
  Bytes out(tag, tag + 4);
  PutU32(out, declared);
  out.resize(out.size() + actual, 0x11);
  return out;
}
Bytes Chunk(const char* tag, uint32_t size) { return Chunk(tag, size, size + (size & 1)); }

// "RIFF", the size of what follows as declared (or as it is), "WAVE", chunks.
Bytes Riff(std::vector<Bytes> chunks, int64_t declared = -1) {
  Bytes body{'W', 'A', 'V', 'E'};
  for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Bytes out{'R', 'I', 'F', 'F'};
  PutU32(out, declared < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declared));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

TEST(WaveFile, PlayableOnlyWhenEveryChunkUpToTheDataLiesInside) {
  const Bytes fmt = Chunk("fmt ", 16), data = Chunk("data", 100);
  struct Case {
    std::string what;
    Bytes block;
    bool playable;
  } cases[] = {
      {"format then data", Riff({fmt, data}), true},
      {"extended format, a list chunk first, odd sizes padded",
       Riff({Chunk("LIST", 3), Chunk("fmt ", 18), Chunk("data", 7)}), true},
      {"trailing bytes after the data", [&] { Bytes b = Riff({fmt, data}); b.resize(b.size() + 5); return b; }(),
       true},
      {"empty", {}, false},
      {"not RIFF", [&] { Bytes b = Riff({fmt, data}); b[0] = 'X'; return b; }(), false},
      {"not WAVE", [&] { Bytes b = Riff({fmt, data}); b[8] = 'A'; return b; }(), false},
      {"RIFF size past the block", Riff({fmt, data}, 4 + 24 + 108 + 1), false},
      {"RIFF size too small for its tag", Riff({fmt, data}, 3), false},
      {"data chunk past the RIFF end", Riff({fmt, Chunk("data", 1000, 10)}), false},
      {"data chunk size near 4 GB", Riff({fmt, Chunk("data", 0xFFFFFFF8u, 10)}), false},
      {"chunk before the format past the end", Riff({Chunk("LIST", 500, 4), fmt, data}), false},
      {"format too short", Riff({Chunk("fmt ", 14), data}), false},
      {"no format", Riff({data}), false},
      {"data before the format", Riff({data, fmt}), false},
      {"no data", Riff({fmt}), false},
      {"header only", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPlayableWave(c.block), c.playable) << c.what;
}

}  // namespace
}  // namespace vorrik
