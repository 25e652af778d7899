#include <algorithm>

#include "components/vex/vexenhancedclass.h"

namespace velocane {

void TVexGlyph::SetBitmap(const TVexImage& image) {
  if (&image != &bitmap_) bitmap_ = image;
  Changed();
}

void TVexGlyph::SetNumGlyphs(int count) {
  count = std::clamp(count, 1, 4);
  if (count == num_glyphs_) return;
  num_glyphs_ = count;
  Changed();
}

void TVexGlyph::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void TVexGlyph::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void TVexGlyph::SetTransparentColor(Color color) {
  if (color == transparent_color_) return;
  transparent_color_ = color;
  Changed();
}

void TVexGlyph::Assign(const TVexGlyph& other) {
  bitmap_ = other.bitmap_;
  num_glyphs_ = other.num_glyphs_;
  visible_ = other.visible_;
  transparent_ = other.transparent_;
  transparent_color_ = other.transparent_color_;
  Changed();
}

int TVexGlyph::GlyphWidth() const {
  return bitmap_.Empty() ? 0 : RoundHalfEven(static_cast<double>(bitmap_.width) / num_glyphs_);
}

void TVexGlyph::Recolour(TVexDc cell, int width, int height, int factor) {
  const Color face = cell.gdi.Resolve(clBtnFace);
  const Color highlight = cell.gdi.Resolve(clBtnHighlight);
  const Color shadow = cell.gdi.Resolve(clBtnShadow);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Color c = cell.gdi.GetPixel(cell.dc, x, y);
      if (c == transparent_color_) continue;
      const int sum = static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
      Color tone = clBlack;
      if (sum > 535 * factor) {
        tone = face;
      } else if (sum > 274 * factor) {
        tone = highlight;
      } else if (sum > 55 * factor) {
        tone = shadow;
      }
      cell.gdi.SetPixel(cell.dc, x, y, tone);
    }
  }
}

void TVexGlyph::DrawGlyph(TVexDc target, int x, int y, bool enabled, bool alternate_cell,
                          bool recolour) {
  const int width = GlyphWidth();
  const int height = bitmap_.height;
  // A strip narrower than half a pixel a cell has nothing to draw.
  if (bitmap_.Empty() || !visible_ || width <= 0) return;
  Drawing& gdi = target.gdi;
  // The strip as a bitmap the system can copy from.
  TMemoryDc strip(gdi, bitmap_.width, bitmap_.height);
  for (int py = 0; py < bitmap_.height; ++py) {
    for (int px = 0; px < bitmap_.width; ++px) gdi.SetPixel(strip.Dc(), px, py, bitmap_.At(px, py));
  }
  TMemoryDc cell(gdi, width, height);
  int k = 1;
  if (!enabled) {
    k = num_glyphs_;
  } else if (alternate_cell) {
    k = num_glyphs_ >= 3 ? 2 : 1;
  }
  gdi.BitBlt(cell.Dc(), 0, 0, width, height, strip.Dc(), width * (k - 1), 0, rop::kSrcCopy);
  if (!enabled) Recolour(TVexDc{gdi, cell.Dc()}, width, height, 2);
  if (enabled && recolour) {
    gdi.BitBlt(cell.Dc(), 0, 0, width, height, strip.Dc(), 0, 0, rop::kSrcCopy);
    Recolour(TVexDc{gdi, cell.Dc()}, width, height, 1);
  }
  if (transparent_) {
    const Color key = gdi.GetPixel(cell.Dc(), 0, height - 1);
    DrawBitmapKeyed(target, cell.Dc(), Point{width, height}, key, x, y);
  } else {
    gdi.BitBlt(target.dc, x, y, width, height, cell.Dc(), 0, 0, rop::kSrcCopy);
  }
}

}  // namespace velocane
