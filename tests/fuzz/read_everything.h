// Reads a description set as far as the program would: the set, every
// record, every settings block by its kind, and the menu plans. Shared by the
// fuzzer and the bad-input unit tests; it must never crash or read outside
// the data, whatever the bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace vorrik {

// True when the set loads (it may still hold records that a build refuses).
bool ReadEverything(std::span<const uint8_t> data);

}  // namespace vorrik
