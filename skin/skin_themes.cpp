#include "skin/skin_themes.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

#include "skin/skin_artwork.h"

namespace vorrik::skin {
namespace {

// A key that sets one or more palette entries, in the order they are written.
struct ColourKey {
  std::string_view key;
  std::vector<Colour> entries;
};

const std::vector<ColourKey>& ColourKeys() {
  static const std::vector<ColourKey> keys = {
      {"caption.active", {kCaptionActiveFrom, kCaptionActiveTo}},
      {"caption.inactive", {kCaptionInactiveFrom, kCaptionInactiveTo}},
      {"caption.text", {kCaptionTextActive, kCaptionTextInactive}},
      {"frame", {kFrameActive, kFrameInactive}},
      {"face", {kFace}},
      {"edges", {kEdgeLight, kEdgeShadow}},
      {"text", {kText}},
      {"button", {kButtonNormal, kButtonHot, kButtonPressed, kButtonDisabled}},
      {"button.text", {kButtonText, kButtonTextDisabled}},
      {"group", {kGroupLine, kGroupTitle}},
      {"menubar", {kMenuBar, kMenuBarText}},
      {"menu", {kMenuFace, kMenuText}},
      {"menu.highlight", {kMenuHighlight, kMenuHighlightText}},
  };
  return keys;
}

struct MetricKey {
  std::string_view key;
  std::vector<Metric> entries;
};

const std::vector<MetricKey>& MetricKeys() {
  static const std::vector<MetricKey> keys = {
      {"caption.height", {kCaptionHeight}},
      {"frame.width", {kFrameWidth}},
      {"corner.radius", {kCornerRadius}},
      {"caption.button", {kCaptionButtonWidth, kCaptionButtonHeight}},
      {"button.radius", {kButtonCornerRadius}},
  };
  return keys;
}

constexpr int kMaxGlossPercent = 60;
// Disabled text is meant to recede; it only has to stay visible.
constexpr double kDisabledTextContrast = 2.0;

struct Line {
  int number = 0;
  std::vector<std::string_view> words;  // a quoted word without its quotes
};

std::string At(int line, const std::string& message) { return "line " + std::to_string(line) + ": " + message; }

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Splits at blanks; a word in double quotes may hold blanks.
bool SplitWords(std::string_view text, std::vector<std::string_view>& words) {
  while (!(text = Trim(text)).empty()) {
    size_t end;
    if (text.front() == '"') {
      end = text.find('"', 1);
      if (end == std::string_view::npos) return false;
      words.push_back(text.substr(1, end - 1));
      ++end;
    } else {
      end = text.find_first_of(" \t");
      words.push_back(text.substr(0, end));
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end);
  }
  return true;
}

std::optional<std::vector<Line>> SplitLines(std::string_view source, std::string& error) {
  std::vector<Line> lines;
  int number = 0;
  while (!source.empty()) {
    const size_t newline = source.find('\n');
    std::string_view text = source.substr(0, newline);
    source.remove_prefix(newline == std::string_view::npos ? source.size() : newline + 1);
    ++number;
    text = text.substr(0, text.find("//"));
    Line line{number, {}};
    if (!SplitWords(text, line.words)) {
      error = At(number, "unclosed quote");
      return std::nullopt;
    }
    if (!line.words.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

std::optional<int> ParseInteger(std::string_view word) {
  int value = 0;
  auto [end, status] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (status != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// "#RRGGBB" as written by people, stored as 0x00BBGGRR.
std::optional<uint32_t> ParseColour(std::string_view word) {
  if (word.size() != 7 || word[0] != '#') return std::nullopt;
  uint32_t rgb = 0;
  auto [end, status] = std::from_chars(word.data() + 1, word.data() + 7, rgb, 16);
  if (status != std::errc() || end != word.data() + 7) return std::nullopt;
  return (rgb >> 16) | (rgb & 0x00FF00) | (rgb & 0xFF) << 16;
}

// Collects one skin block; knows which keys it has seen.
class ThemeBuilder {
 public:
  ThemeBuilder(int number, std::string_view name, int line) {
    theme_.number = number;
    theme_.name = std::string(name);
    theme_.line = line;
  }

  std::string Apply(const Line& line) {
    const std::string_view key = line.words[0];
    const std::vector<std::string_view> values(line.words.begin() + 1, line.words.end());
    if (!seen_.insert(std::string(key)).second) return "'" + std::string(key) + "' given twice";
    for (const ColourKey& entry : ColourKeys())
      if (entry.key == key) return SetColours(entry, values);
    for (const MetricKey& entry : MetricKeys())
      if (entry.key == key) return SetMetrics(entry, values);
    if (key == "glyphs") return SetGlyphs(values);
    if (key == "gloss") return SetGloss(values);
    if (key == "contrast") return SetContrast(values);
    return "unknown key '" + std::string(key) + "'";
  }

  std::string Finish() {
    for (const ColourKey& entry : ColourKeys())
      if (!seen_.count(std::string(entry.key))) return "no '" + std::string(entry.key) + "'";
    for (const MetricKey& entry : MetricKeys())
      if (!seen_.count(std::string(entry.key))) return "no '" + std::string(entry.key) + "'";
    if (theme_.metrics[kCaptionButtonHeight] > theme_.metrics[kCaptionHeight])
      return "caption buttons are taller than the caption";
    return {};
  }

  Theme& Result() { return theme_; }

 private:
  static std::string Count(std::string_view key, size_t wanted) {
    std::string message = "'";
    message.append(key).append("' takes ").append(std::to_string(wanted));
    return message.append(wanted == 1 ? " value" : " values");
  }

  std::string SetColours(const ColourKey& entry, const std::vector<std::string_view>& values) {
    if (values.size() != entry.entries.size()) return Count(entry.key, entry.entries.size());
    for (size_t i = 0; i < values.size(); ++i) {
      auto colour = ParseColour(values[i]);
      if (!colour) return "'" + std::string(values[i]) + "' is not a colour (#RRGGBB)";
      theme_.colours[entry.entries[i]] = *colour;
    }
    return {};
  }

  std::string SetMetrics(const MetricKey& entry, const std::vector<std::string_view>& values) {
    if (values.size() != entry.entries.size()) return Count(entry.key, entry.entries.size());
    for (size_t i = 0; i < values.size(); ++i) {
      auto value = ParseInteger(values[i]);
      const MetricRange range = kMetricRanges[entry.entries[i]];
      if (!value || !MetricInRange(entry.entries[i], *value))
        return "'" + std::string(entry.key) + "' must be whole numbers from " + std::to_string(range.min) + " to " +
               std::to_string(range.max);
      theme_.metrics[entry.entries[i]] = *value;
    }
    return {};
  }

  std::string SetGlyphs(const std::vector<std::string_view>& values) {
    if (values.size() != 1) return Count("glyphs", 1);
    if (values[0] == "none") theme_.glyphs = GlyphStyle::kNone;
    else if (values[0] == "thin") theme_.glyphs = GlyphStyle::kThin;
    else if (values[0] == "bold") theme_.glyphs = GlyphStyle::kBold;
    else return "glyphs are none, thin or bold";
    return {};
  }

  std::string SetGloss(const std::vector<std::string_view>& values) {
    if (values.size() != 1) return Count("gloss", 1);
    auto percent = ParseInteger(values[0]);
    if (!percent || *percent < 0 || *percent > kMaxGlossPercent)
      return "gloss is a percentage from 0 to " + std::to_string(kMaxGlossPercent);
    theme_.glossPercent = *percent;
    return {};
  }

  std::string SetContrast(const std::vector<std::string_view>& values) {
    if (values.size() != 1) return Count("contrast", 1);
    auto ratio = ParseInteger(values[0]);
    if (!ratio || *ratio < 5 || *ratio > 21) return "contrast can only be raised, to a whole ratio up to 21";
    theme_.minimumContrast = *ratio;
    return {};
  }

  Theme theme_;
  std::set<std::string> seen_;
};

double Linear(uint32_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t colour) {
  return 0.2126 * Linear(colour & 0xFF) + 0.7152 * Linear(colour >> 8 & 0xFF) + 0.0722 * Linear(colour >> 16 & 0xFF);
}

uint32_t BlendWithWhite(uint32_t colour, int alpha) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t c = colour >> shift & 0xFF;
    out |= ((c * (255 - alpha) + 255 * alpha + 127) / 255) << shift;
  }
  return out;
}

struct TextPair {
  const char* what;
  Colour text;
  std::vector<Colour> backgrounds;
  bool disabled = false;
};

const std::vector<TextPair>& TextPairs() {
  static const std::vector<TextPair> pairs = {
      {"text", kText, {kFace}},
      {"group title", kGroupTitle, {kFace}},
      {"active caption text", kCaptionTextActive, {kCaptionActiveFrom, kCaptionActiveTo}},
      {"inactive caption text", kCaptionTextInactive, {kCaptionInactiveFrom, kCaptionInactiveTo}},
      {"button text", kButtonText, {kButtonNormal, kButtonHot, kButtonPressed}},
      {"disabled button text", kButtonTextDisabled, {kButtonDisabled}, true},
      {"menu bar text", kMenuBarText, {kMenuBar}},
      {"menu text", kMenuText, {kMenuFace}},
      {"highlighted menu text", kMenuHighlightText, {kMenuHighlight}},
  };
  return pairs;
}

bool IsCaption(Colour background) {
  return background == kCaptionActiveFrom || background == kCaptionActiveTo || background == kCaptionInactiveFrom ||
         background == kCaptionInactiveTo;
}

std::string Hex(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
  return text;
}

}  // namespace

std::optional<std::vector<Theme>> ParseThemes(std::string_view source, std::string& error) {
  auto lines = SplitLines(source, error);
  if (!lines) return std::nullopt;
  std::vector<Theme> themes;
  std::optional<ThemeBuilder> open;
  for (const Line& line : *lines) {
    const std::string_view first = line.words[0];
    if (!open) {
      const int expected = static_cast<int>(themes.size()) + 1;
      auto number = line.words.size() == 3 && first == "skin" ? ParseInteger(line.words[1]) : std::nullopt;
      if (!number) {
        error = At(line.number, "expected: skin NUMBER \"NAME\"");
        return std::nullopt;
      }
      if (*number != expected) {
        error = At(line.number, "skins are numbered in order: expected skin " + std::to_string(expected));
        return std::nullopt;
      }
      const std::string_view name = line.words[2];
      if (name.empty() || name.size() > kMaxNameLength) {
        error = At(line.number, "a name has 1 to " + std::to_string(kMaxNameLength) + " bytes");
        return std::nullopt;
      }
      open.emplace(*number, name, line.number);
    } else if (first == "end" && line.words.size() == 1) {
      if (std::string problem = open->Finish(); !problem.empty()) {
        error = At(line.number, "skin " + std::to_string(open->Result().number) + ": " + problem);
        return std::nullopt;
      }
      themes.push_back(std::move(open->Result()));
      open.reset();
    } else if (std::string problem = open->Apply(line); !problem.empty()) {
      error = At(line.number, problem);
      return std::nullopt;
    }
  }
  if (open) {
    error = At(open->Result().line, "skin " + std::to_string(open->Result().number) + " has no 'end'");
    return std::nullopt;
  }
  return themes;
}

double ContrastRatio(uint32_t a, uint32_t b) {
  double la = Luminance(a), lb = Luminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

std::string CheckReadability(const Theme& theme) {
  const int glossAlpha = theme.glossPercent * 255 / 100;
  std::string problems;
  for (const TextPair& pair : TextPairs()) {
    const double minimum = pair.disabled ? kDisabledTextContrast : theme.minimumContrast;
    const uint32_t text = theme.colours[pair.text];
    for (Colour background : pair.backgrounds) {
      std::vector<uint32_t> shades = {theme.colours[background]};
      if (IsCaption(background) && glossAlpha) shades.push_back(BlendWithWhite(shades[0], glossAlpha));
      for (uint32_t shade : shades) {
        const double ratio = ContrastRatio(text, shade);
        if (ratio >= minimum) continue;
        char line[200];
        std::snprintf(line, sizeof line, "skin %d: %s %s on %s has contrast %.2f, below %.1f\n", theme.number,
                      pair.what, Hex(text).c_str(), Hex(shade).c_str(), ratio, minimum);
        problems += line;
      }
    }
  }
  return problems;
}

Skin BuildSkin(const Theme& theme) {
  Skin skin;
  skin.name = theme.name;
  skin.colours = theme.colours;
  skin.metrics = theme.metrics;
  if (theme.glyphs != GlyphStyle::kNone)
    skin.images.push_back(DrawCaptionGlyphs(theme.glyphs, theme.metrics[kCaptionButtonWidth],
                                            theme.metrics[kCaptionButtonHeight]));
  if (theme.glossPercent) skin.images.push_back(DrawCaptionGloss(theme.glossPercent, theme.metrics[kCaptionHeight]));
  return skin;
}

}  // namespace vorrik::skin
