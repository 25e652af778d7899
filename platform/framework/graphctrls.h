#pragma once
// Windowless controls that paint on their parent: the text label and the flat
// speed button with a picture above its caption.
#include <functional>
#include <string>

#include "platform/framework/control.h"

namespace velocane {

class TLabel : public TControl {
 public:
  using TControl::TControl;
  void Paint(Canvas& canvas) override;
};

// Draws a button's picture into the given square.
using TGlyphPainter = std::function<void(Canvas& canvas, const Rect& area, bool enabled)>;

class TSpeedButton : public TControl {
 public:
  using TControl::TControl;
  bool Flat() const { return flat_; }
  void SetFlat(bool flat) { flat_ = flat; }
  void SetGlyph(TGlyphPainter glyph) { glyph_ = std::move(glyph); }
  bool HasGlyph() const { return static_cast<bool>(glyph_); }
  bool Down() const { return pressed_; }

  void Paint(Canvas& canvas) override;
  void MouseDown(Point at) override;
  void MouseUp(Point at) override;

 private:
  bool flat_ = true;
  bool pressed_ = false;
  TGlyphPainter glyph_;
};

}  // namespace velocane
