// The game window's handlers.
#include "shell/date_time.h"
#include "shell/shell.h"
#include "shell/texts.h"
#include "windows/forms/build_constants.h"
#include "windows/forms/form_handlers.h"
#include "windows/link_opener.h"

namespace vorrik {
namespace {

constexpr uint32_t kBrowser = 0x16010037, kClockLabel = 0x16010043;
constexpr int32_t kVisible = 5, kTitle = 8, kUrl = 11;
constexpr int32_t kWholeProperty = -1;

void Write(uint32_t item, int32_t property, uint32_t value) {
  WriteProperty(kGameWindow, item, property, kWholeProperty, value, 0);
}

}  // namespace

std::optional<int32_t> ClockTick(std::span<const uint32_t>) {
  Text line = MakeClockLine(CurrentDateTime());
  Write(kClockLabel, kTitle, reinterpret_cast<uint32_t>(line));
  ReleaseBlock(line);
  return std::nullopt;
}

std::optional<int32_t> ReloadGameSelected(std::span<const uint32_t>) {
  Write(kBrowser, kUrl, reinterpret_cast<uint32_t>(kGamePageAddress));
  return std::nullopt;
}

std::optional<int32_t> ClearBlankSelected(std::span<const uint32_t>) {
  Write(kBrowser, kVisible, 0);
  Write(kBrowser, kVisible, 1);
  return std::nullopt;
}

std::optional<int32_t> ContactAuthorSelected(std::span<const uint32_t>) {
  Text link = JoinTexts("tencent://message/?uin=", kAuthorAccount);
  OpenLink(link);
  ReleaseBlock(link);
  return std::nullopt;
}

}  // namespace vorrik
