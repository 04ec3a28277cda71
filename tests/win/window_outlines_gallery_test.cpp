// Windows of every outline, 1 to 29, laid out over a white backdrop: captured
// from the screen, saved for people to look at, and checked at the corners
// and centre of each window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/shell_state.h"
#include "tests/win/kind_test_support.h"
#include "tests/win/screen_capture.h"
#include "windows/kinds/kind_gdi.h"
#include "windows/kinds/label.h"
#include "windows/kinds/label_settings.h"
#include "windows/kinds/window.h"
#include "windows/kinds/window_settings.h"
#include "windows/kinds/window_shapes.h"

namespace vorrik {
namespace {

constexpr COLORREF kBackdrop = RGB(255, 255, 255), kShapeColour = RGB(40, 90, 170);
constexpr int kCellWidth = 150, kCellHeight = 110, kGap = 10, kColumns = 6;

// A plain white window behind the outlines.
class Backdrop {
 public:
  Backdrop(int width, int height) {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      wc.lpszClassName = "VorrikOutlineBackdrop";
      return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    window_ = CreateWindowExA(0, "VorrikOutlineBackdrop", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~Backdrop() { DestroyWindow(window_); }
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// A frameless window of the kind with the outline, above the backdrop, its
// number written in the middle. Its events are held: it belongs to no
// loaded window description.
class OutlinedWindow {
 public:
  OutlinedWindow(uint32_t shape, RECT place) {
    WindowSettings s;
    s.borderStyle = 0;
    s.startPosition = 0;
    s.alwaysOnTop = 1;
    s.shape = shape;
    s.backColor = kShapeColour;
    settings_ = EncodeWindowSettings(s);
    CreateArguments args;
    args.settings = settings_;
    args.left = place.left;
    args.top = place.top;
    args.width = place.right - place.left;
    args.height = place.bottom - place.top;
    window_ = WindowKind().Create(args);
    if (!window_) return;
    LabelSettings number;
    number.title = std::to_string(shape);
    number.hAlign = 1;
    number.textColor = RGB(255, 255, 255);
    number.backColor = kShapeColour;
    number_ = EncodeLabelSettings(number);
    const int cx = args.width / 2, cy = args.height / 2;
    HWND label = label::Create(test::ArgumentsFor(number_, window_, {cx - 20, cy - 24, cx + 20, cy - 4}));
    ShowWindow(label, SW_SHOWNA);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
  }
  ~OutlinedWindow() {
    if (window_) DestroyWindow(window_);
  }
  OutlinedWindow(const OutlinedWindow&) = delete;
  OutlinedWindow& operator=(const OutlinedWindow&) = delete;
  HWND get() const { return window_; }

 private:
  EventHold hold_;
  std::vector<uint8_t> settings_, number_;
  HWND window_ = nullptr;
};

RECT Cell(uint32_t shape) {
  const int column = static_cast<int>(shape - 1) % kColumns, row = static_cast<int>(shape - 1) / kColumns;
  const int left = kGap + column * (kCellWidth + kGap), top = kGap + row * (kCellHeight + kGap);
  return {left, top, left + kCellWidth, top + kCellHeight};
}

TEST(WindowOutlinesGallery, EveryOutlineShownAndCaptured) {
  const int rows = (static_cast<int>(kHighestShape) + kColumns - 1) / kColumns;
  Backdrop backdrop(kGap + kColumns * (kCellWidth + kGap), kGap + rows * (kCellHeight + kGap));
  ASSERT_TRUE(backdrop.get());
  std::vector<std::unique_ptr<OutlinedWindow>> windows;
  for (uint32_t shape = 1; shape <= kHighestShape; ++shape) {
    windows.push_back(std::make_unique<OutlinedWindow>(shape, Cell(shape)));
    ASSERT_TRUE(windows.back()->get()) << shape;
  }
  RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::PumpMessages();
  Sleep(300);
  test::PumpMessages();
  const test::ScreenCapture shot = test::ScreenCapture::Client(backdrop.get());
  const std::string path = test::ScreenshotPath("window_outlines.bmp");
  EXPECT_TRUE(shot.SaveBmp(path)) << path;

  // Each window shows its colour inside its outline and the backdrop
  // outside it: probed at its corners, a little inside each, and below the
  // number in its middle.
  for (uint32_t shape = 1; shape <= kHighestShape; ++shape) {
    const RECT cell = Cell(shape);
    GdiObject<HRGN> outline(CreateShapeRegion(shape, kCellWidth, kCellHeight));
    ASSERT_TRUE(outline) << shape;
    const POINT probes[] = {{1, 1},
                            {kCellWidth - 2, 1},
                            {1, kCellHeight - 2},
                            {kCellWidth - 2, kCellHeight - 2},
                            {kCellWidth / 2, kCellHeight / 2 + 4}};
    for (const POINT& p : probes) {
      const COLORREF expected = PtInRegion(outline.get(), p.x, p.y) ? kShapeColour : kBackdrop;
      EXPECT_EQ(shot.At(cell.left + p.x, cell.top + p.y), expected) << "shape " << shape << " at " << p.x << ","
                                                                     << p.y;
    }
  }
  // The ellipse touches the middle of each side and leaves every corner.
  const RECT ellipse = Cell(1);
  EXPECT_EQ(shot.At(ellipse.left + kCellWidth / 2, ellipse.top + 1), kShapeColour);
  EXPECT_EQ(shot.At(ellipse.left + 1, ellipse.top + kCellHeight / 2), kShapeColour);
  EXPECT_EQ(shot.At(ellipse.left + 6, ellipse.top + 6), kBackdrop);
}

}  // namespace
}  // namespace vorrik
