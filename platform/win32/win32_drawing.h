#pragma once
#include "platform/drawing.h"

namespace velocane::win32 {

// Real GDI. Handles are HDC, HBITMAP and HBRUSH values; colour bitmaps are
// 32-bit top-down DIB sections, so every pixel holds its colour exactly.
class Win32Drawing : public Drawing {
 public:
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
};

}  // namespace velocane::win32
