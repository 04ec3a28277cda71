#include "windows/forms/handler_names.h"

#include <algorithm>
#include <array>

namespace vorrik {
namespace {

constexpr std::array<std::string_view, kHandlerCount> kNames = {
    "LauncherCreated",    "OpenGameClicked",    "CloseLauncherClicked",  "ClockTick",
    "ReloadGameSelected", "ClearBlankSelected", "ContactAuthorSelected",
};
static_assert(std::find(kNames.begin(), kNames.end(), std::string_view{}) == kNames.end(), "a key without a name");

}  // namespace

std::span<const std::string_view> HandlerNames() { return kNames; }

std::optional<int32_t> FindHandlerKey(std::string_view name) {
  auto found = std::find(kNames.begin(), kNames.end(), name);
  if (found == kNames.end()) return std::nullopt;
  return static_cast<int32_t>(found - kNames.begin());
}

}  // namespace vorrik
