#pragma once
// Drawing, shaped like the GDI operations the drawing components use: device
// contexts with a selected bitmap and brush, lines and shapes with a pen,
// block transfers with raster operations, monochrome masks and text. The
// simulation is a software rasteriser that follows GDI's pixel rules, so
// both can be compared.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace velocane {

struct FontDesc {
  std::string name = "MS Sans Serif";
  int height = 11;  // character height in pixels
  bool bold = false;
  Color color = clWindowText;
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

namespace textflag {
constexpr unsigned kLeft = 0x0;
constexpr unsigned kCenter = 0x1;
constexpr unsigned kVCenter = 0x4;
constexpr unsigned kBottom = 0x8;
constexpr unsigned kSingleLine = 0x20;
constexpr unsigned kNoClip = 0x100;
}  // namespace textflag

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

struct BrushHandle {
  std::uintptr_t value = 0;
  explicit operator bool() const { return value != 0; }
  friend bool operator==(BrushHandle, BrushHandle) = default;
};

// The platform's brush styles: solid, none, and the six hatch patterns.
enum class TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

struct Brush {
  TBrushStyle style = TBrushStyle::bsSolid;
  Color color = clWhite;
  friend bool operator==(const Brush&, const Brush&) = default;
};

// Background modes, with the system's values: how hatches and monochrome
// text fill the gaps between their lines.
enum class BkMode { kTransparent = 1, kOpaque = 2 };

// Raster operations, with the system's values.
namespace rop {
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::uint32_t kSrcAnd = 0x008800C6;
constexpr std::uint32_t kSrcInvert = 0x00660046;
constexpr std::uint32_t kSrcErase = 0x00440328;
constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr std::uint32_t kPatInvert = 0x005A0049;
constexpr std::uint32_t kDstInvert = 0x00550009;
// The pattern where the source is 1 (white), the destination where it is 0.
constexpr std::uint32_t kDSPDxax = 0x00E20746;
// MaskBlt: keep the destination where the mask is 1, copy the source where it is 0.
constexpr std::uint32_t kMaskKeepDestination = 0xCCAA0029;
}  // namespace rop

class Drawing {
 public:
  virtual ~Drawing() = default;

  // A memory device context compatible with the screen, with a 1 x 1
  // monochrome bitmap, the white brush and an opaque white background, as
  // GDI gives it. Failures raise EOSError with the system's code.
  virtual DcHandle CreateMemoryDc() = 0;
  virtual void DeleteDc(DcHandle dc) = 0;
  // A colour bitmap (32 bits a pixel, top-down) or a monochrome one; all
  // pixels 0 (black). Sizes the system refuses raise EOSError.
  virtual BitmapHandle CreateBitmap(int width, int height) = 0;
  virtual BitmapHandle CreateMonoBitmap(int width, int height) = 0;
  virtual void DeleteBitmap(BitmapHandle bitmap) = 0;
  // Selects a bitmap into a memory device context; returns the one it replaces.
  virtual BitmapHandle SelectBitmap(DcHandle dc, BitmapHandle bitmap) = 0;
  virtual Point BitmapSize(BitmapHandle bitmap) = 0;

  // Brushes: CreateSolidBrush, CreateHatchBrush, or the stock null brush
  // for bsClear (which needs no deleting, but may be deleted).
  virtual BrushHandle CreateBrush(const Brush& brush) = 0;
  virtual void DeleteBrush(BrushHandle brush) = 0;
  // Selects a brush; returns the one it replaces.
  virtual BrushHandle SelectBrush(DcHandle dc, BrushHandle brush) = 0;
  // Where hatch patterns are anchored (SetBrushOrgEx); returns the old origin.
  virtual Point SetBrushOrg(DcHandle dc, Point origin) = 0;

  virtual Color GetPixel(DcHandle dc, int x, int y) = 0;  // 0x00BBGGRR
  virtual void SetPixel(DcHandle dc, int x, int y, Color color) = 0;

  // MoveToEx and LineTo with a private solid pen of width 1 in copy mode,
  // selected for this line only: the end point is left out.
  virtual void Line(DcHandle dc, int x0, int y0, int x1, int y1, Color color) = 0;
  // Ellipse and Polygon (alternate fill) with a private solid pen of width 1
  // in copy mode and a private solid brush; clNone stands for the null pen
  // or the null brush.
  virtual void Ellipse(DcHandle dc, const Rect& box, Color fill, Color outline) = 0;
  virtual void Polygon(DcHandle dc, const std::vector<Point>& points, Color fill,
                       Color outline) = 0;
  // FillRect with a private solid brush.
  virtual void FillRect(DcHandle dc, const Rect& rect, Color color) = 0;
  // PatBlt with the selected brush; a negative width or height extends to
  // the left or upwards from x or y.
  virtual void PatBlt(DcHandle dc, int x, int y, int width, int height,
                      std::uint32_t raster_op) = 0;

  virtual void SetTextColor(DcHandle dc, Color color) = 0;
  virtual void SetBkColor(DcHandle dc, Color color) = 0;
  virtual Color GetTextColor(DcHandle dc) = 0;
  virtual Color GetBkColor(DcHandle dc) = 0;
  virtual BkMode SetBkMode(DcHandle dc, BkMode mode) = 0;  // returns the old mode

  // Block transfers; raster operations that use a pattern take the
  // destination's selected brush. StretchBlt uses GDI's default stretch
  // mode (BLACKONWHITE: shrunk pixels are combined with AND).
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
