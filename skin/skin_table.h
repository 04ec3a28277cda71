// The built-in skins, as the skin build tool wrote them (a generated source):
// kBuiltinSkinCount ByteBuffer constants one after another in read-only data,
// each padded to a multiple of four bytes. Portable.
#pragma once
#include <cstdint>
#include <span>

#include "shell/blocks.h"
#include "windows/byte_io.h"

namespace vorrik {

constexpr int32_t kBuiltinSkinCount = 33;

extern const uint8_t kSkinTableBytes[];
extern const uint32_t kSkinTableOffsets[kBuiltinSkinCount];

// The ByteBuffer constant of skin n (1 to kBuiltinSkinCount), null for any other n.
inline ConstByteBuffer BuiltinSkin(int32_t n) {
  return n >= 1 && n <= kBuiltinSkinCount ? kSkinTableBytes + kSkinTableOffsets[n - 1] : nullptr;
}

// The skin's own bytes, after the ByteBuffer header; empty for any other n.
inline std::span<const uint8_t> BuiltinSkinData(int32_t n) {
  ConstByteBuffer stored = BuiltinSkin(n);
  return stored ? std::span<const uint8_t>(stored + 8, LoadU32(stored + 4)) : std::span<const uint8_t>();
}

}  // namespace vorrik
