// A window showing every Label border style, gradient style and text
// effect beside a group box holding a label and a button: captured from the
// screen, saved for people to look at, and checked at a few known points.
#include <gtest/gtest.h>

#include <string>

#include "tests/win/kind_test_support.h"
#include "windows/kinds/button.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/group_box.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/label.h"
#include "windows/kinds/label_settings.h"

namespace vorrik {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0), kPaper = RGB(255, 250, 220);

class Gallery {
 public:
  Gallery() : window_(800, 560) {}

  HWND AddLabel(LabelSettings s, RECT place, HWND parent = nullptr) {
    blocks_.push_back(EncodeLabelSettings(s));
    return Show(label::Create(test::ArgumentsFor(blocks_.back(), parent ? parent : window_.get(), place)));
  }
  HWND AddGroupBox(GroupBoxSettings s, RECT place) {
    blocks_.push_back(EncodeGroupBoxSettings(s));
    return Show(group_box::Create(test::ArgumentsFor(blocks_.back(), window_.get(), place)));
  }
  HWND AddButton(ButtonSettings s, RECT place, HWND parent) {
    blocks_.push_back(EncodeButtonSettings(s));
    return Show(button::Create(test::ArgumentsFor(blocks_.back(), parent, place)));
  }
  HWND window() const { return window_.get(); }

 private:
  static HWND Show(HWND control) {
    ShowWindow(control, SW_SHOWNA);
    return control;
  }
  test::ReflectingWindow window_;
  std::vector<std::vector<uint8_t>> blocks_;
};

LogFont Face(int height, const char* face) {
  LogFont font;
  font.height = height;
  font.weight = 400;
  font.SetFace(face);
  return font;
}

TEST(KindsGallery, EveryLabelStyleShownAndCaptured) {
  Gallery g;
  // Row 1: border styles 1 to 6.
  for (uint32_t style = 1; style <= 6; ++style) {
    LabelSettings s;
    s.borderStyle = style;
    s.title = "边框" + std::to_string(style);
    s.hAlign = 1;
    s.backColor = kWhite;
    s.frameColor1 = kRed;
    s.frameColor2 = kWhite;
    s.frameColor3 = kBlue;
    g.AddLabel(s, {10 + int(style - 1) * 130, 10, 130 + int(style - 1) * 130, 70});
  }
  // Row 2: gradient styles 1 to 8, red through white to blue.
  for (uint32_t mode = 1; mode <= 8; ++mode) {
    LabelSettings s;
    s.gradientMode = mode;
    s.gradientColor1 = kRed;
    s.gradientColor2 = kWhite;
    s.gradientColor3 = kBlue;
    s.title = "渐变" + std::to_string(mode);
    s.hAlign = 1;
    g.AddLabel(s, {10 + int(mode - 1) * 97, 90, 100 + int(mode - 1) * 97, 170});
  }
  // Row 3: text effects 0 to 3 in a large font.
  for (uint32_t effect = 0; effect <= 3; ++effect) {
    LabelSettings s;
    s.textEffect = effect;
    s.title = "效果" + std::to_string(effect) + " &Abc";
    s.textColor = kGreen;
    s.backColor = RGB(192, 192, 192);
    s.font = Face(-24, "楷体_GB2312");
    g.AddLabel(s, {10 + int(effect) * 195, 190, 195 + int(effect) * 195, 250});
  }
  // Row 4: a group box with a wrapped label and a button inside, the
  // launcher's caption ending in a lone lead byte, and a default label.
  GroupBoxSettings frameSettings;
  frameSettings.title = "黄金广告位①";
  HWND frame = g.AddGroupBox(frameSettings, {10, 270, 354, 414});
  LabelSettings wrapped;
  wrapped.title = "有意者请联系我，扣扣\xA3           ";
  wrapped.textColor = 0x800080;
  wrapped.wordWrap = 1;
  wrapped.font = Face(-19, "仿宋_GB2312");
  g.AddLabel(wrapped, {16, 24, 312, 96}, frame);
  g.AddButton(ButtonSettings{}, {220, 100, 330, 136}, frame);
  GroupBoxSettings coloured;
  coloured.title = "广告位②";
  coloured.textColor = kBlue;
  coloured.backColor = kPaper;
  HWND frame2 = g.AddGroupBox(coloured, {370, 270, 594, 414});
  LabelSettings rent;
  rent.title = "出租广告位";
  rent.textColor = 0x808000;
  rent.font = Face(-19, "仿宋_GB2312");
  g.AddLabel(rent, {24, 48, 200, 96}, frame2);
  LabelSettings picture;
  picture.title = "默认";
  g.AddLabel(picture, {610, 280, 780, 320});

  RedrawWindow(g.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::PumpMessages();
  Sleep(300);
  test::PumpMessages();
  test::ScreenCapture shot(test::ClientAreaOnScreen(g.window()));
  const std::string path = test::ScreenshotPath("kinds_gallery.bmp");
  EXPECT_TRUE(shot.SaveBmp(path)) << path;

  // Gradient 1 runs from red at the left to blue at the right.
  EXPECT_EQ(shot.At(10, 130), kRed);
  EXPECT_EQ(shot.At(99, 130), kBlue);
  // Gradient 2 from red at the top to blue at the bottom, white between.
  EXPECT_EQ(shot.At(150, 90), kRed);
  EXPECT_EQ(shot.At(150, 169), kBlue);
  // The painted frame of style 6: red on its outer line, blue on its inner.
  EXPECT_EQ(shot.At(660, 40), kRed);
  EXPECT_EQ(shot.At(667, 40), kBlue);
  // Style 5: a single line, the window-frame colour.
  EXPECT_EQ(shot.At(530, 40), GetSysColor(COLOR_WINDOWFRAME));
  // The text colour of each effect, the white and the black copies.
  EXPECT_GT(shot.Count({10, 190, 195, 250}, kGreen), 30);
  EXPECT_GT(shot.Count({205, 190, 390, 250}, kWhite), 10);
  EXPECT_GT(shot.Count({595, 190, 780, 250}, RGB(0, 0, 0)), 10);
  EXPECT_EQ(shot.Count({10, 190, 195, 250}, kWhite), 0);
  // The coloured group box fills its inside; its label shows the button face.
  EXPECT_EQ(shot.At(380, 400), kPaper);
  EXPECT_EQ(shot.At(398, 320), GetSysColor(COLOR_BTNFACE));
  // The wrapped caption's colour is drawn inside the first group box.
  EXPECT_GT(shot.Count({26, 294, 322, 366}, RGB(128, 0, 128)), 30);
}

}  // namespace
}  // namespace vorrik
