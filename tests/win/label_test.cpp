// The Label kind: creation from settings blocks, property writes with their
// clamps, saved settings, the caption write and what the label paints.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "tests/win/kind_test_support.h"
#include "tests/win/test_support.h"
#include "windows/kinds/kind_gdi.h"
#include "windows/kinds/label.h"
#include "windows/kinds/label_settings.h"

namespace vorrik {
namespace {

using test::ArgumentsFor;
using test::PrintedControl;
using test::TextValue;

class LabelTest : public ::testing::Test {
 protected:
  HWND Make(const LabelSettings& settings, RECT place = {10, 10, 170, 60}) {
    block_ = EncodeLabelSettings(settings);
    return Make(block_, place);
  }
  HWND Make(std::span<const uint8_t> block, RECT place = {10, 10, 170, 60}) {
    HWND label = label::Create(ArgumentsFor(block, window_.get(), place));
    if (label) ShowWindow(label, SW_SHOWNA);
    return label;
  }
  LabelSettings Current(HWND label) { return *DecodeLabelSettings(label::SaveSettings(label)); }

  test::ReflectingWindow window_;
  std::vector<uint8_t> block_;
};

TEST_F(LabelTest, EmptyBlockGivesTheDefaults) {
  HWND label = Make(std::span<const uint8_t>{});
  ASSERT_TRUE(label);
  EXPECT_EQ(Current(label), LabelSettings{});
  EXPECT_EQ(test::TextOfValue(label::GetProperty(label, label::kTitle)), "标签");
  char text[16] = {};
  GetWindowTextA(label, text, sizeof text);
  EXPECT_STREQ(text, "标签");
  const DWORD style = GetWindowLongA(label, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS), DWORD(WS_CHILD | WS_CLIPSIBLINGS));
}

TEST_F(LabelTest, RefusedBlocksGiveNoLabel) {
  const std::vector<uint8_t> newer = {3, 0, 0, 0};
  EXPECT_EQ(Make(newer), nullptr);
  auto truncated = EncodeLabelSettings(LabelSettings{});
  truncated.resize(20);
  EXPECT_EQ(Make(truncated), nullptr);
}

TEST_F(LabelTest, StoredSettingsAreKeptAndSaved) {
  LabelSettings stored;
  stored.title = "出租广告位";
  stored.textColor = 0x808000;
  stored.gradientMode = 4;
  stored.borderStyle = 6;
  stored.backPicture = {1, 2, 3};  // undecodable: kept, nothing drawn
  LogFont font;
  font.height = -19;
  font.weight = 400;
  font.charSet = 134;
  font.SetFace("仿宋_GB2312");
  stored.font = font;
  HWND label = Make(stored);
  ASSERT_TRUE(label);
  EXPECT_EQ(Current(label), stored);
  const auto record = EncodeLogFont(font);
  EXPECT_EQ(test::BytesOfValue(label::GetProperty(label, label::kFont)),
            std::vector<uint8_t>(record.begin(), record.end()));
  EXPECT_EQ(test::BytesOfValue(label::GetProperty(label, label::kBackPicture)), stored.backPicture);
  UpdateWindow(label);  // paints without a picture
}

TEST_F(LabelTest, NumberWritesAreClampedAndReadBack) {
  struct Case {
    int32_t index;
    int32_t written;
    uint32_t read;
  };
  const Case cases[] = {
      {label::kTextEffect, 2, 2},       {label::kTextEffect, 7, 3},        {label::kTextEffect, -1, 0},
      {label::kBorderStyle, 9, 6},      {label::kBorderStyle, -5, 0},      {label::kFrameWidth, 3, 5},
      {label::kFrameWidth, -4, 5},      {label::kFrameWidth, 12, 12},      {label::kPictureMode, 5, 2},
      {label::kGradientMode, 9, 8},     {label::kGradientMode, 8, 8},      {label::kHAlign, 3, 2},
      {label::kVAlign, -2, 0},          {label::kVAlign, 2, 2},            {label::kWordWrap, 1, 1},
      {label::kTextColor, 0x800080, 0x800080}, {label::kBackColor, int32_t(0xFF000000), 0xFF000000},
      {label::kFrameColor1, 0x0000FF, 0x0000FF}, {label::kFrameColor3, 0x00FF00, 0x00FF00},
      {label::kGradientColor2, 0x123456, 0x123456},
  };
  HWND label = Make(LabelSettings{});
  ASSERT_TRUE(label);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "index " << c.index << " written " << c.written);
    EXPECT_FALSE(label::SetProperty(label, c.index, static_cast<uint32_t>(c.written)));
    EXPECT_EQ(label::GetProperty(label, c.index), c.read);
  }
}

TEST_F(LabelTest, SavedSettingsHoldTheWrittenValues) {
  HWND label = Make(LabelSettings{});
  ASSERT_TRUE(label);
  label::SetProperty(label, label::kTitle, TextValue("Zell报时：12:00"));
  label::SetProperty(label, label::kGradientMode, 20);
  label::SetProperty(label, label::kFrameWidth, 1);
  label::SetProperty(label, label::kDataSource, TextValue("数据源"));
  label::SetProperty(label, label::kDataColumn, TextValue("列"));
  LogFont font;
  font.height = -16;
  font.SetFace("楷体_GB2312");
  const auto fontBlock = BufferOfFont(font);
  label::SetProperty(label, label::kFont, test::BlockValue(fontBlock));

  LabelSettings expected;
  expected.title = "Zell报时：12:00";
  expected.gradientMode = 8;
  expected.frameWidth = 5;
  expected.dataSource = "数据源";
  expected.dataColumn = "列";
  expected.font = font;
  const auto saved = label::SaveSettings(label);
  ASSERT_GE(saved.size(), 4u);
  EXPECT_EQ(saved[0], kLabelSettingsVersion);
  EXPECT_EQ(*DecodeLabelSettings(saved), expected);

  // A block of any other length than a font record means the default font.
  const auto shortBlock = BufferOfBytes(std::vector<uint8_t>(12, 1));
  label::SetProperty(label, label::kFont, test::BlockValue(shortBlock));
  EXPECT_EQ(Current(label).font, std::nullopt);
  EXPECT_TRUE(test::BytesOfValue(label::GetProperty(label, label::kFont)).empty());
}

TEST_F(LabelTest, TitleWriteTakesACopyByteForByte) {
  HWND label = Make(LabelSettings{});
  ASSERT_TRUE(label);
  // The launcher's caption: a lone 0xA3 byte then eleven spaces.
  std::string caption = "有意者请联系我，扣扣\xA3           ";
  label::SetProperty(label, label::kTitle, TextValue(caption.c_str()));
  caption[0] = 'x';  // the label holds its own copy
  EXPECT_EQ(test::TextOfValue(label::GetProperty(label, label::kTitle)),
            "有意者请联系我，扣扣\xA3           ");
  char text[64] = {};  // read back as the system would, byte for byte
  EXPECT_EQ(GetWindowTextA(label, text, sizeof text), 32);
  EXPECT_STREQ(text, "有意者请联系我，扣扣\xA3           ");
  UpdateWindow(label);

  label::SetProperty(label, label::kTitle, 0);  // null is the empty text
  EXPECT_EQ(test::TextOfValue(label::GetProperty(label, label::kTitle)), "");
  EXPECT_EQ(GetWindowTextLengthA(label), 0);
  label::SetProperty(label, label::kTitle, TextValue(""));
  EXPECT_EQ(Current(label).title, "");
  UpdateWindow(label);
}

std::vector<UINT> g_paintMessages;
LRESULT CALLBACK RecordPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_PAINT || message == WM_ERASEBKGND || message == WM_NCPAINT) g_paintMessages.push_back(message);
  return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(LabelTest, TitleWriteRepaintsWithoutErasing) {
  HWND label = Make(LabelSettings{});
  ASSERT_TRUE(label);
  UpdateWindow(window_.get());
  test::PumpMessages();
  SetWindowSubclass(label, RecordPaint, 1, 0);
  g_paintMessages.clear();
  label::SetProperty(label, label::kTitle, TextValue("Zell报时：12:00:01"));
  UpdateWindow(label);
  RemoveWindowSubclass(label, RecordPaint, 1);
  EXPECT_THAT(g_paintMessages, testing::ElementsAre(UINT(WM_PAINT)));
}

TEST_F(LabelTest, BorderStylesBecomeWindowEdges) {
  struct Case {
    uint32_t borderStyle;
    DWORD style, exStyle;
  };
  const Case cases[] = {
      {0, 0, 0},
      {1, 0, WS_EX_CLIENTEDGE},
      {2, 0, WS_EX_DLGMODALFRAME},
      {3, 0, WS_EX_STATICEDGE},
      {4, 0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME},
      {5, WS_BORDER, 0},
      {6, 0, 0},
  };
  constexpr DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
  HWND written = Make(LabelSettings{});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.borderStyle);
    LabelSettings s;
    s.borderStyle = c.borderStyle;
    HWND created = Make(s);
    label::SetProperty(written, label::kBorderStyle, c.borderStyle);
    for (HWND label : {created, written}) {
      EXPECT_EQ(GetWindowLongA(label, GWL_STYLE) & WS_BORDER, c.style);
      EXPECT_EQ(GetWindowLongA(label, GWL_EXSTYLE) & kEdges, c.exStyle);
    }
    DestroyWindow(created);
  }
}

TEST_F(LabelTest, DestroyedLabelIsNotedInTheRegistry) {
  constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000, kLabel = 0x1601000B;
  ControlRecord window, labelRecord;
  window.kind = kKindWindow;
  labelRecord.kind = kKindLabel;
  test::ScopedRegistry registry(
      test::OneWindowSet(kWindow, {{kOwnItem, EncodeControlRecord(window)}, {kLabel, EncodeControlRecord(labelRecord)}}),
      {});
  RegistryEntry& entry = *registry.Get().Find(kWindow);
  block_ = EncodeLabelSettings(LabelSettings{});
  HWND label = label::Create(ArgumentsFor(block_, window_.get(), {0, 0, 50, 20}, kWindow, kLabel));
  ASSERT_TRUE(label);
  entry.objects = {window_.get(), label};
  entry.cursors = {nullptr, nullptr};
  DestroyWindow(label);
  EXPECT_EQ(entry.objects[1], nullptr);
}

// ----- what the label paints -----

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 160, 0), kWhite = RGB(255, 255, 255);

TEST_F(LabelTest, DefaultBackgroundIsTheButtonFace) {
  LabelSettings s;
  s.title = "";
  HWND label = Make(s);
  PrintedControl printed(label);
  EXPECT_EQ(printed.At(5, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(printed.Count(GetSysColor(COLOR_BTNFACE)), printed.width() * printed.height());
}

TEST_F(LabelTest, GradientEndsTakeTheirColours) {
  struct Case {
    uint32_t mode;
    POINT first, last;  // where the first and the last colour lie
  };
  // 160 x 50 client area.
  const Case cases[] = {
      {1, {0, 25}, {159, 25}}, {2, {80, 0}, {80, 49}}, {3, {0, 25}, {80, 25}}, {4, {80, 0}, {80, 25}},
      {5, {0, 0}, {159, 49}},  {6, {159, 0}, {0, 49}}, {7, {0, 0}, {80, 25}},  {8, {0, 0}, {80, 25}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    LabelSettings s;
    s.title = "";
    s.gradientMode = c.mode;
    s.gradientColor1 = kRed;
    s.gradientColor2 = kDefaultColour;  // no colour: skipped
    s.gradientColor3 = kBlue;
    HWND label = Make(s);
    PrintedControl printed(label);
    EXPECT_EQ(printed.At(c.first.x, c.first.y), kRed);
    const COLORREF last = printed.At(c.last.x, c.last.y);
    EXPECT_LE(GetRValue(last), 8);  // the centre pixel of an even size lies half a step short
    EXPECT_GE(GetBValue(last), 247);
    DestroyWindow(label);
  }
}

TEST_F(LabelTest, GradientNeedsTwoColours) {
  LabelSettings s;
  s.title = "";
  s.gradientMode = 1;
  s.backColor = kGreen;
  s.gradientColor1 = kRed;
  s.gradientColor2 = kDefaultColour;
  s.gradientColor3 = kDefaultColour;
  HWND label = Make(s);
  PrintedControl printed(label);
  EXPECT_EQ(printed.At(0, 0), kGreen);
  EXPECT_EQ(printed.At(159, 49), kGreen);
}

TEST_F(LabelTest, GradientFrameRunsFromTheOuterToTheInnerColour) {
  LabelSettings s;
  s.title = "";
  s.borderStyle = 6;
  s.frameWidth = 8;
  s.frameColor1 = kRed;
  s.frameColor2 = kWhite;
  s.frameColor3 = kBlue;
  s.backColor = kGreen;
  HWND label = Make(s);
  PrintedControl printed(label);
  EXPECT_EQ(printed.At(0, 25), kRed);
  EXPECT_EQ(printed.At(80, 49), kRed);
  EXPECT_EQ(printed.At(7, 25), kBlue);
  EXPECT_EQ(printed.At(80, 7), kBlue);
  EXPECT_EQ(printed.At(8, 25), kGreen);  // the drawing area starts inside
  EXPECT_EQ(printed.At(80, 25), kGreen);

  label::SetProperty(label, label::kFrameColor2, kDefaultColour);
  label::SetProperty(label, label::kFrameColor3, kDefaultColour);  // one colour left: no frame
  PrintedControl plain(label);
  EXPECT_EQ(plain.At(0, 25), kGreen);
}

TEST_F(LabelTest, TextEffectsDrawTheirCopies) {
  struct Case {
    uint32_t effect;
    bool white, black;
  };
  const Case cases[] = {{0, false, false}, {1, true, false}, {2, true, false}, {3, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.effect);
    LabelSettings s;
    s.title = "■■ 标签";
    s.textEffect = c.effect;
    s.textColor = kRed;
    s.backColor = kGreen;
    s.hAlign = 1;
    HWND label = Make(s);
    PrintedControl printed(label);
    EXPECT_GT(printed.Count(kRed), 20);
    EXPECT_EQ(printed.Count(kWhite) > 0, c.white);
    EXPECT_EQ(printed.Count(RGB(0, 0, 0)) > 0, c.black);
    DestroyWindow(label);
  }
}

TEST_F(LabelTest, WrappedTextStartsAtTheTopAndSingleLineFollowsVAlign) {
  struct Case {
    uint32_t wordWrap, vAlign;
    bool inTopQuarter, inBottomQuarter;
  };
  const Case cases[] = {
      {0, 0, true, false}, {0, 2, false, true}, {1, 2, true, false},  // wrapping ignores VAlign
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.wordWrap << "/" << c.vAlign);
    LabelSettings s;
    s.title = "■";
    s.wordWrap = c.wordWrap;
    s.vAlign = c.vAlign;
    s.textColor = kRed;
    HWND label = Make(s, {0, 0, 100, 100});
    PrintedControl printed(label);
    int top = 0, bottom = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        if (printed.At(x, y) != kRed) continue;
        if (y < 25) ++top;
        if (y >= 75) ++bottom;
      }
    EXPECT_EQ(top > 0, c.inTopQuarter);
    EXPECT_EQ(bottom > 0, c.inBottomQuarter);
    DestroyWindow(label);
  }
}

}  // namespace
}  // namespace vorrik
