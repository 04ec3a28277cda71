// The HtmlViewer kind: a white child window of its own that hosts the
// system's WebBrowser component and turns its notifications into events.
// Nothing here waits for a page: pages arrive while messages are pumped.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <array>
#include <cstdint>
#include <vector>

#include "windows/kinds/com_ptr.h"
#include "windows/kinds/kind.h"

namespace vorrik {

const KindEntryPoints& HtmlViewerKind();

// Offers a key or mouse message to a browser control of the root window
// that holds the focus, before the window's own key handling; true when
// the component took it.
bool TranslateForFocusedViewer(HWND root, MSG& message);

namespace html_viewer {

enum OwnIndex : int32_t { kFontSize = 0, kOffline = 1, kSilent = 2, kUrl = 3, kStatusText = 4, kCaption = 5 };

enum Event : int32_t {
  kBeforeNavigate = 0,
  kNavigateComplete = 1,
  kDownloadBegin = 2,
  kProgressChange = 3,
  kDownloadComplete = 4,
  kDocumentComplete = 5,
  kStatusTextChange = 6,
  kTitleChange = 7,
  kCommandStateChange = 8,
  kNewWindow = 9,
};

extern const std::array<PropertyType, 14> kProperties;

HWND Create(const CreateArguments& args);
// Texts are read and written as Text values; what GetProperty hands out
// stays the control's, valid until its next read or write.
bool SetProperty(HWND control, int32_t ownIndex, uint32_t value);
uint32_t GetProperty(HWND control, int32_t ownIndex);
std::vector<uint8_t> SaveSettings(HWND control);

// The control's component, for callers that drive it directly; empty for
// a window that is not a live browser control.
ComPtr<IWebBrowser2> ComponentOf(HWND control);

}  // namespace html_viewer
}  // namespace vorrik
