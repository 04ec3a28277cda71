// Building a window, its menu bar and its controls from the working
// description of its registry entry.
#pragma once
#include <windows.h>

#include "windows/menu_plan.h"

namespace vorrik {

struct RegistryEntry;

// All windows are created hidden; on failure nothing of the build remains.
bool BuildWindow(RegistryEntry& entry, bool modal, HWND owner);

// The native menu bar and accelerator table of a plan; null when the plan
// has no drop-down or no shortcut.
HMENU CreateMenuBar(const MenuPlan& plan);
HACCEL CreateAcceleratorTable(const MenuPlan& plan);

// The mouse pointer a pointer block asks for, or null for the kind's own.
HCURSOR CreatePointer(std::span<const uint8_t> block);

}  // namespace vorrik
