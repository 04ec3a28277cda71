// The images the skin build tool draws into skins: caption-button glyphs and
// the caption's gloss. Portable.
#pragma once
#include "skin/skin_themes.h"

namespace vorrik::skin {

// Close, maximise, restore and minimise as alpha masks, four square cells
// side by side, sized to sit inside caption buttons of the given size.
OwnedImage DrawCaptionGlyphs(GlyphStyle style, int buttonWidth, int buttonHeight);

// One column the caption's height: white at percent strength at the top,
// fading to half way down, clear below.
OwnedImage DrawCaptionGloss(int percent, int captionHeight);

}  // namespace vorrik::skin
