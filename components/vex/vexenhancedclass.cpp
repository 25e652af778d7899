#include "components/vex/vexenhancedclass.h"

#include <algorithm>
#include <cmath>

namespace velocane {

namespace {

// The monochrome mask of a bitmap: 1 where a pixel has the key colour.
class MaskSurface : public TVexMemoryDc {
 public:
  MaskSurface(Drawing& gdi, DcHandle source, int width, int height, Color key)
      : TVexMemoryDc(gdi, width, height, true) {
    const Color background = gdi.GetBkColor(source);
    gdi.SetBkColor(source, key);
    gdi.BitBlt(Dc(), 0, 0, width, height, source, 0, 0, rop::kSrcCopy);
    gdi.SetBkColor(source, background);
  }
};

}  // namespace

TVexMemoryDc::TVexMemoryDc(Drawing& gdi, int width, int height, bool mono)
    : gdi_(gdi),
      dc_(gdi.CreateMemoryDc()),
      bitmap_(mono ? gdi.CreateMonoBitmap(width, height) : gdi.CreateBitmap(width, height)) {
  old_ = gdi_.SelectBitmap(dc_, bitmap_);
}

TVexMemoryDc::~TVexMemoryDc() {
  gdi_.SelectBitmap(dc_, old_);
  gdi_.DeleteBitmap(bitmap_);
  gdi_.DeleteDc(dc_);
}

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// ---------------------------------------------------------------- TVexFrame

void TVexFrame::SetFrameStyle(TVexFrameStyle style) {
  style_ = style;
  Changed();
}

void TVexFrame::SetEdges(TVexFrameEdges edges) {
  edges_ = edges;
  Changed();
}

void TVexFrame::SetHighlight(Color color) {
  highlight_ = color;
  Changed();
}

void TVexFrame::SetShadow(Color color) {
  shadow_ = color;
  Changed();
}

void TVexFrame::SetSolid(Color color) {
  solid_ = color;
  Changed();
}

void TVexFrame::SetFrameWidth(std::uint8_t width) {
  if (width == 0) return;
  width_ = width;
  Changed();
}

void TVexFrame::Assign(const TVexFrame& other) {
  style_ = other.style_;
  edges_ = other.edges_;
  highlight_ = other.highlight_;
  shadow_ = other.shadow_;
  solid_ = other.solid_;
  width_ = other.width_;
  Changed();
}

int TVexFrame::FrameDepth() const {
  switch (style_) {
    case TVexFrameStyle::frameNone:
      return 0;
    case TVexFrameStyle::frameSolid:
    case TVexFrameStyle::frameRaised:
    case TVexFrameStyle::frameLowered:
      return width_;
    default:
      return 2 * width_;
  }
}

void TVexFrame::DrawFrame(TVexDc target, Rect& rect) {
  switch (style_) {
    case TVexFrameStyle::frameSolid:
      Band(target, rect, solid_, solid_);
      break;
    case TVexFrameStyle::frameRaised:
      Band(target, rect, highlight_, shadow_);
      break;
    case TVexFrameStyle::frameLowered:
      Band(target, rect, shadow_, highlight_);
      break;
    case TVexFrameStyle::frameNone:
      break;
    case TVexFrameStyle::frameFramedUp:
      Band(target, rect, highlight_, shadow_);
      Band(target, rect, shadow_, highlight_);
      break;
    case TVexFrameStyle::frameFramedDown:
      Band(target, rect, shadow_, highlight_);
      Band(target, rect, highlight_, shadow_);
      break;
    case TVexFrameStyle::framePanelUp:
      Band(target, rect, highlight_, clBlack);
      Band(target, rect, clNone, shadow_);
      break;
    case TVexFrameStyle::framePanelDown:
      Band(target, rect, shadow_, clNone);
      Band(target, rect, clBlack, highlight_);
      break;
    case TVexFrameStyle::frameLightBordered:
      Band(target, rect, clNone, shadow_);
      Band(target, rect, highlight_, highlight_);
      break;
  }
}

void TVexFrame::Band(TVexDc target, Rect& rect, Color first, Color second) {
  // Right and bottom name the last column and row while the rings are drawn.
  --rect.right;
  --rect.bottom;
  ring_counter_ = width_;
  while (ring_counter_ > 0) {
    --ring_counter_;
    Ring(target, rect, first, second);
    rect = Rect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  }
  ++rect.right;
  ++rect.bottom;
}

void TVexFrame::Ring(TVexDc target, const Rect& r, Color first, Color second) {
  if (first != clNone) {
    if ((edges_ & EdgeLeft) != 0)
      target.gdi.Line(target.dc, r.left, r.bottom, r.left, r.top, first);
    if ((edges_ & EdgeTop) != 0) target.gdi.Line(target.dc, r.left, r.top, r.right, r.top, first);
  }
  if (second != clNone) {
    if ((edges_ & EdgeRight) != 0) {
      target.gdi.Line(target.dc, r.right, r.top, r.right, r.bottom, second);
    }
    if ((edges_ & EdgeBottom) != 0) {
      target.gdi.Line(target.dc, r.right, r.bottom, r.left - 1, r.bottom, second);
    }
  }
}

// ---------------------------------------------------------------- TVexGlyph

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
  if (bitmap_.Empty() || !visible_) return;
  Drawing& gdi = target.gdi;
  // The strip as a bitmap the system can copy from.
  TVexMemoryDc strip(gdi, bitmap_.width, bitmap_.height);
  for (int py = 0; py < bitmap_.height; ++py) {
    for (int px = 0; px < bitmap_.width; ++px) gdi.SetPixel(strip.Dc(), px, py, bitmap_.At(px, py));
  }
  const int width = GlyphWidth();
  const int height = bitmap_.height;
  TVexMemoryDc cell(gdi, width, height);
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

// ---------------------------------------------------------------- TVexFont3D

void TVexFont3D::SetThreeDimensional(bool on) {
  three_dimensional_ = on;
  Changed();
}

void TVexFont3D::SetStyle3D(TVexStyle3D style) {
  style_ = style;
  Changed();
}

void TVexFont3D::SetOffset(std::uint8_t offset) {
  if (offset != 0) offset_ = offset;
  Changed();
}

void TVexFont3D::SetHighlight(Color color) {
  highlight_ = color;
  Changed();
}

void TVexFont3D::SetShadow(Color color) {
  shadow_ = color;
  Changed();
}

void TVexFont3D::SetRepetition(TVexRepeat repetition) {
  repetition_ = repetition;
  Changed();
}

void TVexFont3D::SetRepetitionColor(Color color) {
  repetition_color_ = color;
  Changed();
}

void TVexFont3D::SetRepetitionwidth(std::uint8_t width) {
  if (width == repetition_width_) return;
  repetition_width_ = width;
  Changed();
}

void TVexFont3D::Assign(const TVexFont3D& other) {
  three_dimensional_ = other.three_dimensional_;
  style_ = other.style_;
  offset_ = other.offset_;
  highlight_ = other.highlight_;
  shadow_ = other.shadow_;
  repetition_ = other.repetition_;
  repetition_color_ = other.repetition_color_;
  repetition_width_ = other.repetition_width_;
  Changed();
}

void TVexFont3D::DrawText3D(const FontDesc& font, TVexDc target, const Rect& rect,
                            const std::string& text, unsigned flags, bool enabled) {
  Rect r = rect;
  const Color saved = target.gdi.GetTextColor(target.dc);
  const auto pass = [&](Color color) {
    target.gdi.SetTextColor(target.dc, color);
    target.gdi.DrawText(target.dc, text, r, flags | textflag::kNoClip, font);
  };
  const auto move = [&](int dx, int dy) {
    r = Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  };

  if (!enabled) {
    pass(clBtnHighlight);
    move(-1, -1);
    pass(clGrayText);
  } else if (!three_dimensional_) {
    pass(font.color);
  } else {
    if (repetition_ != TVexRepeat::repeatNone) {
      const int w = repetition_width_;
      r = Rect{r.left + w, r.top + w, r.right - w, r.bottom - w};
      const int o = offset_;
      if (repetition_ == TVexRepeat::repeatOnShadow) {
        move(o, o);
        for (int i = 0; i < w; ++i) {
          pass(repetition_color_);
          move(-1, -1);
        }
      } else {
        move(-o, -o);
        for (int i = 0; i < w; ++i) {
          pass(repetition_color_);
          move(1, 1);
        }
      }
    }
    if (style_ != TVexStyle3D::fontOutLineShadow) {
      const bool raised = style_ == TVexStyle3D::fontRaised;
      const Color up_left = raised ? highlight_ : shadow_;
      const Color down_right = raised ? shadow_ : highlight_;
      const int o = offset_;
      move(-o, -o);
      if (style_ != TVexStyle3D::fontOnlyShadow) {
        pass(style_ == TVexStyle3D::fontOnlyHighlight ? highlight_ : up_left);
      }
      move(2 * o, 2 * o);
      if (style_ != TVexStyle3D::fontOnlyHighlight) {
        pass(style_ == TVexStyle3D::fontOnlyShadow ? shadow_ : down_right);
      }
      move(-o, -o);
    } else {
      for (Point d : {Point{-1, -1}, Point{1, -1}, Point{1, 1}, Point{-1, 1}}) {
        move(d.x, d.y);
        pass(shadow_);
        move(-d.x, -d.y);
      }
    }
    pass(font.color);
  }
  target.gdi.SetTextColor(target.dc, saved);
}

// ---------------------------------------------------------------- blits

void DrawBitmapKeyed(TVexDc target, DcHandle source, Point size, Color key, int x, int y,
                     bool allow_native) {
  MaskSurface mask(target.gdi, source, size.x, size.y, key);
  MaskedStretchBlit(target.gdi, target.dc, x, y, size.x, size.y, source, 0, 0, size.x, size.y,
                    mask.Dc(), 0, 0, allow_native);
}

void MaskedStretchBlit(Drawing& gdi, DcHandle dst, int dx, int dy, int dw, int dh, DcHandle src,
                       int sx, int sy, int sw, int sh, DcHandle mask_dc, int mx, int my,
                       bool allow_native) {
  if (allow_native && dw == sw && dh == sh) {
    // MaskBlt wants the mask as a bitmap, not selected anywhere.
    const BitmapHandle stand_in = gdi.CreateBitmap(1, 1);
    const BitmapHandle mask = gdi.SelectBitmap(mask_dc, stand_in);
    const bool done =
        gdi.MaskBlt(dst, dx, dy, dw, dh, src, sx, sy, mask, mx, my, rop::kMaskKeepDestination);
    gdi.SelectBitmap(mask_dc, mask);
    gdi.DeleteBitmap(stand_in);
    if (done) return;
  }
  TVexMemoryDc memory(gdi, sw, sh);
  gdi.StretchBlt(memory.Dc(), 0, 0, sw, sh, mask_dc, mx, my, sw, sh, rop::kSrcCopy);
  gdi.BitBlt(memory.Dc(), 0, 0, sw, sh, src, sx, sy, rop::kSrcErase);
  const Color text = gdi.GetTextColor(dst);
  const Color background = gdi.GetBkColor(dst);
  gdi.SetTextColor(dst, clBlack);
  gdi.SetBkColor(dst, clWhite);
  gdi.StretchBlt(dst, dx, dy, dw, dh, mask_dc, mx, my, sw, sh, rop::kSrcAnd);
  gdi.StretchBlt(dst, dx, dy, dw, dh, memory.Dc(), 0, 0, sw, sh, rop::kSrcInvert);
  gdi.SetTextColor(dst, text);
  gdi.SetBkColor(dst, background);
}

}  // namespace velocane
