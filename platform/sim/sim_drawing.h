#pragma once
// A software rasteriser on 32-bit pixels that follows GDI's rules, as Wine
// implements them, for what the drawing components use: lines with GDI's
// Bresenham variant and their end points left out, ellipses and alternate
// polygon fills, solid and hatched brushes with their origin, ternary raster
// operations, stretching in the default BLACKONWHITE mode, monochrome bitmaps
// converted with the text and background colours, and a small built-in font.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/drawing.h"

namespace velocane::sim {

class SimDrawing : public Drawing {
 public:
  SimDrawing();

  DcHandle CreateMemoryDc() override;
  void DeleteDc(DcHandle dc) override;
  BitmapHandle CreateBitmap(int width, int height) override;
  BitmapHandle CreateMonoBitmap(int width, int height) override;
  void DeleteBitmap(BitmapHandle bitmap) override;
  BitmapHandle SelectBitmap(DcHandle dc, BitmapHandle bitmap) override;
  Point BitmapSize(BitmapHandle bitmap) override;
  BrushHandle CreateBrush(const Brush& brush) override;
  void DeleteBrush(BrushHandle brush) override;
  BrushHandle SelectBrush(DcHandle dc, BrushHandle brush) override;
  Point SetBrushOrg(DcHandle dc, Point origin) override;
  Color GetPixel(DcHandle dc, int x, int y) override;
  void SetPixel(DcHandle dc, int x, int y, Color color) override;
  void Line(DcHandle dc, int x0, int y0, int x1, int y1, Color color) override;
  void Ellipse(DcHandle dc, const Rect& box, Color fill, Color outline) override;
  void Polygon(DcHandle dc, const std::vector<Point>& points, Color fill, Color outline) override;
  void FillRect(DcHandle dc, const Rect& rect, Color color) override;
  void PatBlt(DcHandle dc, int x, int y, int width, int height, std::uint32_t raster_op) override;
  void SetTextColor(DcHandle dc, Color color) override;
  void SetBkColor(DcHandle dc, Color color) override;
  Color GetTextColor(DcHandle dc) override;
  Color GetBkColor(DcHandle dc) override;
  BkMode SetBkMode(DcHandle dc, BkMode mode) override;
  void BitBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx, int sy,
              std::uint32_t raster_op) override;
  void StretchBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx, int sy,
                  int src_width, int src_height, std::uint32_t raster_op) override;
  bool MaskBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx, int sy,
               BitmapHandle mask, int mx, int my, std::uint32_t raster_op4) override;
  void DrawText(DcHandle dc, const std::string& text, const Rect& rect, unsigned flags,
                const FontDesc& font) override;
  Point TextExtent(DcHandle dc, const std::string& text, const FontDesc& font) override;
  Color SysColor(int index) override;

  // Test side: how many device contexts, bitmaps and brushes are alive, stock
  // objects left out (leak checks).
  int LiveDcs() const { return static_cast<int>(dcs_.size()); }
  int LiveBitmaps() const { return static_cast<int>(bitmaps_.size()) - 1; }
  int LiveBrushes() const { return static_cast<int>(brushes_.size()) - 2; }

  // Test side: the shape operations in the order they were made, with the
  // colours they draw in, kept while on: what a painter asked for, apart from
  // how the pixels came out.
  enum class DrawOp { kPatBlt, kLine, kEllipse };
  struct DrawCall {
    DrawOp op = DrawOp::kPatBlt;
    DcHandle dc;
    // PatBlt: x, y, width, height; Line: from (x0, y0) to (x1, y1); Ellipse:
    // left, top, right, bottom.
    int a = 0, b = 0, c = 0, d = 0;
    // PatBlt: the selected brush; Ellipse: its fill (bsClear for none).
    Brush brush{TBrushStyle::bsClear, clNone};
    Color pen = clNone;           // Line and Ellipse
    std::uint32_t raster_op = 0;  // PatBlt
  };
  void KeepJournal(bool on) { keep_journal_ = on; }
  const std::vector<DrawCall>& Journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

  struct Bitmap {
    int width = 0;
    int height = 0;
    bool mono = false;
    std::vector<std::uint32_t> pixels;  // colour: 0x00BBGGRR; mono: 0 or 1
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  };
  struct Dc {
    BitmapHandle bitmap;
    BrushHandle brush;
    Color text = 0x000000;
    Color background = 0xFFFFFF;
    BkMode bk_mode = BkMode::kOpaque;
    Point brush_org;
  };

 private:
  BitmapHandle NewBitmap(int width, int height, bool mono);
  Dc& DcOf(DcHandle dc);
  Bitmap& Target(DcHandle dc);
  // The value a pen or brush colour takes in the target (monochrome: 0 or 1 by GDI's rule).
  std::uint32_t PixelFor(const Bitmap& target, const Dc& dc, Color color) const;
  // A brush's pattern at a pixel, in the target's format; false where a
  // transparent hatch leaves the pixel alone or there is no brush.
  bool PatternAt(const Brush& brush, const Bitmap& target, const Dc& dc, int x, int y,
                 std::uint32_t* value) const;
  // A source pixel converted to the destination's format.
  static std::uint32_t SourceValue(const Bitmap& source, const Dc& src, const Bitmap& target,
                                   const Dc& dst, int x, int y);

  std::map<std::uintptr_t, Bitmap> bitmaps_;
  std::map<std::uintptr_t, Dc> dcs_;
  std::map<std::uintptr_t, Brush> brushes_;
  std::uintptr_t next_ = 0x100;
  BitmapHandle stock_bitmap_;  // the 1 x 1 monochrome bitmap a new memory context holds
  BrushHandle white_brush_;    // what a new memory context holds
  BrushHandle null_brush_;     // what bsClear gives
  bool keep_journal_ = false;
  std::vector<DrawCall> journal_;
};

}  // namespace velocane::sim
