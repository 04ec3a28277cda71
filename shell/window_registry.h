// The table of every window the program declares, built once from the stored
// descriptions and kept until the end.
#pragma once
#include <windows.h>

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "windows/description.h"

namespace vorrik {

struct RegistryEntry {
  uint32_t id = 0;
  WindowDescription working;
  std::optional<ControlTable> saved;  // the table as it stood at the last load

  // Live objects per table entry, kept beside the records rather than in
  // their slot fields: entry 0 is the window itself.
  std::vector<HWND> objects;
  std::vector<HCURSOR> cursors;

  bool destroyPending = false;
  bool modal = false;
  bool firstShowPending = false;
  std::vector<std::pair<HWND, bool>> disabledWindows;  // and whether each was enabled
  HACCEL accelerators = nullptr;

  bool Loaded() const { return !objects.empty() && objects[0] && IsWindow(objects[0]); }
};

class WindowRegistry {
 public:
  explicit WindowRegistry(DescriptionSet set);

  RegistryEntry* Find(uint32_t windowId);
  bool AnyLoaded() const;
  std::span<RegistryEntry> Entries() { return entries_; }

 private:
  std::vector<RegistryEntry> entries_;
};

}  // namespace vorrik
