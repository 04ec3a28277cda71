#include "shell/texts.h"

#include <cstring>

namespace vorrik {
namespace {

constexpr uint32_t kByteBufferHeaderSize = 8;

// A sum past the 32-bit range asks for the largest block, which the heap
// refuses, instead of wrapping round to a short block.
uint32_t AddSaturated(uint32_t a, uint32_t b) {
  return a > UINT32_MAX - b ? UINT32_MAX : a + b;
}

}  // namespace

uint32_t TextLength(ConstText text) {
  return text ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

Text JoinTexts(std::initializer_list<ConstText> texts) {
  uint32_t total = 1;
  for (ConstText text : texts) total = AddSaturated(total, TextLength(text));
  Text joined = static_cast<Text>(AllocateBlock(total));
  char* end = joined;
  for (ConstText text : texts) {
    const uint32_t length = TextLength(text);
    if (length) std::memcpy(end, text, length);
    end += length;
  }
  *end = '\0';
  return joined;
}

Text JoinTexts(ConstText first, ConstText second) { return JoinTexts({first, second}); }

uint32_t ByteLength(ConstByteBuffer buffer) {
  if (!buffer) return 0;
  return static_cast<uint32_t>(buffer[4]) | static_cast<uint32_t>(buffer[5]) << 8 |
         static_cast<uint32_t>(buffer[6]) << 16 | static_cast<uint32_t>(buffer[7]) << 24;
}

alignas(4) const uint8_t kEmptyByteBuffer[8] = {1, 0, 0, 0, 0, 0, 0, 0};

ByteBuffer CopyByteBuffer(ConstByteBuffer source) {
  if (!source) source = kEmptyByteBuffer;
  const uint32_t size = AddSaturated(ByteLength(source), kByteBufferHeaderSize);
  ByteBuffer copy = static_cast<ByteBuffer>(AllocateBlock(size));
  std::memcpy(copy, source, size);
  return copy;
}

void AssignByteBuffer(ByteBuffer& variable, ConstByteBuffer source) {
  ByteBuffer copy = CopyByteBuffer(source);
  ReleaseBlock(variable);
  variable = copy;
}

}  // namespace vorrik
