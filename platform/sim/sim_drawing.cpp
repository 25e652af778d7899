#include "platform/sim/sim_drawing.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace velocane::sim {

namespace {

// The system colours Wine reports in a new prefix, by index.
constexpr std::array<Color, 31> kSystemColors = {
    0xFFFFFF, 0x956F25, 0xFA9632, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x9E9E9E, 0x000000,
    0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x808080, 0xFA9630, 0xFFFFFF, 0xF5F5F5,
    0xA6A6A6, 0xA6A6A6, 0x000000, 0xC8C8C8, 0xFFFFFF, 0x6A6A6A, 0xE3E3E3, 0x000000,
    0xFFFFFF, 0xFFFFFF, 0xE0E0E0, 0xFA9632, 0x808080, 0xFA9630, 0xFFFFFF,
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

// A 5 x 7 font for the characters the components write; others show as a box.
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

}  // namespace

SimDrawing::SimDrawing() { stock_ = CreateMonoBitmap(1, 1); }

SimDrawing::Dc& SimDrawing::DcOf(DcHandle dc) { return dcs_.at(dc.value); }

SimDrawing::Bitmap& SimDrawing::Target(DcHandle dc) { return bitmaps_.at(DcOf(dc).bitmap.value); }

DcHandle SimDrawing::CreateMemoryDc() {
  DcHandle dc{next_++};
  dcs_[dc.value] = Dc{stock_};
  return dc;
}

void SimDrawing::DeleteDc(DcHandle dc) { dcs_.erase(dc.value); }

BitmapHandle SimDrawing::CreateBitmap(int width, int height) {
  BitmapHandle bitmap{next_++};
  bitmaps_[bitmap.value] =
      Bitmap{width, height, false,
             std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0)};
  return bitmap;
}

BitmapHandle SimDrawing::CreateMonoBitmap(int width, int height) {
  BitmapHandle bitmap{next_++};
  bitmaps_[bitmap.value] = Bitmap{
      width, height, true, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0)};
  return bitmap;
}

void SimDrawing::DeleteBitmap(BitmapHandle bitmap) {
  if (bitmap != stock_) bitmaps_.erase(bitmap.value);
}

BitmapHandle SimDrawing::SelectBitmap(DcHandle dc, BitmapHandle bitmap) {
  Dc& d = DcOf(dc);
  BitmapHandle old = d.bitmap;
  d.bitmap = bitmap;
  return old;
}

Point SimDrawing::BitmapSize(BitmapHandle bitmap) {
  const Bitmap& b = bitmaps_.at(bitmap.value);
  return Point{b.width, b.height};
}

Color SimDrawing::GetPixel(DcHandle dc, int x, int y) {
  const Bitmap& b = Target(dc);
  if (x < 0 || y < 0 || x >= b.width || y >= b.height) return 0xFFFFFFFFu;  // CLR_INVALID
  const std::uint32_t v = b.pixels[static_cast<std::size_t>(y) * b.width + x];
  return b.mono ? (v != 0 ? 0xFFFFFF : 0x000000) : v;
}

void SimDrawing::SetPixel(DcHandle dc, int x, int y, Color color) {
  Bitmap& b = Target(dc);
  if (x < 0 || y < 0 || x >= b.width || y >= b.height) return;
  const Color c = Resolve(color);
  b.pixels[static_cast<std::size_t>(y) * b.width + x] =
      b.mono ? (c == DcOf(dc).background ? 1u : 0u) : c;
}

void SimDrawing::Line(DcHandle dc, int x0, int y0, int x, int y, Color color) {
  Bitmap& b = Target(dc);
  const Color pen = Resolve(color);
  const auto plot = [&](int px, int py) {
    if (px < 0 || py < 0 || px >= b.width || py >= b.height) return;
    b.pixels[static_cast<std::size_t>(py) * b.width + px] =
        b.mono ? (pen == 0xFFFFFF ? 1u : 0u) : pen;
  };
  // Bresenham; the end point is left out.
  const int dx = std::abs(x - x0);
  const int dy = -std::abs(y - y0);
  const int step_x = x0 < x ? 1 : -1;
  const int step_y = y0 < y ? 1 : -1;
  int error = dx + dy;
  while (x0 != x || y0 != y) {
    plot(x0, y0);
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += step_x;
    }
    if (twice <= dx) {
      error += dx;
      y0 += step_y;
    }
  }
}

void SimDrawing::FillRect(DcHandle dc, const Rect& rect, Color color) {
  Bitmap& b = Target(dc);
  const Color c = Resolve(color);
  const std::uint32_t value = b.mono ? (c == 0xFFFFFF ? 1u : 0u) : c;
  for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, b.height); ++y) {
    for (int x = std::max(rect.left, 0); x < std::min(rect.right, b.width); ++x) {
      b.pixels[static_cast<std::size_t>(y) * b.width + x] = value;
    }
  }
}

void SimDrawing::PatBlt(DcHandle dc, const Rect& rect, Color brush, std::uint32_t raster_op) {
  Bitmap& b = Target(dc);
  const Color pattern = Resolve(brush);
  for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, b.height); ++y) {
    for (int x = std::max(rect.left, 0); x < std::min(rect.right, b.width); ++x) {
      std::uint32_t& pixel = b.pixels[static_cast<std::size_t>(y) * b.width + x];
      if (b.mono) {
        const std::uint32_t p = pattern == 0xFFFFFF ? 0xFFFFFF : 0;
        pixel = Ternary(raster_op, p, 0, pixel != 0 ? 0xFFFFFF : 0) == 0xFFFFFF ? 1u : 0u;
      } else {
        pixel = Ternary(raster_op, pattern, 0, pixel);
      }
    }
  }
}

void SimDrawing::SetTextColor(DcHandle dc, Color color) { DcOf(dc).text = Resolve(color); }
void SimDrawing::SetBkColor(DcHandle dc, Color color) { DcOf(dc).background = Resolve(color); }
Color SimDrawing::GetTextColor(DcHandle dc) { return DcOf(dc).text; }
Color SimDrawing::GetBkColor(DcHandle dc) { return DcOf(dc).background; }

std::uint32_t SimDrawing::SourceColor(const Bitmap& bits, int x, int y, const Dc& dst) {
  const std::uint32_t v = bits.pixels[static_cast<std::size_t>(y) * bits.width + x];
  if (bits.mono) return v != 0 ? dst.background : dst.text;
  return v;
}

void SimDrawing::Blend(Bitmap& target, int x, int y, std::uint32_t source,
                       std::uint32_t raster_op) {
  std::uint32_t& pixel = target.pixels[static_cast<std::size_t>(y) * target.width + x];
  if (target.mono) {
    const std::uint32_t d = pixel != 0 ? 0xFFFFFF : 0;
    pixel = Ternary(raster_op, 0, source, d) == 0xFFFFFF ? 1u : 0u;
  } else {
    pixel = Ternary(raster_op, 0, source, pixel);
  }
}

void SimDrawing::BitBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                        int sy, std::uint32_t raster_op) {
  StretchBlt(dst, x, y, width, height, src, sx, sy, width, height, raster_op);
}

void SimDrawing::StretchBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                            int sy, int src_width, int src_height, std::uint32_t raster_op) {
  Dc& d = DcOf(dst);
  Dc& s = DcOf(src);
  Bitmap& target = Target(dst);
  const Bitmap& source = bitmaps_.at(s.bitmap.value);
  if (width <= 0 || height <= 0 || src_width <= 0 || src_height <= 0) return;
  for (int row = 0; row < height; ++row) {
    const int ty = y + row;
    const int fy = sy + static_cast<int>(static_cast<long long>(row) * src_height / height);
    if (ty < 0 || ty >= target.height || fy < 0 || fy >= source.height) continue;
    for (int col = 0; col < width; ++col) {
      const int tx = x + col;
      const int fx = sx + static_cast<int>(static_cast<long long>(col) * src_width / width);
      if (tx < 0 || tx >= target.width || fx < 0 || fx >= source.width) continue;
      std::uint32_t value;
      if (target.mono && !source.mono) {
        // Colour to monochrome: the source's background colour becomes 1 (white).
        value = source.pixels[static_cast<std::size_t>(fy) * source.width + fx] == s.background
                    ? 0xFFFFFF
                    : 0;
      } else if (target.mono) {
        value = source.pixels[static_cast<std::size_t>(fy) * source.width + fx] != 0 ? 0xFFFFFF : 0;
      } else {
        value = SourceColor(source, fx, fy, d);
      }
      Blend(target, tx, ty, value, raster_op);
    }
  }
}

bool SimDrawing::MaskBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                         int sy, BitmapHandle mask, int mx, int my, std::uint32_t raster_op4) {
  Dc& d = DcOf(dst);
  Dc& s = DcOf(src);
  Bitmap& target = Target(dst);
  const Bitmap& source = bitmaps_.at(s.bitmap.value);
  const Bitmap& bits = bitmaps_.at(mask.value);
  const std::uint32_t foreground = raster_op4 & 0x00FFFFFF;
  const std::uint32_t background = (raster_op4 >> 8) & 0x00FF0000;
  for (int row = 0; row < height; ++row) {
    const int ty = y + row;
    const int fy = sy + row;
    const int my_row = my + row;
    if (ty < 0 || ty >= target.height || fy < 0 || fy >= source.height) continue;
    for (int col = 0; col < width; ++col) {
      const int tx = x + col;
      const int fx = sx + col;
      if (tx < 0 || tx >= target.width || fx < 0 || fx >= source.width) continue;
      const int mx_col = mx + col;
      const bool set = mx_col >= 0 && my_row >= 0 && mx_col < bits.width && my_row < bits.height &&
                       bits.pixels[static_cast<std::size_t>(my_row) * bits.width + mx_col] != 0;
      Blend(target, tx, ty, SourceColor(source, fx, fy, d), set ? foreground : background);
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
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto& rows = GlyphRows(text[i]);
    for (int gy = 0; gy < kGlyphHeight; ++gy) {
      for (int gx = 0; gx < kGlyphWidth; ++gx) {
        if ((rows[gy] & (0x10 >> gx)) == 0) continue;
        const int px = left + static_cast<int>(i) * kAdvance + gx;
        const int py = top + gy;
        const bool clipped = (flags & textflag::kNoClip) == 0 && !rect.Contains(Point{px, py});
        if (clipped || px < 0 || py < 0 || px >= b.width || py >= b.height) continue;
        b.pixels[static_cast<std::size_t>(py) * b.width + px] = d.text;
      }
    }
  }
}

Color SimDrawing::SysColor(int index) {
  return index >= 0 && index < static_cast<int>(kSystemColors.size()) ? kSystemColors[index] : 0;
}

}  // namespace velocane::sim
