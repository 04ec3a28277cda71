#pragma once
#include "shell/blocks.h"

namespace vorrik {
// Blocks taken from AllocateBlock and not yet released.
long LiveBlockCount();
}
