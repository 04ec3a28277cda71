// Hands a link to the shell's open verb.
#pragma once
#include "shell/blocks.h"

namespace vorrik {

// Opens the link with whatever program is registered for it; the result is
// not looked at. The caller keeps its text; an empty one opens nothing.
void OpenLink(ConstText link);

}  // namespace vorrik
