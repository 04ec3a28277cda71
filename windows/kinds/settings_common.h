// What every kind's settings block shares: the default colour, the stored
// font record and the small readers the kinds' codecs are built from.
// Portable: the program's kinds and the build tools use the same code.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "windows/byte_io.h"

namespace vorrik {

// A stored colour of this value means "the kind's default colour".
constexpr uint32_t kDefaultColour = 0xFF000000;

// A font as stored: the fields of a Windows LOGFONTA record, in its order.
// Only a block of exactly kLogFontSize bytes is a font; any other length
// stands for the system's default GUI font.
struct LogFont {
  int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
  uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
  uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
  // Raw bytes: stored records may carry anything after the terminating zero.
  std::array<char, 32> faceName{};

  std::string_view Face() const;        // up to the first zero
  bool SetFace(std::string_view face);  // false when it does not fit with its zero
  bool operator==(const LogFont&) const = default;
};
constexpr size_t kLogFontSize = 60;

std::array<uint8_t, kLogFontSize> EncodeLogFont(const LogFont& font);
LogFont DecodeLogFont(std::span<const uint8_t, kLogFontSize> bytes);

// Settings fields that are byte blocks or counted texts, read and written.
std::optional<LogFont> ReadFontBlock(ByteReader& in);
void WriteFontBlock(ByteWriter& out, const std::optional<LogFont>& font);
std::vector<uint8_t> ReadByteBlock(ByteReader& in);
std::string ReadCountedText(ByteReader& in);

}  // namespace vorrik
