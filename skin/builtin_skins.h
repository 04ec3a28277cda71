// Handing one of the built-in skins to the skin engine.
#pragma once
#include <cstdint>

namespace vorrik {

// Deploys the engine, then calls its attach command with a fresh copy of
// built-in skin n (1 to 33), or with no skin for any other n. The engine's
// answer is not looked at; binding failures and an unbalanced stack end the
// program.
void ApplyBuiltinSkin(int32_t n);

}  // namespace vorrik
