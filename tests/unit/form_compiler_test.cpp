// The window-form compiler: texts, a small form end to end, and the errors
// that stop the build with the form's file and line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tools/forms/form_reader.h"
#include "windows/forms/handler_names.h"
#include "windows/kinds/timer_settings.h"

namespace vorrik::forms {
namespace {

// Forms and defines arrive as UTF-8, while this file's plain literals are
// GBK like the texts the compiler produces.
std::string Utf8(std::u8string_view text) { return {reinterpret_cast<const char*>(text.data()), text.size()}; }

const Defines kDefines = {{"HOST", "game.example"}, {"WIDE", Utf8(u8"桌面")}};

TEST(HandlerNamesTest, KeysAreIndicesIntoTheList) {
  ASSERT_EQ(HandlerNames().size(), size_t(kHandlerCount));
  for (int32_t key = 0; key < kHandlerCount; ++key) EXPECT_EQ(FindHandlerKey(HandlerNames()[key]), key);
  EXPECT_EQ(FindHandlerKey("ClockTick"), kClockTick);
  EXPECT_EQ(FindHandlerKey("ContactAuthorSelected"), kContactAuthorSelected);
  EXPECT_FALSE(FindHandlerKey("clocktick"));
  EXPECT_FALSE(FindHandlerKey(""));
}

TEST(FormTextTest, QuotedTextsBecomeGbkWithRawEscapes) {
  const struct {
    std::u8string_view source;
    std::string bytes;
  } cases[] = {
      {u8R"("plain")", "plain"},
      {u8R"("关闭×")", "关闭×"},
      {u8R"("扣扣\xA3  ")", "扣扣\xA3  "},
      {u8R"("a\\b\"c")", "a\\b\"c"},
      {u8R"("http://${HOST}/x")", "http://game.example/x"},
      {u8R"("${WIDE}版")", "桌面版"},
      {u8R"("")", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    auto lines = SplitForm("title " + Utf8(c.source) + "  # comment", "t.form", kDefines);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].tokens.size(), 2u);
    EXPECT_TRUE(lines[0].tokens[1].quoted);
    EXPECT_EQ(lines[0].tokens[1].text, c.bytes);
  }
}

TEST(FormTextTest, NumbersAndTheirLimits) {
  const Where where{"t.form", 1};
  EXPECT_EQ(ParseU32({"0xFF000000"}, where), 0xFF000000u);
  EXPECT_EQ(ParseU32({"4294967295"}, where), 4294967295u);
  EXPECT_EQ(ParseI32({"-32"}, where), -32);
  EXPECT_EQ(ParseI32({"-2147483648"}, where), INT32_MIN);
  for (const char* bad : {"4294967296", "-1", "12a", "", "0x", "1.5"})
    EXPECT_THROW(ParseU32({bad}, where), FormError) << bad;
  EXPECT_THROW(ParseI32({"2147483648"}, where), FormError);
  EXPECT_THROW(ParseU32({"7", true}, where), FormError);  // quoted is text
}

// A small valid form; the error cases each change one piece of it.
constexpr std::u8string_view kForm =
    u8R"(window 0x52010001 Test
header 0x8056 0x1901001E "" ""
entry 0x06010000 window ""
  position 1 2 300 200
  parent window
  state visible
  tab 0
  settings none
entry 0x16010042 Timer "时钟1"
  position -8 656 40 24
  parent window
  state none
  tab 3
  on 0 ClockTick
  settings 1
    Interval 1000
entry 0x2601003A menu ""
  level 0
  shortcut 5
  flags disabled
  title "刷新"
  handler ReloadGameSelected
)";

std::string Edited(std::u8string_view from, std::u8string_view to) {
  std::string form = Utf8(kForm);
  size_t at = form.find(Utf8(from));
  EXPECT_NE(at, std::string::npos) << Utf8(from);
  return form.replace(at, from.size(), Utf8(to));
}

TEST(FormReaderTest, SmallFormBecomesItsTable) {
  const WindowForm form = ParseForm(Utf8(kForm), "t.form", kDefines, {});
  EXPECT_EQ(form.id, 0x52010001u);
  EXPECT_EQ(form.name, "Test");
  EXPECT_EQ(form.description.header1, 0x8056u);
  const ControlTable& table = form.description.table;
  ASSERT_EQ(table.Count(), 3u);
  auto window = DecodeControlRecord(table.Record(0));
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->settings.empty());
  EXPECT_EQ(window->state, kStateVisible);

  auto timer = DecodeControlRecord(table.Record(1));
  ASSERT_TRUE(timer);
  EXPECT_EQ(timer->name, "时钟1");
  EXPECT_EQ(timer->left, -8);
  EXPECT_EQ(timer->tabOrder, 3u);
  EXPECT_EQ(timer->bindings, (std::vector<EventBinding>{{0, kClockTick}}));
  EXPECT_EQ(DecodeTimerSettings(timer->settings), TimerSettings{1000});

  auto item = DecodeMenuItemRecord(table.Record(2));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->shortcut, 5u);
  EXPECT_EQ(item->flags, kMenuDisabled);
  EXPECT_EQ(item->title, "刷新");
  EXPECT_EQ(item->handler, kReloadGameSelected);
}

TEST(FormReaderTest, ErrorsNameFileLineAndCause) {
  const struct {
    std::u8string_view from, to;
    const char* error;
  } cases[] = {
      {u8"  tab 3", u8"  colour 3", "t.form:13: unknown key 'colour'"},
      {u8"position -8 656", u8"position -8 6x6", "t.form:10: bad signed number '6x6'"},
      {u8"on 0 ClockTick", u8"on 0 ClockTock", "t.form:14: unknown handler 'ClockTock'"},
      {u8"handler ReloadGameSelected", u8"handler Reload", "t.form:22: unknown handler 'Reload'"},
      {u8"  tab 3\n", u8"", "t.form:9: entry lacks 'tab'"},
      {u8"  title \"刷新\"\n", u8"", "t.form:17: entry lacks 'title'"},
      {u8"    Interval 1000", u8"", "t.form:9: TimerSettings lack Interval"},
      {u8"    Interval 1000", u8"    Period 1000", "t.form:16: unknown field 'Period' of TimerSettings"},
      {u8"  settings 1\n", u8"  settings 2\n", "t.form:15: TimerSettings are written at version 1"},
      {u8"  settings none", u8"  settings none\n    Title \"x\"", "t.form:9: an empty settings block has no fields"},
      {u8"\"刷新\"", u8"\"刷新\\q\"", "t.form:21: bad escape"},
      {u8"\"刷新\"", u8"\"${NOPE}\"", "t.form:21: no value for ${NOPE}"},
      {u8"\"刷新\"", u8"\"😀\"", "t.form:21: text is not UTF-8 that GBK can hold"},
      {u8"\"刷新\"", u8"\"刷新", "t.form:21: unterminated text"},
      {u8"Timer \"时钟1\"", u8"Clock \"时钟1\"", "t.form:9: unknown kind 'Clock'"},
      {u8"entry 0x16010042", u8"entry 0x06010000", "t.form:9: identifier used twice"},
      {u8"entry 0x2601003A", u8"entry 0x1601003A", "t.form:17: menu items, and only they"},
      {u8"  parent window\n  state none", u8"  parent 0x16010099\n  state none", "t.form:9: parent is not a control"},
      {u8"header 0x8056 0x1901001E \"\" \"\"\n", u8"", "t.form:21: the form has no 'header' line"},
      {u8"window 0x52010001 Test", u8"windows 0x52010001 Test", "t.form:1: expected 'window', 'header' or 'entry'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    try {
      ParseForm(Edited(c.from, c.to), "t.form", kDefines, {});
      ADD_FAILURE() << "no error";
    } catch (const FormError& error) {
      EXPECT_EQ(std::string(error.what()).substr(0, std::strlen(c.error)), c.error) << error.what();
    }
  }
}

TEST(FormReaderTest, ContainersMustAgreeWithTheirChildren) {
  const std::string form = Utf8(kForm) + Utf8(
                                             u8R"(entry 0x16010002 GroupBox "框"
  position 0 0 10 10
  parent window
  children 0x16010042
  state visible
  tab 0
  settings none
)");
  // The group box lists the timer, but the timer names the window as its container.
  EXPECT_THROW(ParseForm(form, "t.form", kDefines, {}), FormError);
  try {
    ParseForm(form, "t.form", kDefines, {});
  } catch (const FormError& error) {
    EXPECT_NE(std::string(error.what()).find("t.form:23:"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace vorrik::forms
