// The HtmlViewer kind's settings block (version 1; 0 is read the same way).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorrik {

constexpr uint32_t kHtmlViewerSettingsVersion = 1;

struct HtmlViewerSettings {
  int32_t fontSize = 2;  // text size level 0 to 4 as stored; users clamp it
  bool offline = false;
  bool silent = false;
  std::string url;  // GBK, never holding a NUL
  bool operator==(const HtmlViewerSettings&) const = default;
};

std::optional<HtmlViewerSettings> DecodeHtmlViewerSettings(std::span<const uint8_t> block);
std::vector<uint8_t> EncodeHtmlViewerSettings(const HtmlViewerSettings& settings);

}  // namespace vorrik
