#include "platform/framework/graphctrls.h"

#include <algorithm>

namespace velocane {

void TLabel::Paint(Canvas& canvas) {
  canvas.DrawText(BoundsRect(), Caption(), Font(), textflag::kLeft | textflag::kNoClip);
}

namespace {
constexpr int kGlyphSize = 32;
constexpr int kCaptionHeight = 16;
}  // namespace

void TSpeedButton::Paint(Canvas& canvas) {
  const Rect area = BoundsRect();
  if (pressed_) canvas.Edge(area, false);
  const int shift = pressed_ ? 1 : 0;
  // Picture above the caption, the pair centred in the button.
  const int block = kGlyphSize + 2 + kCaptionHeight;
  const int top = area.top + (area.Height() - block) / 2 + shift;
  const int left = area.left + (area.Width() - kGlyphSize) / 2 + shift;
  if (glyph_) glyph_(canvas, Rect{left, top, left + kGlyphSize, top + kGlyphSize}, Enabled());
  FontDesc font = Font();
  if (!Enabled()) font.color = clGrayText;
  const Rect text{area.left + shift, top + kGlyphSize + 2, area.right + shift,
                  top + kGlyphSize + 2 + kCaptionHeight};
  canvas.DrawText(
      text, Caption(), font,
      textflag::kCenter | textflag::kVCenter | textflag::kSingleLine | textflag::kNoClip);
}

void TSpeedButton::MouseDown(Point) {
  pressed_ = true;
  Invalidate();
}

void TSpeedButton::MouseUp(Point at) {
  const bool was_pressed = pressed_;
  pressed_ = false;
  Invalidate();
  if (was_pressed && BoundsRect().Contains(at)) Click();
}

void TImage::SetPicture(TPixelImage picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void TImage::Paint(Canvas& canvas) {
  if (picture_.Empty() ||
      picture_.pixels.size() != static_cast<std::size_t>(picture_.width) * picture_.height) {
    return;
  }
  const Rect area = BoundsRect();
  const int width = std::min(picture_.width, area.Width());
  const int height = std::min(picture_.height, area.Height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Color pixel = picture_.pixels[static_cast<std::size_t>(y) * picture_.width + x];
      if (pixel != clNone) canvas.Gdi().SetPixel(canvas.Dc(), area.left + x, area.top + y, pixel);
    }
  }
}

void TBevel::SetStyle(TBevelStyle style) {
  if (style == style_) return;
  style_ = style;
  Invalidate();
}

void TBevel::Paint(Canvas& canvas) { canvas.Edge(BoundsRect(), style_ == TBevelStyle::bsRaised); }

}  // namespace velocane
