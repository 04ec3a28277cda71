// The window kind: the top-level window of a description, its frame, owner,
// placement, icon and outline, its events, and its keyboard handling.
#pragma once
#include <windows.h>

#include "windows/kinds/kind.h"

namespace vorrik {

const KindEntryPoints& WindowKind();

// Key handling of the program's windows (and mouse messages for a focused
// browser), applied by the message loop before a message is dispatched;
// true when the message was consumed.
bool TranslateWindowMessage(MSG& message);

// The program's icon (DEFAULT_ICON), for windows without one of their own.
HICON ProgramIcon(bool small);

}  // namespace vorrik
