// Splitting the executable's path into the run directory. Portable.
#pragma once
#include <cstddef>
#include <string>

namespace vorrik {

// Tells whether a byte starts a double-byte character of the system's
// multibyte code page.
using LeadBytePredicate = bool (*)(unsigned char);

// Lead bytes of GBK (code page 936): 0x81 to 0xFE.
bool IsGbkLeadByte(unsigned char byte);

// Offset of the last real backslash in path, scanning double-byte characters
// as whole units so that a trail byte of 0x5C is never taken for a separator;
// npos when there is none.
size_t FindLastSeparator(const char* path, LeadBytePredicate isLeadByte);

// The text before the last separator; empty when the path has none.
std::string RunDirectoryOf(const char* path, LeadBytePredicate isLeadByte);

// The path with the extension of its file name replaced by the given one, or
// added when it has none: "C:\\a\\b.exe" and "hlp" give "C:\\a\\b.hlp".
std::string WithExtension(const char* path, const char* extension, LeadBytePredicate isLeadByte);

}  // namespace vorrik
