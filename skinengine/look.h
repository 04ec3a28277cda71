// What drawing needs of the attached skin, ready to use: its colours and
// metrics, the fonts of captions and menus, and the face brush. Made on
// attach, dropped on detach; one per process, like the skin itself.
#pragma once
#include <windows.h>

#include "skinengine/canvas.h"
#include "skinengine/kept_skin.h"

namespace vorrik::engine {

class Look {
 public:
  Look() = default;
  ~Look() { Drop(); }
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;

  // False, with nothing made, when GDI refuses a font or the brush.
  bool Make(const KeptSkin& skin);
  void Drop();

  bool ready() const { return skin_ != nullptr; }
  Colour colour(skin::Colour entry) const { return skin_->Colour(entry); }
  int metric(skin::Metric entry) const { return skin_->Metric(entry); }
  const KeptImage* image(skin::ImageRole role) const { return skin_->Image(role); }
  const KeptSkin& skin() const { return *skin_; }
  HFONT captionFont() const { return captionFont_; }
  HFONT menuFont() const { return menuFont_; }
  HBRUSH faceBrush() const { return faceBrush_; }
  HBRUSH edgeLightBrush() const { return edgeLightBrush_; }
  HBRUSH edgeShadowBrush() const { return edgeShadowBrush_; }
  HBRUSH textBrush() const { return textBrush_; }
  // One picture shared by every paint: paints never nest.
  Canvas& canvas() const { return canvas_; }

 private:
  const KeptSkin* skin_ = nullptr;
  HFONT captionFont_ = nullptr, menuFont_ = nullptr;
  HBRUSH faceBrush_ = nullptr, edgeLightBrush_ = nullptr, edgeShadowBrush_ = nullptr, textBrush_ = nullptr;
  mutable Canvas canvas_;
};

const Look& CurrentLook();
Look& MutableLook();

// Holds a GDI object selected into a DC and puts the old one back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace vorrik::engine
