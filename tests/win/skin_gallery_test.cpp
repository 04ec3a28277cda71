// The sample window in each of the 33 built-in skins, side by side on one
// contact sheet (build/screenshots/skin_gallery.png) for people to look at,
// with each skin's own colours checked where the engine draws them.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <utility>

#include "skin/skin_table.h"
#include "tests/win/png_file.h"
#include "tests/win/screen_capture.h"
#include "tests/win/skin_sample.h"

namespace vorrik {
namespace {

using test::ScreenCapture;

constexpr int kColumns = 6;
constexpr int kGap = 12;
constexpr uint32_t kSheetBackground = 0x808080;

class ContactSheet {
 public:
  void Add(const ScreenCapture& shot) { shots_.push_back(shot); }

  bool Save(const std::string& path) const {
    if (shots_.empty()) return false;
    const int cellWidth = shots_[0].width() + kGap, cellHeight = shots_[0].height() + kGap;
    const int rows = (int(shots_.size()) + kColumns - 1) / kColumns;
    const int width = kColumns * cellWidth + kGap, height = rows * cellHeight + kGap;
    std::vector<uint32_t> pixels(size_t(width) * height, kSheetBackground);
    for (size_t i = 0; i < shots_.size(); ++i) {
      const int left = kGap + int(i % kColumns) * cellWidth, top = kGap + int(i / kColumns) * cellHeight;
      const ScreenCapture& shot = shots_[i];
      for (int y = 0; y < shot.height() && top + y < height; ++y)
        for (int x = 0; x < shot.width() && left + x < width; ++x)
          pixels[size_t(top + y) * width + left + x] = shot.pixels()[size_t(y) * shot.width() + x] & 0xFFFFFF;
    }
    return test::SavePng(path, width, height, pixels);
  }

 private:
  std::vector<ScreenCapture> shots_;
};

TEST(SkinGallery, EverySkinDrawsTheSampleWindowOnTheContactSheet) {
  test::LoadedEngine engine;
  ASSERT_TRUE(engine.loaded());
  ContactSheet sheet;
  std::set<std::pair<COLORREF, COLORREF>> looks;
  for (int32_t n = 1; n <= kBuiltinSkinCount; ++n) {
    std::vector<uint8_t> bytes;
    const skin::SkinView skin = test::SkinColours(n, bytes);
    SCOPED_TRACE("skin " + std::to_string(n) + " " + std::string(skin.name));
    ASSERT_EQ(engine.Attach(n), engine::kAttached);
    const std::string title = std::to_string(n) + " " + std::string(skin.name) + " 皮肤";
    test::SampleWindow sample(40, 40, title.c_str());
    // The mouse over the cancel button shows its hot look.
    RECT cancel;
    GetWindowRect(sample.cancelButton(), &cancel);
    test::RunMouse({test::MoveTo({(cancel.left + cancel.right) / 2, cancel.bottom - 4})});
    const ScreenCapture shot = ScreenCapture::Whole(sample.window());
    sheet.Add(shot);

    POINT face{345, 180};
    ClientToScreen(sample.window(), &face);
    RECT frame;
    GetWindowRect(sample.window(), &frame);
    const COLORREF facePixel = shot.At(face.x - frame.left, face.y - frame.top);
    EXPECT_EQ(facePixel, skin.colours[skin::kFace]);
    POINT inCancel{6, 14};
    ClientToScreen(sample.cancelButton(), &inCancel);
    EXPECT_EQ(shot.At(inCancel.x - frame.left, inCancel.y - frame.top), skin.colours[skin::kButtonHot]);
    // The caption's left end, below its gloss.
    POINT client{0, 0};
    ClientToScreen(sample.window(), &client);
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetMenuBarInfo(sample.window(), OBJID_MENU, 0, &bar);
    const COLORREF captionPixel = shot.At(client.x - frame.left, bar.rcBar.top - frame.top - 2);
    EXPECT_TRUE(test::Near(captionPixel, skin.colours[skin::kCaptionActiveFrom], 3)) << std::hex << captionPixel;
    looks.insert({captionPixel, facePixel});
  }
  test::RunMouse({test::MoveTo({5, 1000})});
  const std::string path = test::ScreenshotPath("skin_gallery.png");
  EXPECT_TRUE(sheet.Save(path)) << path;
  EXPECT_EQ(looks.size(), size_t(kBuiltinSkinCount));  // every skin looks different
}

}  // namespace
}  // namespace vorrik
