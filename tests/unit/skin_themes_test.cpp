// The theme sources of the built-in skins and the skin build tool's checks.
#include "skin/skin_themes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "skin/skin_artwork.h"
#include "skin/skin_table.h"
#include "windows/byte_io.h"

namespace vorrik::skin {
namespace {

std::string ReadShippedThemes() {
  std::ifstream in(VORRIK_SKIN_THEMES, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SkinThemes, ShippedThemesAreReadableAndMakeTheSkinsTheProgramCarries) {
  std::string error;
  const auto themes = ParseThemes(ReadShippedThemes(), error);
  ASSERT_TRUE(themes) << error;
  ASSERT_EQ(themes->size(), size_t(kBuiltinSkinCount));
  std::set<std::string> names;
  std::set<std::array<uint32_t, kColourCount>> palettes;
  for (const Theme& theme : *themes) {
    SCOPED_TRACE("skin " + std::to_string(theme.number));
    EXPECT_EQ(CheckReadability(theme), "");
    EXPECT_TRUE(names.insert(theme.name).second) << "name used twice: " << theme.name;
    EXPECT_TRUE(palettes.insert(theme.colours).second) << "palette used twice";
    const std::vector<uint8_t> skin = WriteSkin(BuildSkin(theme));
    ConstByteBuffer carried = BuiltinSkin(theme.number);
    EXPECT_EQ(skin, std::vector<uint8_t>(carried + 8, carried + 8 + LoadU32(carried + 4)));
  }
}

TEST(SkinThemes, ContrastRatioFollowsTheWcagFormula) {
  EXPECT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(0xFFFFFF, 0x000000), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(0x123456, 0x123456), 1.0);
  // #767676 is the lightest grey that reads on white; #777777 is not.
  EXPECT_GE(ContrastRatio(0x767676, 0xFFFFFF), 4.5);
  EXPECT_LT(ContrastRatio(0x777777, 0xFFFFFF), 4.5);
  // Channels are weighed: pure green is far lighter than pure blue (0x00BBGGRR).
  EXPECT_GT(ContrastRatio(0x00FF00, 0x000000), ContrastRatio(0xFF0000, 0x000000));
}

// A complete, readable block whose lines are numbered as below.
const std::vector<std::string> kValidBlock = {
    "skin 1 \"Test\"",                             // 1
    "  caption.active   #1E4C86 #2A5E9E",          // 2
    "  caption.inactive #D5DEEA #E6ECF3",          // 3
    "  caption.text     #FFFFFF #4A5566",          // 4
    "  frame            #1A416F #B6C0CC",          // 5
    "  face             #F4F6F9",                  // 6
    "  edges            #FFFFFF #B8C0CA",          // 7
    "  text             #1B2330",                  // 8
    "  button           #FFFFFF #E3ECF7 #C9D8EC #F1F3F6",  // 9
    "  button.text      #1B2330 #9AA3AF",          // 10
    "  group            #C3CBD6 #1E4C86",          // 11
    "  menubar          #EAEFF5 #1B2330",          // 12
    "  menu             #FFFFFF #1B2330",          // 13
    "  menu.highlight   #2A5E9E #FFFFFF",          // 14
    "  caption.height   24",                       // 15
    "  frame.width      4",                        // 16
    "  corner.radius    6",                        // 17
    "  caption.button   22 18",                    // 18
    "  button.radius    4",                        // 19
    "end",                                         // 20
};

std::string Text(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::vector<std::string> Replaced(int line, const std::string& with) {
  std::vector<std::string> lines = kValidBlock;
  lines[line - 1] = with;
  return lines;
}

std::vector<std::string> Removed(int line) {
  std::vector<std::string> lines = kValidBlock;
  lines.erase(lines.begin() + (line - 1));
  return lines;
}

std::vector<std::string> Inserted(int line, const std::string& text) {
  std::vector<std::string> lines = kValidBlock;
  lines.insert(lines.begin() + (line - 1), text);
  return lines;
}

Theme ValidTheme() {
  std::string error;
  auto themes = ParseThemes(Text(kValidBlock), error);
  EXPECT_TRUE(themes) << error;
  return themes ? themes->front() : Theme{};
}

TEST(SkinThemes, ValidBlockReadsWithCommentsAndBlankLines) {
  std::vector<std::string> lines = kValidBlock;
  lines.insert(lines.begin(), "// #GGGGGG in a comment is no colour");
  lines.insert(lines.begin() + 1, "");
  lines[7] += "   // the face";
  std::string error;
  const auto themes = ParseThemes(Text(lines), error);
  ASSERT_TRUE(themes) << error;
  const Theme& theme = themes->front();
  EXPECT_EQ(theme.name, "Test");
  EXPECT_EQ(theme.colours[kFace], 0x00F9F6F4u);  // #RRGGBB is stored as 0x00BBGGRR
  EXPECT_EQ(theme.colours[kButtonPressed], 0x00ECD8C9u);
  EXPECT_EQ(theme.metrics[kCaptionButtonWidth], 22);
  EXPECT_EQ(theme.glyphs, GlyphStyle::kNone);
  EXPECT_EQ(CheckReadability(theme), "");
}

TEST(SkinThemes, ParseErrorsNameTheLineAndTheProblem) {
  const std::string longName(65, 'n');
  const struct {
    std::vector<std::string> lines;
    std::string message;
  } cases[] = {
      {Replaced(5, "  fram #000000 #000000"), "line 5: unknown key 'fram'"},
      {Replaced(5, "  frame #000000"), "line 5: 'frame' takes 2 values"},
      {Replaced(6, "  face #12345"), "line 6: '#12345' is not a colour (#RRGGBB)"},
      {Replaced(6, "  face #GGGGGG"), "line 6: '#GGGGGG' is not a colour (#RRGGBB)"},
      {Replaced(15, "  caption.height 80"), "line 15: 'caption.height' must be whole numbers from 12 to 64"},
      {Replaced(15, "  caption.height 2x"), "line 15: 'caption.height' must be whole numbers from 12 to 64"},
      {Replaced(18, "  caption.button 22 30"), "line 20: skin 1: caption buttons are taller than the caption"},
      {Removed(13), "line 19: skin 1: no 'menu'"},
      {Inserted(7, "  face #FFFFFF"), "line 7: 'face' given twice"},
      {Removed(20), "line 1: skin 1 has no 'end'"},
      {Replaced(1, "skin 2 \"Test\""), "line 1: skins are numbered in order: expected skin 1"},
      {Replaced(1, "skin 1 \"Test"), "line 1: unclosed quote"},
      {Replaced(1, "skin 1 \"" + longName + "\""), "line 1: a name has 1 to 64 bytes"},
      {Replaced(1, "theme 1 \"Test\""), "line 1: expected: skin NUMBER \"NAME\""},
      {Inserted(20, "  glyphs shiny"), "line 20: glyphs are none, thin or bold"},
      {Inserted(20, "  gloss 70"), "line 20: gloss is a percentage from 0 to 60"},
      {Inserted(20, "  contrast 3"), "line 20: contrast can only be raised, to a whole ratio up to 21"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseThemes(Text(c.lines), error));
    EXPECT_EQ(error, c.message);
  }
}

TEST(SkinThemes, ReadabilityCheckNamesEveryTextThatIsHardToRead) {
  const struct {
    const char* what;
    void (*change)(Theme&);
    std::string problem;  // empty: still readable
  } cases[] = {
      {"pale menu text", [](Theme& t) { t.colours[kMenuText] = 0xEEEEEE; },
       "skin 1: menu text #EEEEEE on #FFFFFF has contrast 1.16, below 4.5\n"},
      {"a dark hot button", [](Theme& t) { t.colours[kButtonHot] = 0x202020; },
       "skin 1: button text #1B2330 on #202020"},
      {"a strong gloss under white caption text", [](Theme& t) { t.glossPercent = 60; },
       "skin 1: active caption text #FFFFFF on #"},
      {"a raised minimum", [](Theme& t) { t.minimumContrast = 7; },
       "skin 1: inactive caption text #4A5566 on #D5DEEA has contrast 5.56, below 7.0\n"},
      {"faint disabled text", [](Theme& t) { t.colours[kButtonTextDisabled] = 0xE0E0E0; },
       "skin 1: disabled button text #E0E0E0 on #F1F3F6 has contrast 1.19, below 2.0\n"},
      {"disabled text that merely recedes", [](Theme& t) { t.colours[kButtonTextDisabled] = 0xA0A0A0; }, ""},
  };
  for (const auto& c : cases) {
    Theme theme = ValidTheme();
    c.change(theme);
    const std::string problems = CheckReadability(theme);
    if (c.problem.empty()) EXPECT_EQ(problems, "") << c.what;
    else EXPECT_NE(problems.find(c.problem), std::string::npos) << c.what << ":\n" << problems;
  }
}

// The coverage of one glyph cell, row by row.
std::vector<uint8_t> Cell(const OwnedImage& glyphs, int index) {
  const uint32_t size = glyphs.height;
  std::vector<uint8_t> cell;
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x) cell.push_back(glyphs.pixels[y * glyphs.width + index * size + x]);
  return cell;
}

TEST(SkinArtwork, CaptionGlyphsAreFourDistinctShapesInSquareCells) {
  const OwnedImage thin = DrawCaptionGlyphs(GlyphStyle::kThin, 24, 18);
  ASSERT_EQ(thin.height, 12u);  // two thirds of the button's smaller side
  ASSERT_EQ(thin.width, 4 * thin.height);
  ASSERT_EQ(thin.pixels.size(), size_t(thin.width) * thin.height);
  std::vector<std::vector<uint8_t>> cells;
  for (int i = 0; i < 4; ++i) cells.push_back(Cell(thin, i));
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) EXPECT_NE(cells[i], cells[j]) << "cells " << i << " and " << j;

  const uint32_t n = thin.height;
  const auto at = [&](int cell, uint32_t x, uint32_t y) { return cells[cell][y * n + x]; };
  // Close: an X, the same mirrored left to right; its centre is covered.
  for (uint32_t y = 0; y < n; ++y)
    for (uint32_t x = 0; x < n; ++x) EXPECT_EQ(at(0, x, y), at(0, n - 1 - x, y)) << x << "," << y;
  EXPECT_GT(at(0, n / 2, n / 2), 128);
  // Minimise: a bar at the bottom, nothing in the upper half.
  for (uint32_t y = 0; y < n / 2; ++y)
    for (uint32_t x = 0; x < n; ++x) EXPECT_EQ(at(3, x, y), 0) << x << "," << y;
  // Maximise: a crisp one-pixel left edge, and a hollow middle.
  EXPECT_EQ(at(1, 2, n / 2), 255);
  EXPECT_EQ(at(1, n / 2, n / 2 + 1), 0);

  const OwnedImage bold = DrawCaptionGlyphs(GlyphStyle::kBold, 24, 18);
  ASSERT_EQ(bold.width, thin.width);
  const auto ink = [](const OwnedImage& image) {
    unsigned sum = 0;
    for (uint8_t alpha : image.pixels) sum += alpha;
    return sum;
  };
  EXPECT_GT(ink(bold), ink(thin) * 3 / 2);
}

TEST(SkinArtwork, GlossFadesFromItsStrengthToNothingHalfWayDown) {
  const OwnedImage gloss = DrawCaptionGloss(20, 26);
  ASSERT_EQ(gloss.width, 1u);
  ASSERT_EQ(gloss.pixels.size(), 26u);
  EXPECT_EQ(gloss.pixels.front(), 20 * 255 / 100);
  EXPECT_TRUE(std::is_sorted(gloss.pixels.rbegin(), gloss.pixels.rend()));  // never brighter further down
  for (size_t y = 13; y < 26; ++y) EXPECT_EQ(gloss.pixels[y], 0) << y;
}

}  // namespace
}  // namespace vorrik::skin
