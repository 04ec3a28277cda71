// The description set and icon that the build generates from the window
// forms, checked against the windows' stored values.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "windows/byte_io.h"
#include "windows/description.h"
#include "windows/forms/handler_names.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/html_viewer_settings.h"
#include "windows/kinds/label_settings.h"
#include "windows/kinds/timer_settings.h"
#include "windows/kinds/window_settings.h"

namespace vorrik {
namespace {

std::vector<uint8_t> ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The figures hold for a page address of 36 bytes; another configured
// address moves them by its difference.
const ptrdiff_t kAddressDelta = ptrdiff_t(std::strlen(VORRIK_GAME_PAGE_URL)) - 36;

class StoredWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = ReadAll(VORRIK_SET_FILE);
    auto set = DecodeDescriptionSet(bytes_);
    ASSERT_TRUE(set) << VORRIK_SET_FILE;
    set_ = std::move(*set);
    ASSERT_EQ(set_.windows.size(), 2u);
  }
  const ControlTable& Launcher() const { return set_.windows[0].table; }
  const ControlTable& Game() const { return set_.windows[1].table; }

  static ControlRecord Control(const ControlTable& table, uint32_t id) {
    auto index = table.IndexOf(id);
    EXPECT_TRUE(index) << std::hex << id;
    auto record = DecodeControlRecord(table.Record(index.value_or(0)));
    EXPECT_TRUE(record);
    return record.value_or(ControlRecord{});
  }

  std::vector<uint8_t> bytes_;
  DescriptionSet set_;
};

TEST_F(StoredWindowsTest, SetHasTheStoredSizesAndHeaders) {
  EXPECT_EQ(ptrdiff_t(bytes_.size()), 37368 + kAddressDelta);
  EXPECT_EQ(Launcher().Body().size(), 19013u);
  EXPECT_EQ(ptrdiff_t(Game().Body().size()), 18287 + kAddressDelta);
  EXPECT_EQ(set_.ids, (std::vector<uint32_t>{0x52010001, 0x5201000F}));
  EXPECT_EQ(set_.slots, (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(set_.windows[0].header1, 0x00008056u);
  EXPECT_EQ(set_.windows[0].header2, 0x1901001Eu);
  EXPECT_EQ(set_.windows[1].header1, 0x00B82348u);
  EXPECT_EQ(set_.windows[1].header2, 0x1901003Eu);
  for (const auto& window : set_.windows) {
    EXPECT_TRUE(window.headerText1.empty());
    EXPECT_TRUE(window.headerText2.empty());
    EXPECT_EQ(window.table.Count(), 10u);
  }
}

// Re-encoding proves the reserved words, slots and lengths are as stored.
TEST_F(StoredWindowsTest, EveryRecordIsCanonicalAndReferencesKnownHandlers) {
  for (const auto& window : set_.windows) {
    const ControlTable& table = window.table;
    for (uint32_t i = 0; i < table.Count(); ++i) {
      SCOPED_TRACE(testing::Message() << std::hex << table.Identifier(i));
      const auto record = table.Record(i);
      std::vector<int32_t> handlers;
      if (table.IsMenuItem(i)) {
        auto menu = DecodeMenuItemRecord(record);
        ASSERT_TRUE(menu);
        EXPECT_EQ(EncodeMenuItemRecord(*menu), std::vector<uint8_t>(record.begin(), record.end()));
        handlers.push_back(menu->handler);
      } else {
        auto control = DecodeControlRecord(record);
        ASSERT_TRUE(control);
        EXPECT_EQ(EncodeControlRecord(*control), std::vector<uint8_t>(record.begin(), record.end()));
        EXPECT_EQ(control->mousePointer, (std::vector<uint8_t>{0, 0, 0, 0}));
        for (const auto& binding : control->bindings) handlers.push_back(binding.handler);
      }
      for (int32_t handler : handlers) EXPECT_TRUE(handler == kNoHandler || (handler >= 0 && handler < kHandlerCount));
    }
  }
}

TEST_F(StoredWindowsTest, LauncherControlsInTableOrder) {
  const struct {
    uint32_t id, kind;
    const char* name;
    uint32_t parent;
    int32_t left, top, width, height;
    uint32_t state;
  } rows[] = {
      {0x1601000D, kKindLabel, "标签3", 0x16010007, 24, 48, 176, 48, kStateVisible},
      {0x1601000C, kKindLabel, "标签2", 0x16010005, 16, 32, 184, 88, kStateVisible},
      {0x1601000B, kKindLabel, "标签1", 0x16010003, 16, 32, 296, 72, kStateVisible},
      {0x1601000A, kKindButton, "按钮2", 0, 80, 88, 168, 40, kStateVisible | kStateTabStop},
      {0x16010008, kKindButton, "按钮1", 0x16010002, 72, 24, 168, 40, kStateVisible | kStateTabStop},
      {0x16010007, kKindGroupBox, "分组框4", 0, 360, 168, 224, 144, kStateVisible},
      {0x16010005, kKindGroupBox, "分组框3", 0, 360, 0, 224, 160, kStateVisible},
      {0x16010003, kKindGroupBox, "分组框2", 0, 8, 168, 344, 144, kStateVisible},
      {0x16010002, kKindGroupBox, "分组框1", 0, 8, 0, 344, 160, kStateVisible},
  };
  EXPECT_EQ(Launcher().Identifier(0), 0x06010000u);
  for (uint32_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Launcher().Identifier(i + 1), row.id);
    const ControlRecord r = Control(Launcher(), row.id);
    EXPECT_EQ(r.kind, row.kind);
    EXPECT_EQ(r.name, row.name);
    EXPECT_EQ(r.parent, row.parent);
    EXPECT_EQ((std::array{r.left, r.top, r.width, r.height}), (std::array{row.left, row.top, row.width, row.height}));
    EXPECT_EQ(r.state, row.state);
    EXPECT_EQ(r.tabOrder, 0u);
    if (row.parent) {
      EXPECT_EQ(Control(Launcher(), row.parent).children, std::vector<uint32_t>{row.id});
    }
  }
  EXPECT_TRUE(Control(Launcher(), 0x1601000A).children.empty());
  EXPECT_EQ(Launcher().MenuRun().length, 0u);
}

TEST_F(StoredWindowsTest, LauncherWindowButtonsAndGroupBoxes) {
  const ControlRecord window = Control(Launcher(), 0x06010000);
  EXPECT_EQ(window.kind, kKindWindow);
  EXPECT_EQ((std::array{window.left, window.top, window.width, window.height}), (std::array{50, 50, 600, 356}));
  EXPECT_EQ(window.state, kStateVisible);
  EXPECT_EQ(window.bindings, (std::vector<EventBinding>{{0, kLauncherCreated}}));
  auto settings = DecodeWindowSettings(window.settings);
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->title, "Vorrik桌面版");
  EXPECT_EQ(settings->title.size(), 12u);
  EXPECT_EQ((std::array{settings->borderStyle, settings->maxButton, settings->minButton, settings->startPosition}),
            (std::array{2u, 0u, 0u, 1u}));
  EXPECT_EQ(settings->icon, ReadAll(VORRIK_ICON_FILE));

  EXPECT_EQ(Control(Launcher(), 0x16010008).bindings, (std::vector<EventBinding>{{0, kOpenGameClicked}}));
  EXPECT_EQ(Control(Launcher(), 0x1601000A).bindings, (std::vector<EventBinding>{{0, kCloseLauncherClicked}}));
  auto open = DecodeButtonSettings(Control(Launcher(), 0x16010008).settings);
  auto close = DecodeButtonSettings(Control(Launcher(), 0x1601000A).settings);
  ASSERT_TRUE(open && close);
  EXPECT_EQ(open->title, "打开桌面版");
  EXPECT_EQ(close->title, "关闭×");
  EXPECT_FALSE(close->font);

  auto gold = DecodeGroupBoxSettings(Control(Launcher(), 0x16010003).settings);
  ASSERT_TRUE(gold);
  EXPECT_EQ(gold->title, "黄金广告位①");
  EXPECT_EQ(gold->backColor, kDefaultColour);
}

TEST_F(StoredWindowsTest, LauncherLabelsKeepTheirCaptionBytes) {
  auto label = DecodeLabelSettings(Control(Launcher(), 0x1601000B).settings);
  ASSERT_TRUE(label);
  ASSERT_EQ(label->title.size(), 32u);
  EXPECT_EQ(label->title, std::string("有意者请联系我，扣扣") + "\xA3" + std::string(11, ' '));
  EXPECT_EQ(label->textColor, 0x800080u);
  EXPECT_EQ(label->wordWrap, 1u);
  for (uint32_t id : {0x1601000Bu, 0x1601000Cu, 0x1601000Du}) {
    auto s = DecodeLabelSettings(Control(Launcher(), id).settings);
    ASSERT_TRUE(s && s->font);
    EXPECT_EQ(s->font->Face(), "仿宋_GB2312");
    EXPECT_EQ(s->font->height, -19);
    EXPECT_EQ(s->font->weight, 400);
    EXPECT_EQ(s->frameWidth, 8u);
  }
  EXPECT_EQ(DecodeLabelSettings(Control(Launcher(), 0x1601000C).settings)->textColor, 0x808000u);
}

TEST_F(StoredWindowsTest, GameMenuRunAndHandlers) {
  const ControlTable::Run run = Game().MenuRun();
  EXPECT_EQ(run.first, 4u);
  ASSERT_EQ(run.length, 5u);
  const struct {
    uint32_t id, level;
    const char* title;
    int32_t handler;
  } items[] = {
      {0x26010039, 0, "首页", kNoHandler},
      {0x2601003A, 1, "刷新游戏", kReloadGameSelected},
      {0x2601003B, 1, "清理白屏", kClearBlankSelected},
      {0x2601003C, 1, "-", kNoHandler},
      {0x2601003D, 1, "联系作者", kContactAuthorSelected},
  };
  for (uint32_t k = 0; k < run.length; ++k) {
    SCOPED_TRACE(items[k].title);
    EXPECT_EQ(Game().Identifier(run.first + k), items[k].id);
    auto item = DecodeMenuItemRecord(Game().Record(run.first + k));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->level, items[k].level);
    EXPECT_EQ(item->title, items[k].title);
    EXPECT_EQ(item->handler, items[k].handler);
    EXPECT_EQ(item->shortcut, 0u);
    EXPECT_EQ(item->flags, 0u);
    EXPECT_EQ(ReadMenuHandler(Game().Record(run.first + k)), items[k].handler);
  }
}

TEST_F(StoredWindowsTest, GameWindowControls) {
  const ControlRecord window = Control(Game(), 0x0601000E);
  EXPECT_EQ((std::array{window.width, window.height}), (std::array{973, 732}));
  EXPECT_TRUE(window.bindings.empty());
  auto settings = DecodeWindowSettings(window.settings);
  ASSERT_TRUE(settings);
  EXPECT_EQ((std::array{settings->minButton, settings->maxButton}), (std::array{1u, 0u}));
  EXPECT_EQ(settings->icon, ReadAll(VORRIK_ICON_FILE));

  const ControlRecord browser = Control(Game(), 0x16010037);
  EXPECT_EQ(Game().Identifier(9), 0x16010037u);
  EXPECT_EQ(browser.kind, kKindHtmlViewer);
  EXPECT_EQ((std::array{browser.left, browser.top, browser.width, browser.height}), (std::array{-16, -32, 1016, 688}));
  EXPECT_EQ(browser.state, kStateVisible | kStateTabStop);
  auto page = DecodeHtmlViewerSettings(browser.settings);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->url, VORRIK_GAME_PAGE_URL);
  EXPECT_TRUE(page->url.ends_with("/flash/115225.htm"));
  EXPECT_EQ(page->fontSize, 2);

  const ControlRecord idle = Control(Game(), 0x16010047);
  EXPECT_TRUE(idle.settings.empty());
  EXPECT_EQ(DecodeTimerSettings(idle.settings)->interval, 0);
  const ControlRecord clock = Control(Game(), 0x16010042);
  EXPECT_EQ(clock.state, 0u);
  EXPECT_EQ(clock.bindings, (std::vector<EventBinding>{{0, kClockTick}}));
  EXPECT_EQ(DecodeTimerSettings(clock.settings)->interval, 1000);

  auto line = DecodeLabelSettings(Control(Game(), 0x16010043).settings);
  ASSERT_TRUE(line && line->font);
  EXPECT_EQ(line->title, "Zell报时：");
  EXPECT_EQ(line->font->Face(), "楷体_GB2312");
  EXPECT_EQ(line->font->height, -16);
  EXPECT_EQ(line->textColor, 0x0000FFu);
}

// ---- The icon file

TEST(StoredIconTest, OneImageOf64By64WithAlphaAndMask) {
  const std::vector<uint8_t> icon = ReadAll(VORRIK_ICON_FILE);
  ASSERT_EQ(icon.size(), 16958u);
  auto u16 = [&](size_t at) { return uint32_t(icon[at] | icon[at + 1] << 8); };
  auto u32 = [&](size_t at) { return LoadU32(icon.data() + at); };
  EXPECT_EQ((std::array{u16(0), u16(2), u16(4)}), (std::array{0u, 1u, 1u}));  // reserved, icon, one image
  EXPECT_EQ((std::array<uint32_t, 4>{icon[6], icon[7], u16(10), u16(12)}), (std::array{64u, 64u, 1u, 32u}));
  EXPECT_EQ(u32(14), 40u + 16384u + 512u);
  EXPECT_EQ(u32(18), 22u);
  const size_t info = 22;
  EXPECT_EQ((std::array{u32(info), u32(info + 4), u32(info + 8)}), (std::array{40u, 64u, 128u}));
  EXPECT_EQ((std::array{u16(info + 12), u16(info + 14), u32(info + 16)}), (std::array{1u, 32u, 0u}));

  // Rows run bottom-up; the mask marks exactly the fully transparent pixels.
  const size_t colours = info + 40, mask = colours + 16384;
  size_t transparent = 0, opaque = 0;
  for (size_t row = 0; row < 64; ++row)
    for (size_t x = 0; x < 64; ++x) {
      const uint8_t alpha = icon[colours + (row * 64 + x) * 4 + 3];
      const bool masked = icon[mask + row * 8 + x / 8] & (0x80 >> (x % 8));
      EXPECT_EQ(masked, alpha == 0) << "row " << row << " x " << x;
      transparent += alpha == 0;
      opaque += alpha == 255;
    }
  EXPECT_GT(transparent, 0u);  // the badge's rounded corners
  EXPECT_GT(opaque, 64u * 64u / 2);
}

}  // namespace
}  // namespace vorrik
