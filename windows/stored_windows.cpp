#include "shell/stored_windows.h"

#include "windows/forms/handler_names.h"
#include "windows/stored_set_data.h"

namespace vorrik {

std::optional<DescriptionSet> ReadStoredWindows() {
  auto set = DecodeDescriptionSet({kStoredDescriptionSet, kStoredDescriptionSetSize});
  if (!set) return std::nullopt;
  const size_t handlers = HandlerNames().size();
  for (const auto& window : set->windows)
    if (!HandlerReferencesValid(window.table, handlers)) return std::nullopt;
  return set;
}

}  // namespace vorrik
