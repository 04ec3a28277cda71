// Damaged description sets: every one is either read or refused, never read
// past its end (the sanitizers watch every case).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/fuzz/read_everything.h"
#include "windows/byte_io.h"
#include "windows/description.h"

namespace vorrik {
namespace {

std::vector<uint8_t> RealSet() {
  std::ifstream in(VORRIK_SET_FILE, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Offsets in the real set: the directory, then the launcher's header.
constexpr size_t kFirstWindow = 4 + 8 + 8;
constexpr size_t kFirstTextLength = kFirstWindow + 8, kFirstCount = kFirstWindow + 16, kFirstSize = kFirstWindow + 20;
constexpr size_t kFirstBody = kFirstWindow + 24;

TEST(BadInput, TruncationAtEveryOffsetOfTheRealSetIsRefused) {
  const auto set = RealSet();
  ASSERT_TRUE(ReadEverything(set));
  for (size_t cut = 0; cut < set.size(); ++cut)
    ASSERT_FALSE(ReadEverything({set.data(), cut})) << "cut at " << cut;
}

TEST(BadInput, DamagedFieldsAreRefusedOrReadSafely) {
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    bool loads;
  } cases[] = {
      {"directory larger than the data", 0, 0x7FFFFFF8, false},
      {"directory of an odd size still reads whole entries", 0, 17, true},
      {"negative header text length is the empty text", kFirstTextLength, 0xFFFFFFFF, true},
      {"huge header text length", kFirstTextLength, 0x7FFFFFFF, false},
      {"entry count larger than the table", kFirstCount, 0x40000000, false},
      {"table size past the end", kFirstSize, 0xFFFFFFF0, false},
      {"first record offset past the body", kFirstBody + 10 * 4, 0x00FFFFFF, false},
      {"last record offset past the body", kFirstBody + 10 * 4 + 9 * 4, 0x7FFFFFFF, false},
      {"record length past the body", kFirstBody + 10 * 8, 0x7FFFFFFF, false},
  };
  for (const auto& c : cases) {
    auto set = RealSet();
    PutU32(set, c.at, c.value);
    EXPECT_EQ(ReadEverything(set), c.loads) << c.what;
  }
}

TEST(BadInput, DamageInsideRecordsNeverReadsOutside) {
  // Every word of the launcher's first records set to extreme values: counts,
  // lengths and levels that make no sense must be refused by each reader.
  const auto set = RealSet();
  const size_t end = kFirstBody + 10 * 8 + 600;
  for (size_t at = kFirstBody + 10 * 8; at + 4 <= end; at += 4) {
    for (uint32_t value : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x10000u}) {
      auto damaged = set;
      PutU32(damaged, at, value);
      ReadEverything(damaged);
    }
  }
}

}  // namespace
}  // namespace vorrik
