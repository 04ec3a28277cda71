#include "windows/kinds/html_viewer_settings.h"

#include "windows/byte_io.h"

namespace vorrik {

std::optional<HtmlViewerSettings> DecodeHtmlViewerSettings(std::span<const uint8_t> block) {
  HtmlViewerSettings s;
  if (block.empty()) return s;
  ByteReader in(block);
  if (in.U32() > kHtmlViewerSettingsVersion) return std::nullopt;
  s.fontSize = in.I32();
  s.offline = in.U32() != 0;
  s.silent = in.U32() != 0;
  std::string_view url = in.CountedText();
  if (!in.ok()) return std::nullopt;
  s.url = url.substr(0, url.find('\0'));  // the address ends at a NUL
  return s;
}

std::vector<uint8_t> EncodeHtmlViewerSettings(const HtmlViewerSettings& s) {
  ByteWriter out;
  out.U32(kHtmlViewerSettingsVersion);
  out.I32(s.fontSize);
  out.U32(s.offline ? 1 : 0);
  out.U32(s.silent ? 1 : 0);
  out.CountedText(s.url);
  return out.Take();
}

}  // namespace vorrik
