#include "tests/fuzz/read_everything.h"

#include "windows/description.h"
#include "windows/forms/handler_names.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/html_viewer_settings.h"
#include "windows/kinds/label_settings.h"
#include "windows/kinds/timer_settings.h"
#include "windows/kinds/window_settings.h"
#include "windows/menu_plan.h"

namespace vorrik {
namespace {

void ReadSettings(uint32_t kind, std::span<const uint8_t> block) {
  switch (kind) {
    case kKindWindow: (void)DecodeWindowSettings(block); break;
    case kKindLabel: (void)DecodeLabelSettings(block); break;
    case kKindButton: (void)DecodeButtonSettings(block); break;
    case kKindGroupBox: (void)DecodeGroupBoxSettings(block); break;
    case kKindTimer: (void)DecodeTimerSettings(block); break;
    case kKindHtmlViewer: (void)DecodeHtmlViewerSettings(block); break;
    default: break;
  }
}

void ReadTable(const ControlTable& table) {
  for (uint32_t i = 0; i < table.Count(); ++i) {
    (void)table.IndexOf(table.Identifier(i));
    if (table.IsMenuItem(i)) {
      (void)DecodeMenuItemRecord(table.Record(i));
      continue;
    }
    if (auto record = DecodeControlRecord(table.Record(i))) ReadSettings(record->kind, record->settings);
  }
  (void)HandlerReferencesValid(table, HandlerNames().size());
  if (auto plan = PlanMenuBar(table))
    for (uint32_t k = 0; k < 8; ++k) (void)MenuEntryForCommand(table, kFirstMenuCommand + k);
}

}  // namespace

bool ReadEverything(std::span<const uint8_t> data) {
  auto set = DecodeDescriptionSet(data);
  if (!set) return false;
  for (const auto& window : set->windows) ReadTable(window.table);
  return true;
}

}  // namespace vorrik
