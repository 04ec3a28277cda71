// The one allocator behind every Text and ByteBuffer. Portable declaration:
// the program implements it on the process heap, the native tests on malloc.
#pragma once
#include <cstdint>

namespace vorrik {

// NUL-terminated GBK text in a block, or null (the empty text).
using Text = char*;
using ConstText = const char*;

// Block layout: u32 dimension count (always 1), u32 length, then the bytes;
// null is the empty buffer.
using ByteBuffer = uint8_t*;
using ConstByteBuffer = const uint8_t*;

// Never returns null: a refused request is reported as a run-time error,
// which ends the program.
void* AllocateBlock(uint32_t size);

// Ignores null and pointers into the program's constant data.
void ReleaseBlock(const void* block);

}  // namespace vorrik
