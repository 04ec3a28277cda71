// Delivering events to handlers: hold count, lookups, bindings, and the
// current event source.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "tests/win/test_support.h"

namespace vorrik {
namespace {

using test::ScopedRegistry;

constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000;
constexpr uint32_t kButton = 0x16010008, kOddKind = 0x16010009, kNoBindings = 0x1601000A;
constexpr uint32_t kMenuItem = 0x26010039, kMenuWithout = 0x2601003A;

std::vector<std::string> g_calls;
EventSource g_sourceSeen;

std::optional<int32_t> First(std::span<const uint32_t> args) {
  g_calls.push_back("first:" + std::to_string(args.size()));
  g_sourceSeen = CurrentEventSource();
  return std::nullopt;
}
std::optional<int32_t> Second(std::span<const uint32_t>) {
  g_calls.push_back("second");
  return 0;  // answers false
}
std::optional<int32_t> Menu(std::span<const uint32_t>) {
  g_calls.push_back("menu");
  return std::nullopt;
}
constexpr HandlerRoutine kHandlers[] = {First, Second, Menu};

std::vector<uint8_t> Control(uint32_t kind, std::vector<EventBinding> bindings) {
  ControlRecord record;
  record.kind = kind;
  record.bindings = std::move(bindings);
  return EncodeControlRecord(record);
}

std::vector<uint8_t> MenuItem(int32_t handler) {
  MenuItemRecord record;
  record.title = "刷新";
  record.handler = handler;
  return EncodeMenuItemRecord(record);
}

DescriptionSet TestSet() {
  return test::OneWindowSet(kWindow, {
                                         {kOwnItem, Control(kKindWindow, {{1, 1}, {0, 0}})},
                                         {kButton, Control(kKindButton, {{0, -1}, {0, 0}, {5, 1}, {0, 1}})},
                                         {kOddKind, Control(0x00010077, {{0, 0}})},
                                         {kNoBindings, Control(kKindLabel, {})},
                                         {kMenuItem, MenuItem(2)},
                                         {kMenuWithout, MenuItem(-1)},
                                     });
}

class RaiseEventTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    g_sourceSeen = {};
  }
  ScopedRegistry registry_{TestSet(), kHandlers};
};

EventRecord Event(uint32_t item, int32_t number) {
  EventRecord record;
  record.window = kWindow;
  record.item = item;
  record.event = number;
  return record;
}

TEST_F(RaiseEventTest, FirstPairWithTheNumberWinsAndCanMeanNoHandler) {
  struct Case {
    uint32_t item;
    int32_t event;
    bool raised;
    std::vector<std::string> calls;
  } cases[] = {
      {kOwnItem, 0, true, {"first:0"}},   // the window's own item by identifier
      {0, 1, true, {"second"}},           // and by no identifier
      {kButton, 0, false, {}},            // first pair for 0 is empty: later pairs do not count
      {kButton, 5, true, {"second"}},
      {kButton, 7, false, {}},            // no pair
      {kNoBindings, 0, false, {}},
  };
  for (const auto& c : cases) {
    g_calls.clear();
    EventRecord record = Event(c.item, c.event);
    EXPECT_EQ(RaiseEvent(record), c.raised) << std::hex << c.item << " event " << c.event;
    EXPECT_EQ(g_calls, c.calls) << std::hex << c.item << " event " << c.event;
  }
}

TEST_F(RaiseEventTest, MenuItemHasOneSlotWhateverTheNumber) {
  for (int32_t number : {0, 1, -8, 12345}) {
    EventRecord record = Event(kMenuItem, number);
    EXPECT_TRUE(RaiseEvent(record));
  }
  EXPECT_THAT(g_calls, ::testing::ElementsAre("menu", "menu", "menu", "menu"));
  EventRecord none = Event(kMenuWithout, 0);
  EXPECT_FALSE(RaiseEvent(none));
}

TEST_F(RaiseEventTest, ArgumentsAnswerAndSourceReachTheHandler) {
  EventRecord record = Event(kOwnItem, 0);
  record.argumentCount = 1;
  record.arguments[0] = 250;
  EXPECT_TRUE(RaiseEvent(record));
  EXPECT_THAT(g_calls, ::testing::ElementsAre("first:1"));
  EXPECT_FALSE(record.answered);
  EXPECT_EQ(g_sourceSeen.window, kWindow);
  EXPECT_EQ(g_sourceSeen.item, kOwnItem);
  EXPECT_EQ(CurrentEventSource().window, 0u);  // cleared once the handler returned

  EventRecord query = Event(kOwnItem, 1);
  EXPECT_TRUE(RaiseEvent(query));
  EXPECT_TRUE(query.answered);
  EXPECT_EQ(query.answer, 0);
}

TEST_F(RaiseEventTest, EventsAreDroppedWhileHeld) {
  {
    EventHold hold;
    EventRecord record = Event(kOwnItem, 0);
    EXPECT_FALSE(RaiseEvent(record));
    EventRecord unknown = Event(0x5201FFFF, 0);  // not even looked up
    EXPECT_FALSE(RaiseEvent(unknown));
  }
  EXPECT_TRUE(g_calls.empty());
  EventRecord record = Event(kOwnItem, 0);
  EXPECT_TRUE(RaiseEvent(record));
}

using RaiseEventDeathTest = RaiseEventTest;

TEST_F(RaiseEventDeathTest, LookupFailuresAreReportedAndEndTheProgram) {
  SetErrorBoxPresenter(test::PrintErrorBox);
  struct Case {
    uint32_t window, item;
    const char* message;
  } cases[] = {
      {0x5201FFFF, kOwnItem, "未找到引发事件的窗口"},
      {kWindow, 0x1601FFFF, "未找到引发事件的窗口组件"},
      {kWindow, kOddKind, "引发事件的窗口组件无效"},
  };
  for (const auto& c : cases) {
    std::string box = test::EscapedBox("错误", std::string("运行时出错!\r\n\r\n错误信息：") + c.message + "\r\n");
    EXPECT_EXIT(
        {
          EventRecord record = Event(c.item, 0);
          record.window = c.window;
          RaiseEvent(record);
        },
        ::testing::ExitedWithCode(-1), ::testing::HasSubstr(box + " flags-ok"));
  }
  SetErrorBoxPresenter(nullptr);
}

}  // namespace
}  // namespace vorrik
