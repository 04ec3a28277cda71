// The keyboard-access character that a caption marks with "&". Portable.
#pragma once
#include <string_view>

namespace vorrik {

// The character after the first single "&" of a GBK caption, upper-cased
// when it is a letter; 0 when there is none or the mark falls on a
// double-byte character. "&&" stands for a plain ampersand.
char MnemonicOf(std::string_view caption);

}  // namespace vorrik
