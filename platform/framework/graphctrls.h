#pragma once
// Windowless controls that paint on their parent: the text label, the flat
// speed button with a picture above its caption, the picture and the bevel.
#include <functional>
#include <string>

#include "platform/framework/control.h"
#include "platform/framework/images.h"

namespace velocane {

class TLabel : public TControl {
 public:
  using TControl::TControl;
  void Paint(Canvas& canvas) override;
  // Read as static text.
  std::optional<AccElement> Accessible() const override;
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

  // Reached by Tab; Space presses it (the click comes when it is let go),
  // Enter clicks it at once.
  bool TabStop() const override { return true; }
  bool KeyDown(const KeyStroke& key) override;
  bool KeyUp(const KeyStroke& key) override;
  // A push button named by its caption, pressed by its default action.
  std::optional<AccElement> Accessible() const override;

 private:
  // Where the access key stands in the caption, or npos.
  std::size_t AcceleratorPosition() const;

  bool flat_ = true;
  bool pressed_ = false;
  TGlyphPainter glyph_;
};

// A picture at the top-left corner of its area, cut at the area's edges;
// transparent pixels show the parent.
class TImage : public TControl {
 public:
  using TControl::TControl;
  const TPixelImage& Picture() const { return picture_; }
  void SetPicture(TPixelImage picture);
  void Paint(Canvas& canvas) override;

 private:
  TPixelImage picture_;
};

enum class TBevelStyle { bsLowered, bsRaised };

// A one-pixel 3-D frame round its area, to group what lies inside it.
class TBevel : public TControl {
 public:
  using TControl::TControl;
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle style);
  void Paint(Canvas& canvas) override;

 private:
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

}  // namespace velocane
