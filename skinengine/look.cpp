#include "skinengine/look.h"

namespace vorrik::engine {
namespace {

Look g_look;

HBRUSH Brush(const KeptSkin& skin, skin::Colour entry) { return CreateSolidBrush(skin.Colour(entry)); }

}  // namespace

const Look& CurrentLook() { return g_look; }
Look& MutableLook() { return g_look; }

bool Look::Make(const KeptSkin& skin) {
  Drop();
  NONCLIENTMETRICSA metrics = {};
  // The size without the padded-border field, which older systems refuse.
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
  captionFont_ = CreateFontIndirectA(&metrics.lfCaptionFont);
  menuFont_ = CreateFontIndirectA(&metrics.lfMenuFont);
  faceBrush_ = Brush(skin, skin::kFace);
  edgeLightBrush_ = Brush(skin, skin::kEdgeLight);
  edgeShadowBrush_ = Brush(skin, skin::kEdgeShadow);
  textBrush_ = Brush(skin, skin::kText);
  skin_ = &skin;
  if (captionFont_ && menuFont_ && faceBrush_ && edgeLightBrush_ && edgeShadowBrush_ && textBrush_) return true;
  Drop();
  return false;
}

void Look::Drop() {
  for (HGDIOBJ* object : {reinterpret_cast<HGDIOBJ*>(&captionFont_), reinterpret_cast<HGDIOBJ*>(&menuFont_),
                          reinterpret_cast<HGDIOBJ*>(&faceBrush_), reinterpret_cast<HGDIOBJ*>(&edgeLightBrush_),
                          reinterpret_cast<HGDIOBJ*>(&edgeShadowBrush_), reinterpret_cast<HGDIOBJ*>(&textBrush_)}) {
    if (*object) DeleteObject(*object);
    *object = nullptr;
  }
  canvas_.Release();
  skin_ = nullptr;
}

}  // namespace vorrik::engine
