// The launcher window's handlers.
#include "shell/shell.h"
#include "shell/window_lifecycle.h"
#include "skin/builtin_skins.h"
#include "windows/forms/form_handlers.h"

namespace vorrik {

constexpr int32_t kProgramSkin = 8;

std::optional<int32_t> LauncherCreated(std::span<const uint32_t>) {
  ApplyBuiltinSkin(kProgramSkin);
  return std::nullopt;
}

std::optional<int32_t> OpenGameClicked(std::span<const uint32_t>) {
  LoadWindow(kGameWindow, nullptr, true);  // its result does not matter: the launcher goes either way
  DestroyLoadedWindow(kLauncherWindow);
  return std::nullopt;
}

std::optional<int32_t> CloseLauncherClicked(std::span<const uint32_t>) {
  DestroyLoadedWindow(kLauncherWindow);
  return std::nullopt;
}

}  // namespace vorrik
