#include "shell/run_directory.h"

namespace vorrik {

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

size_t FindLastSeparator(const char* path, LeadBytePredicate isLeadByte) {
  size_t last = std::string::npos;
  for (size_t i = 0; path && path[i]; ++i) {
    if (isLeadByte(static_cast<unsigned char>(path[i]))) {
      if (!path[i + 1]) break;  // a lone lead byte at the end: nothing follows
      ++i;                      // skip the trail byte, whatever its value
    } else if (path[i] == '\\') {
      last = i;
    }
  }
  return last;
}

std::string RunDirectoryOf(const char* path, LeadBytePredicate isLeadByte) {
  size_t cut = FindLastSeparator(path, isLeadByte);
  return cut == std::string::npos ? std::string() : std::string(path, cut);
}

std::string WithExtension(const char* path, const char* extension, LeadBytePredicate isLeadByte) {
  const std::string whole = path ? path : "";
  const size_t separator = FindLastSeparator(whole.c_str(), isLeadByte);
  size_t dot = std::string::npos;
  for (size_t i = separator == std::string::npos ? 0 : separator + 1; i < whole.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(whole[i]))) ++i;  // a trail byte is never a dot
    else if (whole[i] == '.') dot = i;
  }
  return whole.substr(0, dot) + "." + extension;
}

}  // namespace vorrik
