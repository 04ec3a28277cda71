// The control's events: those the real component raises under Wine while a
// page loads, and those Wine never sends, raised by driving the control's
// sink with the dispatch identifiers and arguments the component passes;
// refusals, and a handler that closes the window.
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <exdispid.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "tests/win/html_viewer_fixture.h"
#include "windows/kinds/browser_site.h"
#include "windows/kinds/html_viewer.h"

namespace vorrik {
namespace {

using namespace test;
using ::testing::ElementsAre;

// ---- Notices as the component passes them

class Bstr {
 public:
  explicit Bstr(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    text_ = SysAllocString(wide.c_str());
  }
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

VARIANT Value(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  return v;
}
VARIANT Long(int32_t value) {
  VARIANT v = Value(VT_I4);
  V_I4(&v) = value;
  return v;
}
VARIANT Bool(bool value) {
  VARIANT v = Value(VT_BOOL);
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
VARIANT String(const Bstr& text) {
  VARIANT v = Value(VT_BSTR);
  V_BSTR(&v) = text.get();
  return v;
}
VARIANT Reference(VARIANT* target) {
  VARIANT v = Value(VT_BYREF | VT_VARIANT);
  V_VARIANTREF(&v) = target;
  return v;
}
VARIANT BoolReference(VARIANT_BOOL* target) {
  VARIANT v = Value(VT_BYREF | VT_BOOL);
  V_BOOLREF(&v) = target;
  return v;
}
VARIANT Dispatch(IDispatch* object) {
  VARIANT v = Value(VT_DISPATCH);
  V_DISPATCH(&v) = object;
  return v;
}
VARIANT DispatchReference(IDispatch** target) {
  VARIANT v = Value(VT_BYREF | VT_DISPATCH);
  V_DISPATCHREF(&v) = target;
  return v;
}

// Arguments in declaration order; DISPPARAMS carries them last first.
HRESULT Fire(IDispatch& sink, DISPID id, std::vector<VARIANT> arguments) {
  std::reverse(arguments.begin(), arguments.end());
  DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  return sink.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

// The notices that carry an address, as the component raises them.
struct Navigation {
  Bstr address;
  VARIANT url, flags = Long(0), frame = Value(VT_EMPTY), postData = Value(VT_EMPTY), headers = Value(VT_EMPTY);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  explicit Navigation(const char* text) : address(text), url(String(address)) {}

  HRESULT Before(IDispatch& sink, IDispatch* browser) {
    return Fire(sink, DISPID_BEFORENAVIGATE2,
                {Dispatch(browser), Reference(&url), Reference(&flags), Reference(&frame), Reference(&postData),
                 Reference(&headers), BoolReference(&cancel)});
  }
  HRESULT Complete(IDispatch& sink, DISPID id, IDispatch* browser) {
    return Fire(sink, id, {Dispatch(browser), Reference(&url)});
  }
};

// ---- From the real component

// What Wine's component does raise while a page loads.
TEST_F(HtmlViewerTest, TheRealComponentsNoticesArriveAsEvents) {
  ASSERT_TRUE(Load({}));
  const std::string page = server_.Address("page.htm");
  WriteText(kUrlProperty, page);
  ASSERT_TRUE(WaitForGets("page.htm", 1));
  ASSERT_TRUE(PumpUntil([] {
    auto events = EventsSeen();
    return std::find(events.begin(), events.end(), html_viewer::kDownloadComplete) != events.end();
  }));
  const auto events = EventsSeen();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), html_viewer::kBeforeNavigate);
  EXPECT_TRUE(std::find(events.begin(), events.end(), html_viewer::kDownloadBegin) < 
              std::find(events.begin(), events.end(), html_viewer::kDownloadComplete));
  // Going back and forward is announced as not possible, and the status
  // line names the page being fetched.
  for (const Seen& seen : g_seen) {
    if (seen.event == html_viewer::kCommandStateChange) {
      ASSERT_EQ(seen.arguments.size(), 2u);
      EXPECT_LE(seen.arguments[0], 1u);
      EXPECT_EQ(seen.arguments[1], 0u);
    }
  }
  EXPECT_TRUE(std::any_of(g_seen.begin(), g_seen.end(), [&](const Seen& seen) {
    return seen.event == html_viewer::kStatusTextChange && seen.status.find(page) != std::string::npos;
  }));
}

// ---- Notices Wine never sends, driven through the sink

TEST_F(HtmlViewerTest, DrivenNoticesRaiseTheirEventsWithTheirArgumentsAndTexts) {
  const std::string page = server_.Address("shown.htm");
  ASSERT_TRUE(Load(ViewerSettings(page)));
  ASSERT_TRUE(WaitForGets("shown.htm", 1));
  auto sink = SinkOf(Viewer());
  ASSERT_TRUE(sink);
  auto browser = html_viewer::ComponentOf(Viewer()).As<IDispatch>(IID_IDispatch);
  g_seen.clear();

  Navigation arrived("http://elsewhere.example/arrived.htm");
  ASSERT_EQ(arrived.Complete(*sink, DISPID_NAVIGATECOMPLETE2, browser.get()), S_OK);
  Navigation done("http://elsewhere.example/done.htm");
  ASSERT_EQ(done.Complete(*sink, DISPID_DOCUMENTCOMPLETE, browser.get()), S_OK);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].event, html_viewer::kNavigateComplete);
  EXPECT_EQ(g_seen[0].url, "http://elsewhere.example/arrived.htm");
  EXPECT_EQ(g_seen[1].event, html_viewer::kDocumentComplete);
  EXPECT_EQ(g_seen[1].url, "http://elsewhere.example/done.htm");
  EXPECT_EQ(Read(html_viewer::kUrl), page);  // outside the events: the address shown

  g_seen.clear();
  const Bstr status("正在打开网页"), title("游戏标题");
  Fire(*sink, DISPID_STATUSTEXTCHANGE, {String(status)});
  Fire(*sink, DISPID_TITLECHANGE, {String(title)});
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].event, html_viewer::kStatusTextChange);
  EXPECT_EQ(g_seen[0].status, "正在打开网页");
  EXPECT_EQ(g_seen[1].event, html_viewer::kTitleChange);
  EXPECT_EQ(g_seen[1].caption, "游戏标题");
  EXPECT_EQ(Read(html_viewer::kStatusText), "正在打开网页");  // kept until the next change
  EXPECT_NE(Read(html_viewer::kCaption), "游戏标题");        // the component's own again

  const struct {
    DISPID id;
    std::vector<VARIANT> arguments;
    std::vector<std::vector<uint32_t>> raised;  // the arguments of each event raised
    int32_t event;
  } cases[] = {
      {DISPID_DOWNLOADBEGIN, {}, {{}}, html_viewer::kDownloadBegin},
      {DISPID_DOWNLOADCOMPLETE, {}, {{}}, html_viewer::kDownloadComplete},
      {DISPID_PROGRESSCHANGE, {Long(50), Long(200)}, {{25}}, html_viewer::kProgressChange},
      {DISPID_PROGRESSCHANGE, {Long(2), Long(3)}, {{67}}, html_viewer::kProgressChange},  // rounded
      {DISPID_PROGRESSCHANGE, {Long(1), Long(3)}, {{33}}, html_viewer::kProgressChange},
      {DISPID_PROGRESSCHANGE, {Long(7), Long(0)}, {{100}}, html_viewer::kProgressChange},  // no maximum
      {DISPID_COMMANDSTATECHANGE, {Long(CSC_NAVIGATEFORWARD), Bool(true)}, {{0, 1}}, html_viewer::kCommandStateChange},
      {DISPID_COMMANDSTATECHANGE, {Long(CSC_NAVIGATEBACK), Bool(false)}, {{1, 0}}, html_viewer::kCommandStateChange},
      {DISPID_COMMANDSTATECHANGE, {Long(CSC_UPDATECOMMANDS), Bool(true)}, {}, -1},  // not forward or back
      {DISPID_PROPERTYCHANGE, {String(status)}, {}, -1},
      {DISPID_ONQUIT, {}, {}, -1},
      {DISPID_ONVISIBLE, {Bool(true)}, {}, -1},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(n++);
    g_seen.clear();
    EXPECT_EQ(Fire(*sink, c.id, c.arguments), S_OK);
    ASSERT_EQ(g_seen.size(), c.raised.size());
    for (size_t i = 0; i < g_seen.size(); ++i) {
      EXPECT_EQ(g_seen[i].event, c.event);
      EXPECT_EQ(g_seen[i].arguments, c.raised[i]);
    }
  }
}

TEST_F(HtmlViewerTest, DrivenNavigationAndNewWindowAreRefusedOnlyByAnAnsweredFalse) {
  ASSERT_TRUE(Load({}));
  auto sink = SinkOf(Viewer());
  ASSERT_TRUE(sink);
  auto browser = html_viewer::ComponentOf(Viewer()).As<IDispatch>(IID_IDispatch);
  const struct {
    std::optional<int32_t> answer;
    bool refused;
  } cases[] = {{std::nullopt, false}, {1, false}, {-1, false}, {0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or(99));
    g_seen.clear();
    g_answers[html_viewer::kBeforeNavigate] = g_answers[html_viewer::kNewWindow] = c.answer;
    Navigation target("http://elsewhere.example/target.htm");
    ASSERT_EQ(target.Before(*sink, browser.get()), S_OK);
    EXPECT_EQ(target.cancel, c.refused ? VARIANT_TRUE : VARIANT_FALSE);

    IDispatch* newBrowser = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    ASSERT_EQ(Fire(*sink, DISPID_NEWWINDOW2, {DispatchReference(&newBrowser), BoolReference(&cancel)}), S_OK);
    EXPECT_EQ(cancel, c.refused ? VARIANT_TRUE : VARIANT_FALSE);

    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].event, html_viewer::kBeforeNavigate);
    EXPECT_EQ(g_seen[0].url, "http://elsewhere.example/target.htm");
    EXPECT_EQ(g_seen[1].event, html_viewer::kNewWindow);
    EXPECT_TRUE(g_seen[1].arguments.empty());
  }
}

// The window goes inside the handler; the control must not touch itself
// afterwards, and the sink, still held by its caller, raises nothing more.
TEST_F(HtmlViewerTest, AHandlerThatClosesTheWindowLeavesTheControlAlone) {
  const std::string page = server_.Address("closing.htm");
  ASSERT_TRUE(Load(ViewerSettings(page)));
  ASSERT_TRUE(WaitForGets("closing.htm", 1));
  auto sink = SinkOf(Viewer());
  ASSERT_TRUE(sink);
  HWND viewer = Viewer();
  g_seen.clear();
  g_closeOnEvent = html_viewer::kNavigateComplete;
  Navigation arrived("http://elsewhere.example/arrived.htm");
  EXPECT_EQ(arrived.Complete(*sink, DISPID_NAVIGATECOMPLETE2, nullptr), S_OK);
  EXPECT_THAT(EventsSeen(), ElementsAre(html_viewer::kNavigateComplete));
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_FALSE(Entry().Loaded());

  EXPECT_EQ(arrived.Complete(*sink, DISPID_DOCUMENTCOMPLETE, nullptr), S_OK);
  EXPECT_EQ(Fire(*sink, DISPID_DOWNLOADBEGIN, {}), S_OK);
  EXPECT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(BrowserSite::LiveCount(), 1);  // held by the test's reference alone
  sink.Reset();
  EXPECT_EQ(BrowserSite::LiveCount(), 0);

  // The same from inside the component's own call: Navigate raises
  // BeforeNavigate2 under Wine, and that handler closes the window.
  ASSERT_TRUE(Load({}));
  g_closeOnEvent = html_viewer::kBeforeNavigate;
  WriteText(kUrlProperty, server_.Address("never.htm"));
  EXPECT_FALSE(Entry().Loaded());
  EXPECT_EQ(BrowserSite::LiveCount(), 0);
}

}  // namespace
}  // namespace vorrik
