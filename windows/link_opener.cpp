#include "windows/link_opener.h"

#include <windows.h>
#include <shellapi.h>

#include "shell/texts.h"

namespace vorrik {

// An empty link is not handed over: the shell would open the current
// directory in a file browser.
void OpenLink(ConstText link) {
  if (TextLength(link) == 0) return;
  Text copy = JoinTexts(link, nullptr);
  HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", copy, nullptr, nullptr, SW_SHOWNORMAL);
  ReleaseBlock(copy);
}

}  // namespace vorrik
