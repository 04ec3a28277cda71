// Records the calls made on the WebBrowser components of this process by
// replacing a few entries of the component's IWebBrowser2 table while the
// recorder exists; each call is passed on to the component.
#pragma once
#include <string>
#include <vector>

namespace vorrik::test {

class BrowserCallRecorder {
 public:
  BrowserCallRecorder();
  ~BrowserCallRecorder();
  BrowserCallRecorder(const BrowserCallRecorder&) = delete;
  BrowserCallRecorder& operator=(const BrowserCallRecorder&) = delete;

  bool Installed() const { return installed_; }
  // The calls since the last Take, as "ExecWB(19,2,4)", "put_Offline(true)",
  // "put_Silent(false)" and "Navigate(address,0,\"\",-,-)".
  std::vector<std::string> Take();

 private:
  bool installed_ = false;
};

}  // namespace vorrik::test
