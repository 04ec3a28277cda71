#include "windows/kinds/kind.h"
#include "windows/description.h"
#include "windows/kinds/button.h"
#include "windows/kinds/group_box.h"
#include "windows/kinds/html_viewer.h"
#include "windows/kinds/label.h"
#include "windows/kinds/timer.h"
#include "windows/kinds/window.h"

namespace vorrik {
namespace {

// Each kind adds its entry here as it is built in; a window whose
// description names a kind not listed cannot be built.
const KindEntryPoints kBuiltinKinds[] = {
    WindowKind(),
    TimerKind(),
    {kKindGroupBox, "分组框", "GroupBox", group_box::kProperties, false, false, group_box::Create,
     group_box::SetProperty, group_box::GetProperty, group_box::SaveSettings},
    {kKindLabel, "标签", "Label", label::kProperties, false, false, label::Create, label::SetProperty,
     label::GetProperty, label::SaveSettings},
    {kKindButton, "按钮", "Button", button::kProperties, false, false, button::Create, button::SetProperty,
     button::GetProperty, button::SaveSettings},
    HtmlViewerKind(),
};

std::span<const KindEntryPoints> g_kinds = kBuiltinKinds;

}  // namespace

std::span<const KindEntryPoints> BuiltinKinds() { return g_kinds; }

const KindEntryPoints* FindKind(uint32_t code) {
  for (const auto& kind : g_kinds)
    if (code != 0 && kind.code == code && kind.Create) return &kind;
  return nullptr;
}

ScopedKindTable::ScopedKindTable(std::span<const KindEntryPoints> kinds) : previous_(g_kinds) { g_kinds = kinds; }
ScopedKindTable::~ScopedKindTable() { g_kinds = previous_; }

}  // namespace vorrik
