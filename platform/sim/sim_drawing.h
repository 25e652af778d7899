#pragma once
// A software rasteriser on 32-bit pixels that follows GDI's rules for what the
// drawing components use: end points left out of lines, right and bottom
// edges exclusive, ternary raster operations, monochrome bitmaps converted
// with the text and background colours, and a small built-in font.
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
  Color GetPixel(DcHandle dc, int x, int y) override;
  void SetPixel(DcHandle dc, int x, int y, Color color) override;
  void Line(DcHandle dc, int x0, int y0, int x1, int y1, Color color) override;
  void FillRect(DcHandle dc, const Rect& rect, Color color) override;
  void PatBlt(DcHandle dc, const Rect& rect, Color brush, std::uint32_t raster_op) override;
  void SetTextColor(DcHandle dc, Color color) override;
  void SetBkColor(DcHandle dc, Color color) override;
  Color GetTextColor(DcHandle dc) override;
  Color GetBkColor(DcHandle dc) override;
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

  // Test side: how many device contexts and bitmaps are alive (leak checks).
  int LiveDcs() const { return static_cast<int>(dcs_.size()); }
  int LiveBitmaps() const { return static_cast<int>(bitmaps_.size()) - 1; }  // less the stock one

 private:
  struct Bitmap {
    int width = 0;
    int height = 0;
    bool mono = false;
    std::vector<std::uint32_t> pixels;  // colour: 0x00BBGGRR; mono: 0 or 1
  };
  struct Dc {
    BitmapHandle bitmap;
    Color text = 0x000000;
    Color background = 0xFFFFFF;
  };
  Dc& DcOf(DcHandle dc);
  Bitmap& Target(DcHandle dc);
  // A source pixel as 24-bit colour, converted for a colour destination
  // (mono: 0 -> destination's text colour, 1 -> its background colour).
  static std::uint32_t SourceColor(const Bitmap& bits, int x, int y, const Dc& dst);
  // Writes one pixel through a ternary raster operation.
  static void Blend(Bitmap& target, int x, int y, std::uint32_t source, std::uint32_t raster_op);

  std::map<std::uintptr_t, Bitmap> bitmaps_;
  std::map<std::uintptr_t, Dc> dcs_;
  std::uintptr_t next_ = 0x100;
  BitmapHandle stock_;  // the 1 x 1 monochrome bitmap a new memory context holds
};

}  // namespace velocane::sim
