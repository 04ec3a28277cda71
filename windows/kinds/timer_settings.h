// The Timer kind's settings block (version 1; 0 is read the same way).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vorrik {

constexpr uint32_t kTimerSettingsVersion = 1;

struct TimerSettings {
  int32_t interval = 0;  // milliseconds; 0 or less: the timer does not run
  bool operator==(const TimerSettings&) const = default;
};

std::optional<TimerSettings> DecodeTimerSettings(std::span<const uint8_t> block);
std::vector<uint8_t> EncodeTimerSettings(const TimerSettings& settings);

}  // namespace vorrik
