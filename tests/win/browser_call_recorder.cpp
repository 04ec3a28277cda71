// Built with the C form of the interfaces: their function tables are plain
// structures with named entries.
#define CINTERFACE
#include "tests/win/browser_call_recorder.h"

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>

#include <utility>

namespace vorrik::test {
namespace {

IWebBrowser2Vtbl* g_table = nullptr;
IWebBrowser2Vtbl g_original;
std::vector<std::string> g_calls;

std::string Narrow(const wchar_t* text) {
  if (!text) return "null";
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
  return result;
}

std::string Describe(const VARIANT* value) {
  if (!value) return "null";
  switch (V_VT(value)) {
    case VT_EMPTY: return "-";
    case VT_I4: return std::to_string(V_I4(value));
    case VT_BSTR: {
      std::string quoted(1, '"');
      quoted += Narrow(V_BSTR(value));
      return quoted += '"';
    }
    default: return "vt" + std::to_string(V_VT(value));
  }
}

std::string Flag(VARIANT_BOOL value) {
  return value == VARIANT_TRUE ? "true" : value == VARIANT_FALSE ? "false" : std::to_string(value);
}

HRESULT STDMETHODCALLTYPE ExecWB(IWebBrowser2* self, OLECMDID command, OLECMDEXECOPT option, VARIANT* in,
                                 VARIANT* out) {
  g_calls.push_back("ExecWB(" + std::to_string(command) + "," + std::to_string(option) + "," +
                    (in && V_VT(in) == VT_I4 ? std::to_string(V_I4(in)) : Describe(in)) + (out ? ",out" : "") + ")");
  return g_original.ExecWB(self, command, option, in, out);
}

HRESULT STDMETHODCALLTYPE PutOffline(IWebBrowser2* self, VARIANT_BOOL value) {
  g_calls.push_back("put_Offline(" + Flag(value) + ")");
  return g_original.put_Offline(self, value);
}

HRESULT STDMETHODCALLTYPE PutSilent(IWebBrowser2* self, VARIANT_BOOL value) {
  g_calls.push_back("put_Silent(" + Flag(value) + ")");
  return g_original.put_Silent(self, value);
}

HRESULT STDMETHODCALLTYPE Navigate(IWebBrowser2* self, BSTR address, VARIANT* flags, VARIANT* frame, VARIANT* postData,
                                   VARIANT* headers) {
  g_calls.push_back("Navigate(" + Narrow(address) + "," + Describe(flags) + "," + Describe(frame) + "," +
                    Describe(postData) + "," + Describe(headers) + ")");
  return g_original.Navigate(self, address, flags, frame, postData, headers);
}

bool Patch(IWebBrowser2Vtbl* table, const IWebBrowser2Vtbl& with) {
  DWORD previous = 0;
  if (!VirtualProtect(table, sizeof *table, PAGE_READWRITE, &previous)) return false;
  *table = with;
  VirtualProtect(table, sizeof *table, previous, &previous);
  FlushInstructionCache(GetCurrentProcess(), table, sizeof *table);
  return true;
}

}  // namespace

BrowserCallRecorder::BrowserCallRecorder() {
  IWebBrowser2* browser = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2,
                              reinterpret_cast<void**>(&browser))))
    return;
  g_table = browser->lpVtbl;
  g_original = *g_table;
  IWebBrowser2Vtbl recording = g_original;
  recording.ExecWB = ExecWB;
  recording.put_Offline = PutOffline;
  recording.put_Silent = PutSilent;
  recording.Navigate = Navigate;
  installed_ = Patch(g_table, recording);
  browser->lpVtbl->Release(browser);
  g_calls.clear();
}

BrowserCallRecorder::~BrowserCallRecorder() {
  if (installed_) Patch(g_table, g_original);
}

std::vector<std::string> BrowserCallRecorder::Take() { return std::exchange(g_calls, {}); }

}  // namespace vorrik::test
