// The lexical layer of window forms: lines of words and quoted texts, with
// texts turned into GBK on the way in, and errors that name file and line.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorrik::forms {

// Stops the compiler; what() is "file:line: message".
class FormError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Where {
  std::string file;
  int line = 0;
  [[noreturn]] void Fail(const std::string& message) const;
};

struct Token {
  std::string text;  // a bare word as written, or a quoted text as GBK bytes
  bool quoted = false;
};

struct Line {
  Where where;
  std::vector<Token> tokens;  // never empty
};

using Defines = std::map<std::string, std::string, std::less<>>;

// Splits a form into its non-empty lines. In quoted texts, ${NAME} takes a
// define's value, \xHH is one raw byte kept as it is, \\ and \" escape; the
// rest is UTF-8 and becomes GBK. '#' outside quotes starts a comment.
std::vector<Line> SplitForm(std::string_view content, const std::string& file, const Defines& defines);

std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Numbers are decimal or 0x hexadecimal; a value out of range fails.
uint32_t ParseU32(const Token& token, const Where& where);
int32_t ParseI32(const Token& token, const Where& where);

}  // namespace vorrik::forms
