#include "windows/kinds/timer_settings.h"

#include "windows/byte_io.h"

namespace vorrik {

std::optional<TimerSettings> DecodeTimerSettings(std::span<const uint8_t> block) {
  TimerSettings s;
  if (block.empty()) return s;
  ByteReader in(block);
  if (in.U32() > kTimerSettingsVersion) return std::nullopt;
  s.interval = in.I32();
  if (!in.ok()) return std::nullopt;
  return s;
}

std::vector<uint8_t> EncodeTimerSettings(const TimerSettings& s) {
  ByteWriter out;
  out.U32(kTimerSettingsVersion);
  out.I32(s.interval);
  return out.Take();
}

}  // namespace vorrik
