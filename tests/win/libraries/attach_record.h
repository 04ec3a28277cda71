// What the stand-in engine (attach_recorder.cpp) saw at its last call.
#pragma once
#include <cstdint>

namespace vorrik::test {

struct AttachRecord {
  int calls = 0;
  const uint8_t* skin = nullptr;
  uint32_t size = 0;
  uint8_t head[6] = {};    // the skin's first bytes, as they were during the call
  uint32_t digest = 0;     // FNV-1a of all size bytes, likewise
  const char* text = nullptr;
  bool textWasEmpty = false;
  uint32_t fourth = 0, fifth = 0, sixth = 0;
};

// FNV-1a, 32 bits.
inline uint32_t Digest(const uint8_t* bytes, uint32_t size) {
  uint32_t hash = 2166136261u;
  for (uint32_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

// The recorder's answer, nonzero on purpose: the program must not care.
constexpr int32_t kRecorderResult = 77;

}  // namespace vorrik::test
