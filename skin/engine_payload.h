// The skin engine's DLL, carried in the program unchanged: a ByteBuffer
// constant in read-only data, assembled from the built DLL (a generated source).
#pragma once
#include <cstdint>

#include "shell/blocks.h"

extern "C" const uint8_t vorrik_skin_engine_payload[];

namespace vorrik {

inline ConstByteBuffer SkinEnginePayload() { return vorrik_skin_engine_payload; }

}  // namespace vorrik
