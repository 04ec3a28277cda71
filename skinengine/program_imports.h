// The program's calls for system colours, and its text colours, answered in
// the skin's colours while a skin is attached: windows, labels and group
// boxes that the program paints in the button-face colour then take the
// skin's face. Done by rewriting entries of the program's import table, and
// undone the same way; nothing outside the program's own module changes.
#pragma once
#include <windows.h>

namespace vorrik::engine {

bool RedirectProgramImports();
void RestoreProgramImports();

// The system's own, whatever the program's table holds.
HBRUSH SystemColourBrush(int index);

// A text colour moved toward the skin's text colour until it reads on the
// skin's face at 4.5 : 1; readable colours come back unchanged.
COLORREF ReadableOnFace(COLORREF colour);

}  // namespace vorrik::engine
