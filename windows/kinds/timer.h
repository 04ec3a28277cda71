// The Timer kind: a never-shown child window whose system timer raises
// TimerTick. Ticks are WM_TIMER messages, so they never queue up behind a
// slow handler.
#pragma once
#include "windows/kinds/kind.h"

namespace vorrik {

const KindEntryPoints& TimerKind();

}  // namespace vorrik
