// The kinds' settings blocks: layouts read field by field from blocks
// written here in stored order, round trips, older versions, refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "windows/byte_io.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/html_viewer_settings.h"
#include "windows/kinds/label_settings.h"
#include "windows/kinds/timer_settings.h"
#include "windows/kinds/window_settings.h"

namespace vorrik {
namespace {

using Block = std::vector<uint8_t>;
using namespace std::literals;

LogFont SampleFont() {
  LogFont font;
  font.height = -19;
  font.weight = 400;
  font.italic = 1;
  font.charSet = 134;
  font.pitchAndFamily = 0x31;
  font.SetFace("仿宋_GB2312");
  return font;
}

// Every block shorter than the whole, except the empty one, ends inside a field.
template <class Decode>
void ExpectEveryCutRefused(const Block& block, Decode decode) {
  for (size_t size = 1; size < block.size(); ++size)
    EXPECT_FALSE(decode(std::span(block).first(size))) << "cut to " << size << " of " << block.size() << " bytes";
}

template <class Decode>
void ExpectVersionAboveRefused(Block block, uint32_t highest, Decode decode) {
  ASSERT_TRUE(decode(block));
  ByteWriter version;
  version.U32(highest + 1);
  std::copy(version.Data().begin(), version.Data().end(), block.begin());
  EXPECT_FALSE(decode(block));
}

TEST(LogFontTest, StoredLayoutIsLogfontA) {
  ByteWriter out;
  for (int32_t value : {-19, 7, 900, 450, 700}) out.I32(value);
  out.Bytes(Block{1, 0, 1, 134, 3, 2, 2, 0x31});
  const char face[32] = "Face\0junk after the zero";
  out.Bytes({reinterpret_cast<const uint8_t*>(face), sizeof face});
  ASSERT_EQ(out.Size(), kLogFontSize);

  const LogFont font = DecodeLogFont(std::span(out.Data()).first<kLogFontSize>());
  EXPECT_EQ(font.height, -19);
  EXPECT_EQ(font.width, 7);
  EXPECT_EQ(font.escapement, 900);
  EXPECT_EQ(font.orientation, 450);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.italic, 1);
  EXPECT_EQ(font.strikeOut, 1);
  EXPECT_EQ(font.charSet, 134);
  EXPECT_EQ(font.outPrecision, 3);
  EXPECT_EQ(font.pitchAndFamily, 0x31);
  EXPECT_EQ(font.Face(), "Face");
  // The bytes after the zero travel unchanged.
  const auto again = EncodeLogFont(font);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), out.Data().begin()));
}

TEST(LogFontTest, FaceMustLeaveRoomForItsZero) {
  LogFont font;
  EXPECT_TRUE(font.SetFace(std::string(31, 'a')));
  EXPECT_EQ(font.Face().size(), 31u);
  EXPECT_FALSE(font.SetFace(std::string(32, 'b')));
  EXPECT_EQ(font.Face(), std::string(31, 'a'));
}

// ---- Window

// A block of any version, written field by field in stored order, each
// number field holding its own order number so that a shifted read shows.
Block WindowBlock(uint32_t version) {
  ByteWriter out;
  out.U32(version);
  for (uint32_t order = 2; order <= 14; ++order) out.U32(order);
  if (version >= 2) out.U32(15);
  if (version >= 3) out.U32(16), out.U32(17);
  if (version >= 4) out.U32(18);
  if (version >= 5) out.U32(19);
  if (version >= 6) out.CountedText("Cls");
  out.Block(Block{0xB0});
  out.Block(Block{0x1C, 0x0E});
  out.Block(Block{});
  out.CountedText("标题");
  out.CountedText("help.hlp");
  return out.Take();
}

TEST(WindowSettingsTest, ReadsEveryVersionInStoredOrder) {
  const WindowSettings defaults;
  for (uint32_t version = 0; version <= kWindowSettingsVersion; ++version) {
    SCOPED_TRACE(version);
    auto s = DecodeWindowSettings(WindowBlock(version));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->borderStyle, 2u);
    EXPECT_EQ(s->backColor, 4u);
    EXPECT_EQ(s->controlBox, 7u);
    EXPECT_EQ(s->helpContext, 14u);
    EXPECT_EQ(s->showInTaskbar, version >= 2 ? 15u : defaults.showInTaskbar);
    EXPECT_EQ(s->shape, version >= 3 ? 17u : defaults.shape);
    EXPECT_EQ(s->alwaysOnTop, version >= 4 ? 18u : defaults.alwaysOnTop);
    EXPECT_EQ(s->keepTitleActive, version >= 5 ? 19u : defaults.keepTitleActive);
    EXPECT_EQ(s->className, version >= 6 ? "Cls" : "");
    EXPECT_EQ(s->backPicture, Block{0xB0});
    EXPECT_EQ(s->icon, (Block{0x1C, 0x0E}));
    EXPECT_EQ(s->title, "标题");
    EXPECT_EQ(s->helpFile, "help.hlp");
  }
}

TEST(WindowSettingsTest, EncodesAtTheHighestVersion) {
  auto s = DecodeWindowSettings(WindowBlock(3));
  ASSERT_TRUE(s);
  const Block block = EncodeWindowSettings(*s);
  EXPECT_EQ(LoadU32(block.data()), kWindowSettingsVersion);
  EXPECT_EQ(DecodeWindowSettings(block), s);
  // A block of the highest version comes back byte for byte.
  EXPECT_EQ(EncodeWindowSettings(*DecodeWindowSettings(WindowBlock(6))), WindowBlock(6));
}

TEST(WindowSettingsTest, EmptyBlockGivesDefaults) {
  auto s = DecodeWindowSettings({});
  ASSERT_TRUE(s);
  EXPECT_EQ(*s, WindowSettings{});
  EXPECT_EQ(s->borderStyle, 2u);
  EXPECT_EQ(s->backColor, kDefaultColour);
  EXPECT_EQ(s->escCloses, 1u);
  EXPECT_EQ(s->showInTaskbar, 1u);
  EXPECT_TRUE(s->icon.empty());
}

TEST(WindowSettingsTest, RefusesCutBlocksAndLaterVersions) {
  ExpectEveryCutRefused(WindowBlock(6), DecodeWindowSettings);
  ExpectEveryCutRefused(WindowBlock(1), DecodeWindowSettings);
  ExpectVersionAboveRefused(WindowBlock(6), kWindowSettingsVersion, DecodeWindowSettings);
}

// ---- Label

Block LabelBlock(uint32_t version, const Block& font) {
  ByteWriter out;
  out.U32(version);
  for (uint32_t order = 2; order <= 17; ++order) out.U32(order);
  out.Block(font);
  out.Block(Block{0xAA, 0xBB});
  out.CountedText("有意者\xA3 ");
  if (version >= 2) out.CountedText("src"), out.CountedText("col");
  return out.Take();
}

Block FontBytes() {
  auto bytes = EncodeLogFont(SampleFont());
  return {bytes.begin(), bytes.end()};
}

TEST(LabelSettingsTest, ReadsBothVersionsInStoredOrder) {
  for (uint32_t version : {1u, 2u}) {
    SCOPED_TRACE(version);
    auto s = DecodeLabelSettings(LabelBlock(version, FontBytes()));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->textEffect, 2u);
    EXPECT_EQ(s->frameColor1, 5u);
    EXPECT_EQ(s->textColor, 8u);
    EXPECT_EQ(s->gradientColor3, 14u);
    EXPECT_EQ(s->wordWrap, 17u);
    EXPECT_EQ(s->font, SampleFont());
    EXPECT_EQ(s->backPicture, (Block{0xAA, 0xBB}));
    EXPECT_EQ(s->title, "有意者\xA3 ");  // a stray lead byte is kept as it is
    EXPECT_EQ(s->dataSource, version >= 2 ? "src" : "");
    EXPECT_EQ(s->dataColumn, version >= 2 ? "col" : "");
  }
}

TEST(LabelSettingsTest, FontBlockOfAnyOtherLengthIsTheDefaultFont) {
  for (size_t size : {0u, 1u, 59u, 61u}) {
    SCOPED_TRACE(size);
    auto s = DecodeLabelSettings(LabelBlock(2, Block(size, 0x41)));
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->font);
    EXPECT_EQ(s->title, "有意者\xA3 ");
  }
}

TEST(LabelSettingsTest, DefaultsRoundTripAndRefusals) {
  auto defaults = DecodeLabelSettings({});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->title, "标签");
  EXPECT_EQ(defaults->frameWidth, 8u);
  EXPECT_EQ(defaults->frameColor2, 0xFFFFFFu);
  EXPECT_EQ(defaults->vAlign, 1u);
  EXPECT_FALSE(defaults->font);

  LabelSettings s;
  s.font = SampleFont();
  s.textColor = 0x800080;
  s.title = "出租广告位";
  s.dataColumn = "c";
  const Block block = EncodeLabelSettings(s);
  EXPECT_EQ(block.size(), 148 + s.title.size() + s.dataColumn.size());
  EXPECT_EQ(DecodeLabelSettings(block), s);
  EXPECT_EQ(EncodeLabelSettings(*DecodeLabelSettings(LabelBlock(2, FontBytes()))), LabelBlock(2, FontBytes()));
  ExpectEveryCutRefused(block, DecodeLabelSettings);
  ExpectVersionAboveRefused(block, kLabelSettingsVersion, DecodeLabelSettings);
}

// ---- Button, GroupBox, Timer

TEST(ButtonSettingsTest, StoredOrderRoundTripAndRefusals) {
  ByteWriter out;
  out.U32(1), out.U32(1), out.U32(2), out.U32(0);
  out.Block(Block{9});
  out.Block(FontBytes());
  out.CountedText("打开桌面版");
  auto s = DecodeButtonSettings(out.Data());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->isDefault, 1u);
  EXPECT_EQ(s->hAlign, 2u);
  EXPECT_EQ(s->vAlign, 0u);
  EXPECT_EQ(s->picture, Block{9});
  EXPECT_EQ(s->font, SampleFont());
  EXPECT_EQ(s->title, "打开桌面版");
  EXPECT_EQ(EncodeButtonSettings(*s), out.Data());
  ExpectEveryCutRefused(out.Data(), DecodeButtonSettings);
  ExpectVersionAboveRefused(out.Data(), kButtonSettingsVersion, DecodeButtonSettings);

  auto defaults = DecodeButtonSettings({});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->title, "按钮");
  EXPECT_EQ(defaults->hAlign, 1u);
}

TEST(GroupBoxSettingsTest, StoredOrderRoundTripAndRefusals) {
  ByteWriter out;
  out.U32(0);  // version 0 reads as 1
  out.U32(2), out.U32(0x123456), out.U32(kDefaultColour);
  out.Block(Block{});
  out.CountedText("黄金广告位①");
  auto s = DecodeGroupBoxSettings(out.Data());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->titleAlign, 2u);
  EXPECT_EQ(s->textColor, 0x123456u);
  EXPECT_EQ(s->backColor, kDefaultColour);
  EXPECT_FALSE(s->font);
  EXPECT_EQ(s->title, "黄金广告位①");
  EXPECT_EQ(DecodeGroupBoxSettings(EncodeGroupBoxSettings(*s)), s);
  ExpectEveryCutRefused(out.Data(), DecodeGroupBoxSettings);
  ExpectVersionAboveRefused(out.Data(), kGroupBoxSettingsVersion, DecodeGroupBoxSettings);
  EXPECT_EQ(DecodeGroupBoxSettings({}), GroupBoxSettings{});
}

TEST(TimerSettingsTest, IntervalRoundTripDefaultsAndRefusals) {
  const Block stored = {1, 0, 0, 0, 0xE8, 0x03, 0, 0};
  EXPECT_EQ(DecodeTimerSettings(stored), TimerSettings{1000});
  EXPECT_EQ(EncodeTimerSettings(TimerSettings{1000}), stored);
  EXPECT_EQ(DecodeTimerSettings(EncodeTimerSettings(TimerSettings{-5})), TimerSettings{-5});
  EXPECT_EQ(DecodeTimerSettings({}), TimerSettings{0});  // never ticks
  ExpectEveryCutRefused(stored, DecodeTimerSettings);
  ExpectVersionAboveRefused(stored, kTimerSettingsVersion, DecodeTimerSettings);
}

// ---- HtmlViewer

Block ViewerBlock(uint32_t version, int32_t fontSize, uint32_t offline, uint32_t silent, int32_t length,
                  std::string_view address) {
  ByteWriter out;
  out.U32(version), out.I32(fontSize), out.U32(offline), out.U32(silent), out.I32(length);
  out.Bytes({reinterpret_cast<const uint8_t*>(address.data()), address.size()});
  return out.Take();
}

TEST(HtmlViewerSettingsTest, ReadsTheAddress) {
  const struct {
    uint32_t version;
    int32_t length;
    std::string_view bytes;
    std::string url;
  } cases[] = {
      {1, 9, "http://a/"sv, "http://a/"},
      {0, 9, "http://a/"sv, "http://a/"},  // version 0 reads as 1
      {1, 9, "http\0//a/"sv, "http"},      // a NUL ends the address
      {1, 4, "http://a/"sv, "http"},       // bytes after it are ignored
      {1, 0, ""sv, ""},
      {1, -3, "xyz"sv, ""},  // 0 or less: empty
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    auto s = DecodeHtmlViewerSettings(ViewerBlock(c.version, 7, 5, 0, c.length, c.bytes));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->fontSize, 7);  // kept as stored; the control clamps it
    EXPECT_TRUE(s->offline);    // any value but 0 is true
    EXPECT_FALSE(s->silent);
    EXPECT_EQ(s->url, c.url);
  }
}

TEST(HtmlViewerSettingsTest, DefaultsRoundTripAndRefusals) {
  auto defaults = DecodeHtmlViewerSettings({});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->fontSize, 2);
  EXPECT_FALSE(defaults->offline);
  EXPECT_TRUE(defaults->url.empty());

  const HtmlViewerSettings s{4, true, true, "http://game.example/flash/115225.htm"};
  const Block block = EncodeHtmlViewerSettings(s);
  EXPECT_EQ(block, ViewerBlock(1, 4, 1, 1, 36, s.url));
  EXPECT_EQ(DecodeHtmlViewerSettings(block), s);
  ExpectEveryCutRefused(block, DecodeHtmlViewerSettings);
  ExpectVersionAboveRefused(block, kHtmlViewerSettingsVersion, DecodeHtmlViewerSettings);
}

}  // namespace
}  // namespace vorrik
