// Operations on Text and ByteBuffer values. Portable.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "shell/blocks.h"

namespace vorrik {

// Bytes before the NUL; 0 for null.
uint32_t TextLength(ConstText text);

// A new block holding the texts one after the other; nulls add nothing.
// Always a block, even when every text is empty (then just the NUL).
Text JoinTexts(std::initializer_list<ConstText> texts);
Text JoinTexts(ConstText first, ConstText second);

// The buffer's length field; 0 for null.
uint32_t ByteLength(ConstByteBuffer buffer);

// Dimension word 1, length 0: passed where a buffer is needed and the
// variable holding it is null. Constant data, never released.
extern const uint8_t kEmptyByteBuffer[8];

// A new block with the whole buffer, header included (length + 8 bytes).
// Null copies as the empty buffer.
ByteBuffer CopyByteBuffer(ConstByteBuffer source);

// Stores a copy of source in variable, releasing the block it held before.
// The copy is taken first, so source may be the variable's own block.
void AssignByteBuffer(ByteBuffer& variable, ConstByteBuffer source);

}  // namespace vorrik
