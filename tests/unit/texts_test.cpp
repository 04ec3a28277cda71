#include "shell/texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/unit/host_blocks.h"

namespace vorrik {
namespace {

class TextsTest : public ::testing::Test {
 protected:
  void SetUp() override { liveAtStart_ = LiveBlockCount(); }
  void TearDown() override { EXPECT_EQ(LiveBlockCount(), liveAtStart_) << "block leaked or released twice"; }

 private:
  long liveAtStart_ = 0;
};

// The joined bytes; the block is released.
std::string Take(Text text) {
  std::string bytes(text);
  ReleaseBlock(text);
  return bytes;
}

TEST_F(TextsTest, TextLengthCountsBytesBeforeTheNul) {
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("a"), 1u);
  EXPECT_EQ(TextLength("报时："), 6u);  // GBK: two bytes a character
  EXPECT_EQ(TextLength(" Zell报时："), 11u);
}

TEST_F(TextsTest, JoinTextsOfTwo) {
  const struct {
    ConstText first;
    ConstText second;
    const char* joined;
  } cases[] = {
      {nullptr, nullptr, ""},
      {nullptr, "a", "a"},
      {"a", nullptr, "a"},
      {"", "", ""},
      {"C:\\游戏", "\\SkinH_EL.dll", "C:\\游戏\\SkinH_EL.dll"},
      {" Zell报时：", "2013年11月2日", " Zell报时：2013年11月2日"},
  };
  for (const auto& c : cases) {
    Text joined = JoinTexts(c.first, c.second);
    ASSERT_NE(joined, nullptr) << c.joined;
    EXPECT_NE(joined, c.first);
    EXPECT_NE(joined, c.second);
    EXPECT_EQ(Take(joined), c.joined);
  }
}

TEST_F(TextsTest, JoinTextsOfAnyCount) {
  EXPECT_EQ(Take(JoinTexts({})), "");
  EXPECT_EQ(Take(JoinTexts({"only"})), "only");
  EXPECT_EQ(Take(JoinTexts({"年", nullptr, "月", "", "日"})), "年月日");
}

TEST_F(TextsTest, JoinTextsLeavesItsInputsAlone) {
  char first[] = "ab";
  Text second = JoinTexts("cd", nullptr);
  Text joined = JoinTexts(first, second);
  EXPECT_STREQ(first, "ab");
  EXPECT_STREQ(second, "cd");
  EXPECT_EQ(Take(joined), "abcd");
  ReleaseBlock(second);
}

TEST_F(TextsTest, JoinTextsOfOnlyEmptyTextsIsAOneByteBlock) {
  Text joined = JoinTexts(nullptr, "");
  ASSERT_NE(joined, nullptr);
  EXPECT_EQ(joined[0], '\0');
  ReleaseBlock(joined);
}

TEST_F(TextsTest, ByteLengthReadsTheLittleEndianLengthField) {
  const uint8_t header[8] = {1, 0, 0, 0, 0x04, 0x03, 0x02, 0x81};
  EXPECT_EQ(ByteLength(nullptr), 0u);
  EXPECT_EQ(ByteLength(kEmptyByteBuffer), 0u);
  EXPECT_EQ(ByteLength(header), 0x81020304u);
}

TEST_F(TextsTest, EmptyByteBufferHasOneDimension) {
  const uint8_t expected[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(kEmptyByteBuffer, expected, sizeof expected), 0);
}

TEST_F(TextsTest, CopyByteBufferTakesHeaderAndData) {
  const uint8_t constant[] = {1, 0, 0, 0, 3, 0, 0, 0, 'x', 0, 0xFF};
  ByteBuffer copy = CopyByteBuffer(constant);
  ASSERT_NE(copy, constant);
  EXPECT_EQ(std::memcmp(copy, constant, sizeof constant), 0);
  EXPECT_EQ(ByteLength(copy), 3u);
  ReleaseBlock(copy);
}

TEST_F(TextsTest, CopyOfNullIsTheEmptyBuffer) {
  ByteBuffer copy = CopyByteBuffer(nullptr);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::memcmp(copy, kEmptyByteBuffer, 8), 0);
  ReleaseBlock(copy);
}

TEST_F(TextsTest, AssignByteBufferReleasesThePreviousBlock) {
  const uint8_t first[] = {1, 0, 0, 0, 1, 0, 0, 0, 'a'};
  const uint8_t second[] = {1, 0, 0, 0, 2, 0, 0, 0, 'b', 'c'};
  ByteBuffer variable = nullptr;
  AssignByteBuffer(variable, first);
  AssignByteBuffer(variable, second);
  ASSERT_NE(variable, nullptr);
  EXPECT_EQ(std::memcmp(variable, second, sizeof second), 0);
  // The variable's own block as the source: copied before it is released.
  AssignByteBuffer(variable, variable);
  EXPECT_EQ(std::memcmp(variable, second, sizeof second), 0);
  ReleaseBlock(variable);
}

}  // namespace
}  // namespace vorrik
