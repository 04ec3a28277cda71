#include "windows/kinds/mnemonic.h"

#include <gtest/gtest.h>

namespace vorrik {
namespace {

TEST(Mnemonic, FirstSingleAmpersandMarksTheNextCharacter) {
  struct Case {
    const char* caption;
    char mnemonic;
  } cases[] = {
      {"&Open", 'O'},
      {"cl&ose", 'O'},  // letters are upper-cased: the key code is the capital
      {"Page &2", '2'},
      {"&a &b", 'A'},   // the first mark wins
      {"Tom && Jerry", 0},
      {"&&x &y", 'Y'},  // "&&" is a plain ampersand, not a mark
      {"end&", 0},
      {"", 0},
      {"no mark", 0},
      {"打开(&O)", 'O'},
      {"&打开", 0},  // a mark on a double-byte character is no key
      {"\xB0\x41&B", 'B'},  // a double-byte character whose trail byte reads as "A"
      // A lead byte takes the next byte whole, as the system's scanners do,
      // even one that is no valid trail byte.
      {"\xB0&A", 0},
      {"x\xA3", 0},  // a lone lead byte at the end
  };
  for (const auto& c : cases) EXPECT_EQ(MnemonicOf(c.caption), c.mnemonic) << c.caption;
}

}  // namespace
}  // namespace vorrik
