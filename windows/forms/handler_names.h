// The program's handlers by stable key. A handler reference stored in the
// description set is the handler's key, its index in this list; -1 is none.
// Keys are part of the stored data: append new handlers, never reorder.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vorrik {

enum HandlerKey : int32_t {
  kLauncherCreated,
  kOpenGameClicked,
  kCloseLauncherClicked,
  kClockTick,
  kReloadGameSelected,
  kClearBlankSelected,
  kContactAuthorSelected,
  kHandlerCount
};

std::span<const std::string_view> HandlerNames();
std::optional<int32_t> FindHandlerKey(std::string_view name);

}  // namespace vorrik
