// Texts of the run-time error box. Portable: no system headers.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vorrik {

// Message of a numbered report (1 to 11), or null for any other number.
const char* NumberedErrorMessage(int32_t number);

// Writes the box text for a report into out (at most capacity - 1 bytes and a
// NUL) and returns the full length the text needs, like snprintf. A numbered
// report without a message takes the message of its table row.
size_t ComposeErrorBoxText(int32_t number, const char* message, char* out, size_t capacity);

// The allocator's own failure message, made without any allocation: it is
// reported right after the heap has refused a block.
constexpr size_t kAllocationMessageCapacity = 100;
void FormatAllocationFailure(int32_t size, char (&out)[kAllocationMessageCapacity]);

// Binding failure: "cannot find export <name> in library <file>".
size_t FormatBindingFailure(const char* library, const char* exportName, char* out, size_t capacity);

// Signed decimal, no allocation. Returns the number of characters written
// (at most 11) into out, which must hold 12 bytes; out is NUL-terminated.
size_t FormatSignedDecimal(int32_t value, char* out);

}  // namespace vorrik
