#include "tools/forms/form_text.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <limits>

namespace vorrik::forms {
namespace {

// One quoted text: UTF-8 runs are converted, escaped bytes are appended raw.
class QuotedText {
 public:
  QuotedText(const Where& where, const Defines& defines) : where_(where), defines_(defines) {}

  // Reads from just after the opening quote; returns the index after the closing one.
  size_t Read(std::string_view line, size_t at) {
    while (at < line.size() && line[at] != '"') at = line[at] == '\\' ? Escape(line, at) : Plain(line, at);
    if (at >= line.size()) where_.Fail("unterminated text");
    Flush();
    return at + 1;
  }
  std::string Take() { return std::move(gbk_); }

 private:
  size_t Plain(std::string_view line, size_t at) {
    if (line.compare(at, 2, "${") != 0) {
      utf8_ += line[at];
      return at + 1;
    }
    size_t close = line.find('}', at);
    if (close == std::string_view::npos) where_.Fail("unterminated ${ in text");
    std::string_view name = line.substr(at + 2, close - at - 2);
    auto value = defines_.find(name);
    if (value == defines_.end()) where_.Fail("no value for ${" + std::string(name) + "}");
    utf8_ += value->second;
    return close + 1;
  }

  size_t Escape(std::string_view line, size_t at) {
    char next = at + 1 < line.size() ? line[at + 1] : '\0';
    if (next == '\\' || next == '"') {
      utf8_ += next;
      return at + 2;
    }
    unsigned byte = 0;
    auto hex = line.substr(std::min(at + 2, line.size()), 2);
    auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), byte, 16);
    if (next != 'x' || hex.size() != 2 || error != std::errc() || end != hex.data() + 2)
      where_.Fail("bad escape in text (use \\\\, \\\" or \\xHH)");
    Flush();
    gbk_ += static_cast<char>(byte);
    return at + 4;
  }

  void Flush() {
    auto converted = Utf8ToGbk(utf8_);
    if (!converted) where_.Fail("text is not UTF-8 that GBK can hold: \"" + utf8_ + "\"");
    gbk_ += *converted;
    utf8_.clear();
  }

  const Where& where_;
  const Defines& defines_;
  std::string utf8_, gbk_;
};

std::vector<Token> SplitLine(std::string_view line, const Where& where, const Defines& defines) {
  std::vector<Token> tokens;
  size_t at = 0;
  while (at < line.size()) {
    char c = line[at];
    if (c == '#') break;
    if (c == ' ' || c == '\t') {
      ++at;
    } else if (c == '"') {
      QuotedText text(where, defines);
      at = text.Read(line, at + 1);
      tokens.push_back({text.Take(), true});
    } else {
      size_t end = line.find_first_of(" \t#\"", at);
      if (end == std::string_view::npos) end = line.size();
      tokens.push_back({std::string(line.substr(at, end - at)), false});
      at = end;
    }
  }
  return tokens;
}

template <class T>
T ParseNumber(const Token& token, const Where& where, const char* what) {
  std::string_view text = token.text;
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  int base = text.starts_with("0x") || text.starts_with("0X") ? 16 : 10;
  if (base == 16) text.remove_prefix(2);
  uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  const bool whole = !token.quoted && !text.empty() && error == std::errc() && end == text.data() + text.size();
  const int64_t value = negative ? -int64_t(magnitude) : int64_t(magnitude);
  if (!whole || magnitude > uint64_t(1) << 32 || value < std::numeric_limits<T>::min() ||
      value > int64_t(std::numeric_limits<T>::max()))
    where.Fail("bad " + std::string(what) + " '" + token.text + "'");
  return static_cast<T>(value);
}

}  // namespace

void Where::Fail(const std::string& message) const {
  throw FormError(file + ":" + std::to_string(line) + ": " + message);
}

std::vector<Line> SplitForm(std::string_view content, const std::string& file, const Defines& defines) {
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
  std::vector<Line> lines;
  int number = 0;
  while (!content.empty()) {
    size_t end = content.find('\n');
    std::string_view text = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    if (text.ends_with('\r')) text.remove_suffix(1);
    Where where{file, ++number};
    auto tokens = SplitLine(text, where, defines);
    if (!tokens.empty()) lines.push_back({where, std::move(tokens)});
  }
  return lines;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  iconv_t converter = iconv_open("GBK", "UTF-8");
  if (converter == iconv_t(-1)) return std::nullopt;
  std::string out(utf8.size() * 2 + 1, '\0');  // GBK never needs more bytes than UTF-8
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* outAt = out.data();
  size_t outLeft = out.size();
  const size_t result = iconv(converter, &in, &inLeft, &outAt, &outLeft);
  iconv_close(converter);
  if (result == size_t(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

uint32_t ParseU32(const Token& token, const Where& where) { return ParseNumber<uint32_t>(token, where, "number"); }

int32_t ParseI32(const Token& token, const Where& where) { return ParseNumber<int32_t>(token, where, "signed number"); }

}  // namespace vorrik::forms
