#include "platform/sim/sim_drawing.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>
#include <utility>

#include "platform/sim/sim_errors.h"
#include "platform/sim/sim_raster.h"

namespace velocane::sim {

namespace {

// The system colours Wine reports in a new prefix, by index.
constexpr std::array<Color, 31> kSystemColors = {
    0xFFFFFF, 0x956F25, 0xFA9632, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x9E9E9E, 0x000000,
    0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x808080, 0xFA9630, 0xFFFFFF, 0xF5F5F5,
    0xA6A6A6, 0xA6A6A6, 0x000000, 0xC8C8C8, 0xFFFFFF, 0x6A6A6A, 0xE3E3E3, 0x000000,
    0xFFFFFF, 0xFFFFFF, 0xE0E0E0, 0xFA9632, 0x808080, 0xFA9630, 0xFFFFFF,
};

constexpr unsigned kErrorNotEnoughMemory = 8;
constexpr unsigned kErrorInvalidParameter = 87;

// The 8 x 8 hatch patterns by style from bsHorizontal on; bit 0x80 is the leftmost column.
constexpr std::uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

// A ternary raster operation on 24-bit values: the operation's middle byte is
// its truth table over (pattern, source, destination).
std::uint32_t Ternary(std::uint32_t raster_op, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  const std::uint32_t table = (raster_op >> 16) & 0xFF;
  std::uint32_t result = 0;
  for (std::uint32_t i = 0; i < 8; ++i) {
    if ((table & (1u << i)) == 0) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result & 0xFFFFFF;
}

bool RopUsesSource(std::uint32_t raster_op) {
  return ((raster_op >> 2) & 0x330000) != (raster_op & 0x330000);
}

bool RopUsesPattern(std::uint32_t raster_op) {
  return ((raster_op >> 4) & 0x0F0000) != (raster_op & 0x0F0000);
}

// Monochrome pixels are 0 or 1; as operands of a raster operation they are black or white.
std::uint32_t Expand(const SimDrawing::Bitmap& b, std::uint32_t v) {
  return b.mono ? (v != 0 ? 0xFFFFFF : 0) : v;
}
std::uint32_t Store(const SimDrawing::Bitmap& b, std::uint32_t v) {
  return b.mono ? (v == 0xFFFFFF ? 1u : 0u) : v;
}

// The nearer of black and white (black on a tie), as a monochrome bitmap maps a colour.
std::uint32_t NearestMono(Color c) {
  const long r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  const long to_black = r * r + g * g + b * b;
  const long to_white = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
  return to_white < to_black ? 1u : 0u;
}

// A glyph of the simulated font. A 5 x 7 font for the characters the
// components write; others show as a box.
struct Glyph5x7 {
  char c;
  std::array<std::uint8_t, 7> rows;  // bit 4 is the leftmost column
};
constexpr Glyph5x7 kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kAdvance = 6;

const std::array<std::uint8_t, 7>& GlyphRows(char c) {
  static constexpr std::array<std::uint8_t, 7> kBox = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F};
  for (const Glyph5x7& g : kFont) {
    if (g.c == c) return g.rows;
  }
  return kBox;
}

Rect Bounds(const SimDrawing::Bitmap& b) { return Rect{0, 0, b.width, b.height}; }

}  // namespace

SimDrawing::SimDrawing() {
  stock_bitmap_ = NewBitmap(1, 1, true);
  white_brush_ = CreateBrush(Brush{TBrushStyle::bsSolid, clWhite});
  null_brush_ = CreateBrush(Brush{TBrushStyle::bsClear, clWhite});
}

SimDrawing::Dc& SimDrawing::DcOf(DcHandle dc) { return dcs_.at(dc.value); }

SimDrawing::Bitmap& SimDrawing::Target(DcHandle dc) { return bitmaps_.at(DcOf(dc).bitmap.value); }

DcHandle SimDrawing::CreateMemoryDc() {
  DcHandle dc{next_++};
  Dc fresh;
  fresh.bitmap = stock_bitmap_;
  fresh.brush = white_brush_;
  dcs_[dc.value] = fresh;
  return dc;
}

void SimDrawing::DeleteDc(DcHandle dc) { dcs_.erase(dc.value); }

BitmapHandle SimDrawing::NewBitmap(int width, int height, bool mono) {
  BitmapHandle bitmap{next_};
  try {
    bitmaps_[bitmap.value] =
        Bitmap{width, height, mono,
               std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0)};
  } catch (const std::bad_alloc&) {
    ThrowOSError(kErrorNotEnoughMemory);
  }
  ++next_;
  return bitmap;
}

BitmapHandle SimDrawing::CreateBitmap(int width, int height) {
  // As the system refuses them: empty or negative sizes, and 32-bit images of 4 GiB or more.
  if (width <= 0 || height <= 0) ThrowOSError(kErrorInvalidParameter);
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 >= (1ull << 32)) {
    ThrowOSError(kErrorNotEnoughMemory);
  }
  return NewBitmap(width, height, false);
}

BitmapHandle SimDrawing::CreateMonoBitmap(int width, int height) {
  // Monochrome rows are padded to 16 bits; images of 2 GiB or more are refused.
  if (width <= 0 || height <= 0) ThrowOSError(kErrorInvalidParameter);
  const std::uint64_t stride = ((static_cast<std::uint64_t>(width) + 15) >> 3) & ~1ull;
  if (stride * static_cast<std::uint64_t>(height) >= (1ull << 31)) {
    ThrowOSError(kErrorInvalidParameter);
  }
  return NewBitmap(width, height, true);
}

void SimDrawing::DeleteBitmap(BitmapHandle bitmap) {
  if (bitmap != stock_bitmap_) bitmaps_.erase(bitmap.value);
}

BitmapHandle SimDrawing::SelectBitmap(DcHandle dc, BitmapHandle bitmap) {
  Dc& d = DcOf(dc);
  bitmaps_.at(bitmap.value);  // an unknown bitmap is a fault of the caller
  return std::exchange(d.bitmap, bitmap);
}

Point SimDrawing::BitmapSize(BitmapHandle bitmap) {
  const Bitmap& b = bitmaps_.at(bitmap.value);
  return Point{b.width, b.height};
}

BrushHandle SimDrawing::CreateBrush(const Brush& brush) {
  if (brush.style == TBrushStyle::bsClear && null_brush_) return null_brush_;
  BrushHandle handle{next_++};
  // As the system's brushes, they keep the colour the system colour had when made.
  brushes_[handle.value] = Brush{brush.style, Resolve(brush.color)};
  return handle;
}

void SimDrawing::DeleteBrush(BrushHandle brush) {
  if (brush != white_brush_ && brush != null_brush_) brushes_.erase(brush.value);
}

BrushHandle SimDrawing::SelectBrush(DcHandle dc, BrushHandle brush) {
  brushes_.at(brush.value);
  return std::exchange(DcOf(dc).brush, brush);
}

Point SimDrawing::SetBrushOrg(DcHandle dc, Point origin) {
  return std::exchange(DcOf(dc).brush_org, origin);
}

std::uint32_t SimDrawing::PixelFor(const Bitmap& target, const Dc& dc, Color color) const {
  const Color c = color & 0xFFFFFF;
  if (!target.mono) return c;
  // Black and white keep their bit; any other colour takes the opposite of the background's.
  if (c == 0x000000) return 0;
  if (c == 0xFFFFFF) return 1;
  const std::uint32_t background = NearestMono(dc.background);
  return c == dc.background ? background : 1u - background;
}

bool SimDrawing::PatternAt(const Brush& brush, const Bitmap& target, const Dc& dc, int x, int y,
                           std::uint32_t* value) const {
  if (brush.style == TBrushStyle::bsClear) return false;
  Color color = brush.color;
  if (brush.style != TBrushStyle::bsSolid) {
    const int row = ((y - dc.brush_org.y) % 8 + 8) % 8;
    const int column = ((x - dc.brush_org.x) % 8 + 8) % 8;
    const int index = static_cast<int>(brush.style) - static_cast<int>(TBrushStyle::bsHorizontal);
    const bool line = (kHatches[index][row] & (0x80 >> column)) != 0;
    if (!line) {
      if (dc.bk_mode == BkMode::kTransparent) return false;
      color = dc.background;
    }
  }
  *value = Expand(target, PixelFor(target, dc, color));
  return true;
}

Color SimDrawing::GetPixel(DcHandle dc, int x, int y) {
  const Bitmap& b = Target(dc);
  if (x < 0 || y < 0 || x >= b.width || y >= b.height) return 0xFFFFFFFFu;  // CLR_INVALID
  return Expand(b, b.At(x, y));
}

void SimDrawing::SetPixel(DcHandle dc, int x, int y, Color color) {
  Bitmap& b = Target(dc);
  if (x < 0 || y < 0 || x >= b.width || y >= b.height) return;
  const Color c = Resolve(color);
  b.At(x, y) = b.mono ? NearestMono(c) : c;
}

void SimDrawing::Line(DcHandle dc, int x0, int y0, int x1, int y1, Color color) {
  if (keep_journal_) {
    journal_.push_back(
        DrawCall{DrawOp::kLine, dc, x0, y0, x1, y1, Brush{TBrushStyle::bsClear, clNone}, color});
  }
  Bitmap& b = Target(dc);
  const std::uint32_t pen = PixelFor(b, DcOf(dc), Resolve(color));
  raster::Line(x0, y0, x1, y1, [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < b.width && y < b.height) b.At(x, y) = pen;
  });
}

void SimDrawing::Ellipse(DcHandle dc, const Rect& box, Color fill, Color outline) {
  if (keep_journal_) {
    const Brush brush{fill == clNone ? TBrushStyle::bsClear : TBrushStyle::bsSolid, fill};
    journal_.push_back(
        DrawCall{DrawOp::kEllipse, dc, box.left, box.top, box.right, box.bottom, brush, outline});
  }
  Bitmap& b = Target(dc);
  const Dc& d = DcOf(dc);
  const Rect r{std::min(box.left, box.right), std::min(box.top, box.bottom),
               std::max(box.left, box.right), std::max(box.top, box.bottom)};
  if (r.Width() == 0 || r.Height() == 0) return;
  const auto plot = [&](std::uint32_t value) {
    return [&b, value](int x, int y) {
      if (x >= 0 && y >= 0 && x < b.width && y < b.height) b.At(x, y) = value;
    };
  };
  const auto fill_rect = [&](const Rect& area, std::uint32_t value) {
    const Rect c = raster::Intersect(area, Bounds(b));
    for (int y = c.top; y < c.bottom; ++y) {
      for (int x = c.left; x < c.right; ++x) b.At(x, y) = value;
    }
  };
  if (r.Width() <= 2 || r.Height() <= 2) {
    // Too small for a curve: the system draws a rectangle, the outline first.
    const int right = r.right - 1;
    const int bottom = r.bottom - 1;
    if (outline != clNone) {
      raster::ClosedPolyline({{right, r.top}, {r.left, r.top}, {r.left, bottom}, {right, bottom}},
                             plot(PixelFor(b, d, Resolve(outline))));
    }
    if (fill != clNone) {
      const int inset = outline != clNone ? 1 : 0;
      fill_rect(Rect{r.left + inset, r.top + inset, right, bottom}, PixelFor(b, d, Resolve(fill)));
    }
    return;
  }
  // The interior first, so that the outline is drawn over it.
  if (fill != clNone) {
    const std::uint32_t value = PixelFor(b, d, Resolve(fill));
    for (const raster::Span& s : raster::EllipseInterior(r)) {
      fill_rect(Rect{s.left, s.y, s.right, s.y + 1}, value);
    }
  }
  if (outline != clNone) {
    raster::ClosedPolyline(raster::EllipseOutline(r), plot(PixelFor(b, d, Resolve(outline))));
  }
}

void SimDrawing::Polygon(DcHandle dc, const std::vector<Point>& points, Color fill, Color outline) {
  if (points.size() < 2) return;  // the system refuses fewer
  Bitmap& b = Target(dc);
  const Dc& d = DcOf(dc);
  if (fill != clNone) {
    const std::uint32_t value = PixelFor(b, d, Resolve(fill));
    for (const raster::Span& s : raster::PolygonInterior(points)) {
      if (s.y < 0 || s.y >= b.height) continue;
      for (int x = std::max(s.left, 0); x < std::min(s.right, b.width); ++x) b.At(x, s.y) = value;
    }
  }
  if (outline != clNone) {
    const std::uint32_t value = PixelFor(b, d, Resolve(outline));
    raster::ClosedPolyline(points, [&](int x, int y) {
      if (x >= 0 && y >= 0 && x < b.width && y < b.height) b.At(x, y) = value;
    });
  }
}

void SimDrawing::FillRect(DcHandle dc, const Rect& rect, Color color) {
  Bitmap& b = Target(dc);
  const std::uint32_t value = PixelFor(b, DcOf(dc), Resolve(color));
  const Rect c = raster::Intersect(rect, Bounds(b));
  for (int y = c.top; y < c.bottom; ++y) {
    for (int x = c.left; x < c.right; ++x) b.At(x, y) = value;
  }
}

void SimDrawing::PatBlt(DcHandle dc, int x, int y, int width, int height, std::uint32_t raster_op) {
  if (RopUsesSource(raster_op)) return;  // the system refuses these
  Bitmap& b = Target(dc);
  const Dc& d = DcOf(dc);
  if (keep_journal_) {
    journal_.push_back(DrawCall{DrawOp::kPatBlt, dc, x, y, width, height,
                                brushes_.at(d.brush.value), clNone, raster_op});
  }
  const Rect c = raster::Intersect(raster::BoundingRect(x, y, width, height), Bounds(b));
  const bool pattern = RopUsesPattern(raster_op);
  const Brush& brush = brushes_.at(d.brush.value);
  for (int py = c.top; py < c.bottom; ++py) {
    for (int px = c.left; px < c.right; ++px) {
      std::uint32_t p = 0;
      if (pattern && !PatternAt(brush, b, d, px, py, &p)) continue;
      std::uint32_t& pixel = b.At(px, py);
      pixel = Store(b, Ternary(raster_op, p, 0, Expand(b, pixel)));
    }
  }
}

void SimDrawing::SetTextColor(DcHandle dc, Color color) { DcOf(dc).text = Resolve(color); }
void SimDrawing::SetBkColor(DcHandle dc, Color color) { DcOf(dc).background = Resolve(color); }
Color SimDrawing::GetTextColor(DcHandle dc) { return DcOf(dc).text; }
Color SimDrawing::GetBkColor(DcHandle dc) { return DcOf(dc).background; }
BkMode SimDrawing::SetBkMode(DcHandle dc, BkMode mode) {
  return std::exchange(DcOf(dc).bk_mode, mode);
}

std::uint32_t SimDrawing::SourceValue(const Bitmap& source, const Dc& src, const Bitmap& target,
                                      const Dc& dst, int x, int y) {
  // Colour to monochrome: the source's background colour becomes white.
  // Monochrome to colour: 0 takes the destination's text colour, 1 its background.
  const std::uint32_t v = source.At(x, y);
  if (target.mono) {
    return source.mono ? (v != 0 ? 0xFFFFFF : 0) : (v == src.background ? 0xFFFFFF : 0);
  }
  return source.mono ? (v != 0 ? dst.background : dst.text) : v;
}

void SimDrawing::BitBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                        int sy, std::uint32_t raster_op) {
  StretchBlt(dst, x, y, width, height, src, sx, sy, width, height, raster_op);
}

void SimDrawing::StretchBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                            int sy, int src_width, int src_height, std::uint32_t raster_op) {
  if (!RopUsesSource(raster_op)) {
    PatBlt(dst, x, y, width, height, raster_op);
    return;
  }
  const Dc& d = DcOf(dst);
  const Dc& s = DcOf(src);
  Bitmap& target = Target(dst);
  const Bitmap& source = bitmaps_.at(s.bitmap.value);
  Rect dst_vis = raster::Intersect(raster::BoundingRect(x, y, width, height), Bounds(target));
  Rect src_vis =
      raster::Intersect(raster::BoundingRect(sx, sy, src_width, src_height), Bounds(source));
  if (raster::IsEmpty(dst_vis) || raster::IsEmpty(src_vis)) return;
  const bool pattern = RopUsesPattern(raster_op);
  const Brush& brush = brushes_.at(d.brush.value);
  const auto put = [&](int px, int py, std::uint32_t value) {
    std::uint32_t p = 0;
    if (pattern && !PatternAt(brush, target, d, px, py, &p)) return;
    std::uint32_t& pixel = target.At(px, py);
    pixel = Store(target, Ternary(raster_op, p, value, Expand(target, pixel)));
  };
  const auto source_at = [&](int fx, int fy) { return SourceValue(source, s, target, d, fx, fy); };

  if (width == src_width && height == src_height) {
    const Rect shifted{src_vis.left + x - sx, src_vis.top + y - sy, src_vis.right + x - sx,
                       src_vis.bottom + y - sy};
    const Rect area = raster::Intersect(shifted, dst_vis);
    for (int py = area.top; py < area.bottom; ++py) {
      for (int px = area.left; px < area.right; ++px)
        put(px, py, source_at(px - x + sx, py - y + sy));
    }
    return;
  }

  // Stretching: narrow both visible rectangles to what maps onto the other,
  // with a pixel's margin against rounding, as the system does.
  const auto order = [](Rect r) {
    return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
  };
  const auto scale = [](int v, int num, int den) {
    return static_cast<int>(static_cast<long long>(v) * num / den);
  };
  {
    Rect r = src_vis;
    const int ox = -sx - (src_width < 0 ? 1 : 0);
    const int oy = -sy - (src_height < 0 ? 1 : 0);
    r = Rect{r.left + ox, r.top + oy, r.right + ox, r.bottom + oy};
    r = order(Rect{scale(r.left, width, src_width), scale(r.top, height, src_height),
                   scale(r.right, width, src_width), scale(r.bottom, height, src_height)});
    r = Rect{r.left + x - 1, r.top + y - 1, r.right + x + 1, r.bottom + y + 1};
    dst_vis = raster::Intersect(dst_vis, r);
    if (raster::IsEmpty(dst_vis)) return;
    r = dst_vis;
    const int dx = -x - (width < 0 ? 1 : 0);
    const int dy = -y - (height < 0 ? 1 : 0);
    r = Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    r = order(Rect{sx + scale(r.left, src_width, width), sy + scale(r.top, src_height, height),
                   sx + scale(r.right, src_width, width),
                   sy + scale(r.bottom, src_height, height)});
    r = Rect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    src_vis = raster::Intersect(src_vis, r);
    if (raster::IsEmpty(src_vis)) return;
  }
  raster::Stretch1D v, h;
  if (!raster::CalcStretch1D(y, height, dst_vis.top, dst_vis.bottom, sy, src_height, src_vis.top,
                             src_vis.bottom, &v) ||
      !raster::CalcStretch1D(x, width, dst_vis.left, dst_vis.right, sx, src_width, src_vis.left,
                             src_vis.right, &h)) {
    return;
  }
  dst_vis = raster::Intersect(
      dst_vis, raster::BoundingRect(h.dst_start, v.dst_start, h.dst_end - h.dst_start,
                                    v.dst_end - v.dst_start));
  if (raster::IsEmpty(dst_vis)) return;
  // The stretched image first, then combined with the destination.
  Bitmap stretched{
      dst_vis.Width(), dst_vis.Height(), false,
      std::vector<std::uint32_t>(static_cast<std::size_t>(dst_vis.Width()) * dst_vis.Height(), 0)};
  enum class Mode { kAnd, kCopy };
  Mode mode = Mode::kAnd;  // BLACKONWHITE
  const auto combine = [&](int tx, int ty, int fx, int fy, bool fresh) {
    if (tx < 0 || ty < 0 || tx >= stretched.width || ty >= stretched.height) return;
    if (fx < 0 || fy < 0 || fx >= source.width || fy >= source.height) return;
    std::uint32_t& out = stretched.At(tx, ty);
    if (fresh) out = mode == Mode::kAnd ? 0xFFFFFFu : 0u;
    const std::uint32_t value = source_at(fx, fy);
    out = mode == Mode::kAnd ? (out & value) : value;
  };
  // One destination row from one source row, widened or narrowed.
  const auto row = [&](Point to, Point from, bool keep) {
    int err = h.err_start;
    if (h.stretch) {
      // Every destination pixel once; the first source row of a destination row starts it afresh.
      for (int n = h.length; n > 0; --n) {
        combine(to.x, to.y, from.x, from.y, !keep);
        to.x += h.dst_inc;
        if (err > 0) {
          from.x += h.src_inc;
          err += h.err_add_1;
        } else {
          err += h.err_add_2;
        }
      }
      return;
    }
    bool fresh = true;
    for (int n = h.length; n > 0; --n) {
      combine(to.x, to.y, from.x, from.y, fresh && !keep);
      fresh = false;
      from.x += h.src_inc;
      if (err > 0) {
        to.x += h.dst_inc;
        fresh = true;
        err += h.err_add_1;
      } else {
        err += h.err_add_2;
      }
    }
  };
  Point to{h.dst_start - dst_vis.left, v.dst_start - dst_vis.top};
  Point from{h.src_start, v.src_start};
  int err = v.err_start;
  if (v.stretch) {
    if (h.stretch) mode = Mode::kCopy;
    bool need_row = true;
    for (int n = v.length; n > 0; --n) {
      if (need_row) {
        row(to, from, false);
        need_row = false;
      } else if (to.y - v.dst_inc >= 0 && to.y - v.dst_inc < stretched.height && to.y >= 0 &&
                 to.y < stretched.height) {
        for (int tx = 0; tx < stretched.width; ++tx) {
          stretched.At(tx, to.y) = stretched.At(tx, to.y - v.dst_inc);
        }
      }
      if (err > 0) {
        from.y += v.src_inc;
        need_row = true;
        err += v.err_add_1;
      } else {
        err += v.err_add_2;
      }
      to.y += v.dst_inc;
    }
  } else {
    int merged = 0;
    for (int n = v.length; n > 0; --n) {
      row(to, from, merged != 0);
      ++merged;
      if (err > 0) {
        to.y += v.dst_inc;
        merged = 0;
        err += v.err_add_1;
      } else {
        err += v.err_add_2;
      }
      from.y += v.src_inc;
    }
  }
  for (int py = dst_vis.top; py < dst_vis.bottom; ++py) {
    for (int px = dst_vis.left; px < dst_vis.right; ++px) {
      put(px, py, stretched.At(px - dst_vis.left, py - dst_vis.top));
    }
  }
}

bool SimDrawing::MaskBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                         int sy, BitmapHandle mask, int mx, int my, std::uint32_t raster_op4) {
  const Dc& d = DcOf(dst);
  const Dc& s = DcOf(src);
  Bitmap& target = Target(dst);
  const Bitmap& source = bitmaps_.at(s.bitmap.value);
  const Bitmap& bits = bitmaps_.at(mask.value);
  const std::uint32_t foreground = raster_op4 & 0x00FFFFFF;
  const std::uint32_t background = (raster_op4 >> 8) & 0x00FF0000;
  const Rect area = raster::Intersect(Rect{x, y, x + width, y + height}, Bounds(target));
  for (int ty = area.top; ty < area.bottom; ++ty) {
    const int fy = sy + ty - y;
    const int my_row = my + ty - y;
    if (fy < 0 || fy >= source.height) continue;
    for (int tx = area.left; tx < area.right; ++tx) {
      const int fx = sx + tx - x;
      if (fx < 0 || fx >= source.width) continue;
      const int mx_col = mx + tx - x;
      const bool set = mx_col >= 0 && my_row >= 0 && mx_col < bits.width && my_row < bits.height &&
                       bits.At(mx_col, my_row) != 0;
      std::uint32_t& pixel = target.At(tx, ty);
      pixel =
          Store(target, Ternary(set ? foreground : background, 0,
                                SourceValue(source, s, target, d, fx, fy), Expand(target, pixel)));
    }
  }
  return true;
}

Point SimDrawing::TextExtent(DcHandle, const std::string& text, const FontDesc&) {
  if (text.empty()) return Point{0, kGlyphHeight};
  return Point{static_cast<int>(text.size()) * kAdvance - (kAdvance - kGlyphWidth), kGlyphHeight};
}

void SimDrawing::DrawText(DcHandle dc, const std::string& text, const Rect& rect, unsigned flags,
                          const FontDesc& font) {
  const Point extent = TextExtent(dc, text, font);
  int left = rect.left;
  int top = rect.top;
  if ((flags & textflag::kCenter) != 0) left = rect.left + (rect.Width() - extent.x) / 2;
  if ((flags & textflag::kSingleLine) != 0 && (flags & textflag::kVCenter) != 0) {
    top = rect.top + (rect.Height() - extent.y) / 2;
  }
  Dc& d = DcOf(dc);
  Bitmap& b = Target(dc);
  const std::uint32_t ink = PixelFor(b, d, d.text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto& rows = GlyphRows(text[i]);
    for (int gy = 0; gy < kGlyphHeight; ++gy) {
      for (int gx = 0; gx < kGlyphWidth; ++gx) {
        if ((rows[gy] & (0x10 >> gx)) == 0) continue;
        const int px = left + static_cast<int>(i) * kAdvance + gx;
        const int py = top + gy;
        const bool clipped = (flags & textflag::kNoClip) == 0 && !rect.Contains(Point{px, py});
        if (clipped || px < 0 || py < 0 || px >= b.width || py >= b.height) continue;
        b.At(px, py) = ink;
      }
    }
  }
}

Color SimDrawing::SysColor(int index) {
  return index >= 0 && index < static_cast<int>(kSystemColors.size()) ? kSystemColors[index] : 0;
}

}  // namespace velocane::sim
