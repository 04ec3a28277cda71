#include "shell/events.h"

namespace vorrik {

bool KindRaisesEvents(uint32_t kindCode) {
  switch (kindCode) {
    case kKindWindow:
    case kKindMenuItem:
    case kKindGroupBox:
    case kKindLabel:
    case kKindButton:
    case kKindTimer:
    case kKindHtmlViewer:
      return true;
    default:
      return false;
  }
}

namespace {

std::optional<int32_t> BoundHandler(const ControlTable& table, uint32_t index, int32_t event) {
  auto record = table.Record(index);
  if (table.IsMenuItem(index)) return ReadMenuHandler(record);
  auto bindings = ReadBindings(record);
  if (!bindings) return std::nullopt;
  for (const auto& binding : *bindings)
    if (static_cast<int32_t>(binding.event) == event) return binding.handler;
  return kNoHandler;
}

}  // namespace

EventTarget FindEventHandler(const ControlTable& table, uint32_t item, int32_t event) {
  std::optional<uint32_t> index = item == 0 ? std::optional<uint32_t>(0) : table.IndexOf(item);
  if (!index || *index >= table.Count()) return {EventOutcome::kUnknownItem};
  if (!KindRaisesEvents(table.KindCode(*index))) return {EventOutcome::kInvalidKind};
  auto handler = BoundHandler(table, *index, event);
  if (!handler) return {EventOutcome::kInvalidKind};  // a record that cannot be read
  if (*handler == kNoHandler) return {EventOutcome::kNoHandler};
  return {EventOutcome::kHandler, *handler};
}

}  // namespace vorrik
