// The Timer kind: when it ticks, that ticks never queue behind a slow
// handler, and what writes of its Interval do to the running period.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "shell/window_lifecycle.h"
#include "tests/win/property_test_kinds.h"
#include "tests/win/test_support.h"
#include "windows/kinds/timer.h"
#include "windows/kinds/timer_settings.h"

namespace vorrik {
namespace {

constexpr uint32_t kWindow = 0x5201000F, kOwnItem = 0x0601000E, kTimer = 0x16010042;
constexpr int32_t kInterval = 8;

int g_ticks = 0;
DWORD g_handlerSleep = 0;
std::optional<int32_t> CountTick(std::span<const uint32_t>) {
  ++g_ticks;
  if (g_handlerSleep) {
    Sleep(g_handlerSleep);
    g_handlerSleep = 0;
  }
  return std::nullopt;
}
constexpr HandlerRoutine kHandlers[] = {CountTick};

const KindEntryPoints kKinds[] = {test::TestWindowKind(), TimerKind()};

DescriptionSet TimerWindow(std::vector<uint8_t> settings) {
  ControlRecord window;
  window.kind = kKindWindow;
  window.width = window.height = 100;
  ControlRecord timer;
  timer.kind = kKindTimer;
  timer.state = kStateVisible;  // ignored: a timer is never shown
  timer.bindings = {{kEventTimerTick, 0}};
  timer.settings = std::move(settings);
  return test::OneWindowSet(kWindow, {{kOwnItem, EncodeControlRecord(window)}, {kTimer, EncodeControlRecord(timer)}});
}

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ticks = 0;
    g_handlerSleep = 0;
  }
  void TearDown() override {
    if (registry_ && Entry().Loaded()) DestroyWindow(Entry().objects[0]);
  }

  void Load(std::vector<uint8_t> settings) {
    registry_.emplace(TimerWindow(std::move(settings)), kHandlers);
    ASSERT_TRUE(LoadWindow(kWindow, nullptr, false));
  }
  void Load(int32_t interval) { Load(EncodeTimerSettings({interval})); }
  RegistryEntry& Entry() { return *registry_->Get().Find(kWindow); }
  HWND Timer() { return Entry().objects[1]; }
  void WriteInterval(int32_t value) { WriteProperty(kWindow, kTimer, kInterval, -1, static_cast<uint32_t>(value), 0); }
  uint32_t ReadInterval() { return TimerKind().GetProperty(Timer(), 0); }

  ScopedKindTable kinds_{kKinds};
  std::optional<test::ScopedRegistry> registry_;
};

TEST_F(TimerTest, StoppedTimersNeverTick) {
  const std::vector<uint8_t> stopped[] = {{}, EncodeTimerSettings({0}), EncodeTimerSettings({-20})};
  for (const auto& settings : stopped) {
    SCOPED_TRACE(settings.size());
    Load(settings);
    EXPECT_EQ(ReadInterval(), 0u);
    test::PumpMessagesFor(300);
    EXPECT_EQ(g_ticks, 0);
    DestroyLoadedWindow(kWindow, true);
  }
}

TEST_F(TimerTest, RunningTimerTicksAndIsNeverShown) {
  Load(30);
  EXPECT_FALSE(GetWindowLongA(Timer(), GWL_STYLE) & WS_VISIBLE);
  for (DWORD start = GetTickCount(); g_ticks == 0 && GetTickCount() - start < 2000;) test::PumpMessagesFor(10);
  EXPECT_GT(g_ticks, 0);
}

TEST_F(TimerTest, SlowHandlerBuildsNoBacklog) {
  Load(100);
  g_handlerSleep = 1500;
  for (DWORD start = GetTickCount(); g_ticks == 0 && GetTickCount() - start < 2000;) test::PumpMessagesFor(10);
  ASSERT_GE(g_ticks, 1);  // the first handler has slept through ~15 periods
  test::PumpMessagesFor(250);
  // One merged tick right after the handler returns, then the period again.
  EXPECT_GE(g_ticks - 1, 1);
  EXPECT_LE(g_ticks - 1, 3);
}

// Rewriting the same interval every 30 ms must leave a 100 ms period alone;
// alternating two values restarts it each time, so it never falls due.
TEST_F(TimerTest, OnlyANewIntervalRestartsThePeriod) {
  struct Case {
    int32_t first, second;
    bool ticks;
  } cases[] = {{100, 100, true}, {100, 101, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    Load(100);
    g_ticks = 0;
    for (int i = 0; i < 20; ++i) {
      WriteInterval(i % 2 ? c.second : c.first);
      test::PumpMessagesFor(30);
    }
    if (c.ticks) EXPECT_GE(g_ticks, 3);
    else EXPECT_EQ(g_ticks, 0);
    DestroyLoadedWindow(kWindow, true);
  }
}

TEST_F(TimerTest, IntervalWritesStopStartAndAreSaved) {
  Load(0);
  WriteInterval(-5);
  EXPECT_EQ(ReadInterval(), 0u);
  WriteInterval(40);
  EXPECT_EQ(ReadInterval(), 40u);
  EXPECT_EQ(TimerKind().SaveSettings(Timer()), EncodeTimerSettings({40}));
  for (DWORD start = GetTickCount(); g_ticks == 0 && GetTickCount() - start < 2000;) test::PumpMessagesFor(10);
  EXPECT_GT(g_ticks, 0);
  WriteInterval(-1);
  EXPECT_EQ(ReadInterval(), 0u);
  test::PumpMessagesFor(50);  // a tick already due may still arrive
  const int ticks = g_ticks;
  test::PumpMessagesFor(250);
  EXPECT_EQ(g_ticks, ticks);
  EXPECT_EQ(Timer(), Entry().objects[1]);  // written in place, never rebuilt
}

TEST_F(TimerTest, DestroyedTimerTellsTheShellAndStops) {
  Load(20);
  HWND timer = Timer();
  DestroyLoadedWindow(kWindow, true);
  EXPECT_FALSE(IsWindow(timer));
  EXPECT_EQ(Entry().objects[1], nullptr);
  const int ticks = g_ticks;
  test::PumpMessagesFor(100);
  EXPECT_EQ(g_ticks, ticks);
}

TEST_F(TimerTest, SettingsOfAnUnknownVersionFailTheBuild) {
  std::vector<uint8_t> future = EncodeTimerSettings({100});
  future[0] = 2;
  registry_.emplace(TimerWindow(future), kHandlers);
  EXPECT_FALSE(LoadWindow(kWindow, nullptr, false));
  EXPECT_FALSE(Entry().Loaded());
}

}  // namespace
}  // namespace vorrik
