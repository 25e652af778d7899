#pragma once
// Drawing, shaped like the GDI operations the drawing components use: device
// contexts with a selected bitmap, a pen for lines, brushes, block transfers
// with raster operations, monochrome masks and text. The simulation is a
// software rasteriser that follows GDI's pixel rules, so both can be compared.
#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "platform/types.h"

namespace velocane {

struct DcHandle {
  std::uintptr_t value = 0;
  explicit operator bool() const { return value != 0; }
  friend bool operator==(DcHandle, DcHandle) = default;
};

struct BitmapHandle {
  std::uintptr_t value = 0;
  explicit operator bool() const { return value != 0; }
  friend bool operator==(BitmapHandle, BitmapHandle) = default;
};

// Raster operations, with the system's values.
namespace rop {
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::uint32_t kSrcAnd = 0x008800C6;
constexpr std::uint32_t kSrcInvert = 0x00660046;
constexpr std::uint32_t kSrcErase = 0x00440328;
constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr std::uint32_t kPatInvert = 0x005A0049;
constexpr std::uint32_t kDstInvert = 0x00550009;
// MaskBlt: keep the destination where the mask is 1, copy the source where it is 0.
constexpr std::uint32_t kMaskKeepDestination = 0xCCAA0029;
}  // namespace rop

class Drawing {
 public:
  virtual ~Drawing() = default;

  // A memory device context compatible with the screen, with a 1 x 1
  // monochrome bitmap selected as GDI gives it.
  virtual DcHandle CreateMemoryDc() = 0;
  virtual void DeleteDc(DcHandle dc) = 0;
  // A colour bitmap (the screen's format) or a monochrome one; contents undefined until drawn.
  virtual BitmapHandle CreateBitmap(int width, int height) = 0;
  virtual BitmapHandle CreateMonoBitmap(int width, int height) = 0;
  virtual void DeleteBitmap(BitmapHandle bitmap) = 0;
  // Selects a bitmap into a memory device context; returns the one it replaces.
  virtual BitmapHandle SelectBitmap(DcHandle dc, BitmapHandle bitmap) = 0;
  virtual Point BitmapSize(BitmapHandle bitmap) = 0;

  virtual Color GetPixel(DcHandle dc, int x, int y) = 0;  // 0x00BBGGRR
  virtual void SetPixel(DcHandle dc, int x, int y, Color color) = 0;

  // MoveToEx and LineTo with a private solid pen of width 1 in copy mode,
  // selected for this line only: the end point is left out.
  virtual void Line(DcHandle dc, int x0, int y0, int x1, int y1, Color color) = 0;
  virtual void FillRect(DcHandle dc, const Rect& rect, Color color) = 0;
  // A block of the destination combined with a solid brush of `brush` (the pattern).
  virtual void PatBlt(DcHandle dc, const Rect& rect, Color brush, std::uint32_t raster_op) = 0;

  virtual void SetTextColor(DcHandle dc, Color color) = 0;
  virtual void SetBkColor(DcHandle dc, Color color) = 0;
  virtual Color GetTextColor(DcHandle dc) = 0;
  virtual Color GetBkColor(DcHandle dc) = 0;

  virtual void BitBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                      int sy, std::uint32_t raster_op) = 0;
  virtual void StretchBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                          int sy, int src_width, int src_height, std::uint32_t raster_op) = 0;
  // False where the system offers no masked transfer.
  virtual bool MaskBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                       int sy, BitmapHandle mask, int mx, int my, std::uint32_t raster_op4) = 0;

  // DrawTextEx in the text colour, transparent background.
  virtual void DrawText(DcHandle dc, const std::string& text, const Rect& rect, unsigned flags,
                        const FontDesc& font) = 0;
  // The box the text covers when drawn with DT_SINGLELINE at (0, 0).
  virtual Point TextExtent(DcHandle dc, const std::string& text, const FontDesc& font) = 0;

  // A system colour by index, as the system reports it.
  virtual Color SysColor(int index) = 0;
  // Plain colours stay; system colours are resolved.
  Color Resolve(Color color) {
    return (color & kSystemColorFlag) != 0 ? SysColor(static_cast<int>(color & 0xFF))
                                           : (color & 0xFFFFFF);
  }
};

}  // namespace velocane
