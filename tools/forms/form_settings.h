// The settings part of a form entry: one "Field value" line per field of
// the kind's settings block, every field given, encoded by the kind's own
// encoder.
#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "tools/forms/form_text.h"

namespace vorrik::forms {

// Where files named in forms ("Icon file ...") are looked for.
using SearchPath = std::vector<std::filesystem::path>;

class SettingsForm {
 public:
  virtual ~SettingsForm() = default;
  virtual void Set(const Line& line) = 0;
  // Fails at `where` naming every field that was not given.
  virtual std::vector<uint8_t> Encode(const Where& where) const = 0;

  // The block of a kind, at the version the form states; the encoders write
  // only the kind's highest version, so any other is refused.
  static std::unique_ptr<SettingsForm> ForKind(uint32_t kind, uint32_t version, const Where& where,
                                               const SearchPath& files);
};

}  // namespace vorrik::forms
