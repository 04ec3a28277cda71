#include "windows/link_opener.h"

#include <windows.h>
#include <shellapi.h>

#include "shell/texts.h"

namespace vorrik {

void OpenLink(ConstText link) {
  Text copy = JoinTexts(link, nullptr);
  HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", copy, nullptr, nullptr, SW_SHOWNORMAL);
  ReleaseBlock(copy);
}

}  // namespace vorrik
