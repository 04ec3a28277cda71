#include "shell/window_registry.h"

namespace vorrik {

WindowRegistry::WindowRegistry(DescriptionSet set) {
  for (size_t i = 0; i < set.ids.size() && i < set.windows.size(); ++i) {
    RegistryEntry entry;
    entry.id = set.ids[i];
    entry.working = std::move(set.windows[i]);
    entry.objects.assign(entry.working.table.Count(), nullptr);
    entry.cursors.assign(entry.working.table.Count(), nullptr);
    entries_.push_back(std::move(entry));
  }
}

RegistryEntry* WindowRegistry::Find(uint32_t windowId) {
  for (auto& entry : entries_)
    if (entry.id == windowId) return &entry;
  return nullptr;
}

bool WindowRegistry::AnyLoaded() const {
  for (const auto& entry : entries_)
    if (entry.Loaded()) return true;
  return false;
}

}  // namespace vorrik
