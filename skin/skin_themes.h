// The readable theme sources of the built-in skins (resources/skins.themes)
// and their turning into skins. Portable; used by the skin build tool and the
// native tests.
//
// A source holds one block per skin:
//   skin 8 "Porcelain"
//     face #F4F6F9                      // colours as #RRGGBB
//     button #E9EDF2 #DDE9F7 #C7D8EE #ECEEF1
//     caption.height 26                 // metrics in pixels
//   end
// "//" starts a comment. Every colour and metric key must be given once;
// "glyphs" (none, thin, bold), "gloss" (percent) and "contrast" (the least
// contrast ratio for the theme's text, 4.5 unless raised) are optional.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skinengine/skin_writer.h"

namespace vorrik::skin {

enum class GlyphStyle { kNone, kThin, kBold };

struct Theme {
  int number = 0;
  int line = 0;  // of its "skin" line
  std::string name;
  std::array<uint32_t, kColourCount> colours{};  // 0x00BBGGRR
  std::array<int32_t, kMetricCount> metrics{};
  GlyphStyle glyphs = GlyphStyle::kNone;
  int glossPercent = 0;
  double minimumContrast = 4.5;
};

// The themes in source order, or nothing with a message naming the line.
std::optional<std::vector<Theme>> ParseThemes(std::string_view source, std::string& error);

// WCAG contrast ratio of two 0x00BBGGRR colours, 1 to 21.
double ContrastRatio(uint32_t a, uint32_t b);

// Every text of the theme against each background it is drawn on, the
// caption's gloss included; empty when all are readable, else what fails.
std::string CheckReadability(const Theme& theme);

// The theme as a skin, with its glyphs and gloss drawn.
Skin BuildSkin(const Theme& theme);

}  // namespace vorrik::skin
