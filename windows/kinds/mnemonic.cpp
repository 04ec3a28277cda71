#include "windows/kinds/mnemonic.h"

#include "shell/run_directory.h"

namespace vorrik {

char MnemonicOf(std::string_view caption) {
  for (size_t i = 0; i < caption.size(); ++i) {
    const auto byte = static_cast<unsigned char>(caption[i]);
    // A trail byte may look like a letter: double-byte characters are
    // stepped over whole.
    if (IsGbkLeadByte(byte)) {
      ++i;
      continue;
    }
    if (byte != '&' || i + 1 == caption.size()) continue;
    const auto marked = static_cast<unsigned char>(caption[++i]);
    if (marked == '&') continue;
    if (IsGbkLeadByte(marked)) return 0;
    return marked >= 'a' && marked <= 'z' ? static_cast<char>(marked - 'a' + 'A') : static_cast<char>(marked);
  }
  return 0;
}

}  // namespace vorrik
