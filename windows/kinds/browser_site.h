// The site that hosts the system's WebBrowser component in place inside a
// control's window and hears its DWebBrowserEvents2 notifications.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <cstdint>
#include <string>

#include "windows/kinds/com_ptr.h"

namespace vorrik {

// A text of the component in the system code page, the program's own.
std::string SystemText(const wchar_t* text, UINT length);

// One notification of the component, its arguments decoded; texts are in
// the system code page.
struct BrowserNotice {
  enum Kind {
    kBeforeNavigate,
    kNavigateComplete,
    kDownloadBegin,
    kProgressChange,
    kDownloadComplete,
    kDocumentComplete,
    kStatusTextChange,
    kTitleChange,
    kCommandStateChange,
    kNewWindow,
  };
  Kind kind = kDownloadBegin;
  std::string text;  // the address, status text or title
  int32_t progress = 0, progressMax = 0;
  int32_t command = 0;  // CSC_NAVIGATEFORWARD, CSC_NAVIGATEBACK or another
  bool enabled = false;
};

// The control that hosts the component.
class BrowserHost {
 public:
  virtual HWND HostWindow() const = 0;
  // True asks the component not to go ahead; only a navigation or a new
  // window can be held back.
  virtual bool OnNotice(const BrowserNotice& notice) = 0;

 protected:
  ~BrowserHost() = default;
};

// Reference counted: the component holds references to it too.
class BrowserSite {
 public:
  // The component in place in the host's window, filling its client area,
  // its events advised. Empty when any step fails; nothing then remains.
  static ComPtr<BrowserSite> Create(BrowserHost& host);
  // Sites that still exist, for leak checks.
  static int LiveCount();
  // Closes every site still hosting a component. The program's end calls it
  // while OLE is still there: a run-time error report ends the program with
  // its windows up, and the component must not outlive OLE.
  static void CloseAll();

  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

  virtual IWebBrowser2* Browser() const = 0;
  virtual HWND ComponentWindow() const = 0;
  // Fits the component to the host window's client area.
  virtual void Fit() = 0;
  // Offers a key or mouse message to the component; true when it took it.
  virtual bool TranslateAccelerator(MSG& message) = 0;
  // Ends the hosting and detaches the host: no notice reaches it afterwards.
  virtual void Close() = 0;
  virtual bool Attached() const = 0;

 protected:
  virtual ~BrowserSite() = default;
};

}  // namespace vorrik
