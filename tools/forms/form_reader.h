// Reads one window form into its stored description.
//
// A form is a list of lines:
//   window <identifier> <name>             the window, by its directory identifier
//   header <word 1> <word 2> "<text 1>" "<text 2>"
//   entry <identifier> <kind> "<name>"     one table entry, in table order
// followed, for each entry, by its fields. A control (kinds window, GroupBox,
// Label, Button, Timer, HtmlViewer) has
//   position <left> <top> <width> <height>
//   parent window | <identifier>           its container
//   state none | visible disabled tabstop
//   tab <order>
//   children <identifier>...               optional: the controls it holds
//   pointer <number>                       optional, 0: the kind's own pointer
//   tag "<text>", remark "<text>"          optional, empty
//   on <event> <handler>                   optional, repeatable
//   settings none | <version>              last; then one line per settings field
// and a menu item (kind menu) has
//   level <n>, shortcut <n>, flags none | hidden disabled checked,
//   title "<text>", handler <handler> | none, remark "<text>" (optional).
// Handlers are named; the set stores their keys.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "tools/forms/form_settings.h"
#include "tools/forms/form_text.h"
#include "windows/description.h"

namespace vorrik::forms {

struct WindowForm {
  std::string name;
  uint32_t id = 0;
  WindowDescription description;
};

WindowForm ParseForm(std::string_view content, const std::string& file, const Defines& defines,
                     const SearchPath& files);
WindowForm ReadForm(const std::filesystem::path& file, const Defines& defines, const SearchPath& files);

}  // namespace vorrik::forms
