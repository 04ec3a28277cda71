// The handlers of the program's two windows, bound by their stable keys.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace vorrik {

constexpr uint32_t kLauncherWindow = 0x52010001;
constexpr uint32_t kGameWindow = 0x5201000F;

std::optional<int32_t> LauncherCreated(std::span<const uint32_t>);
std::optional<int32_t> OpenGameClicked(std::span<const uint32_t>);
std::optional<int32_t> CloseLauncherClicked(std::span<const uint32_t>);
std::optional<int32_t> ClockTick(std::span<const uint32_t>);
std::optional<int32_t> ReloadGameSelected(std::span<const uint32_t>);
std::optional<int32_t> ClearBlankSelected(std::span<const uint32_t>);
std::optional<int32_t> ContactAuthorSelected(std::span<const uint32_t>);

}  // namespace vorrik
