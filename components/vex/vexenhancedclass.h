#pragma once
// Frames, glyphs and 3-D text: small settings objects owned by a control,
// each with one drawing operation, and the two blits for keyed bitmaps.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/drawing.h"
#include "platform/framework/graphics.h"
#include "platform/framework/images.h"
#include "platform/framework/rounding.h"

namespace velocane {

class TComponent;

// The base of the settings objects: one change callback, fired by Changed.
class TVexPersistent {
 public:
  explicit TVexPersistent(TComponent* owner) : owner_(owner) {}
  virtual ~TVexPersistent() = default;
  TComponent* Owner() const { return owner_; }
  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }
  // A length given at 96 DPI, at the DPI its control is drawn at (the same
  // without a control).
  int Scaled(int length) const;

 private:
  TComponent* owner_;
};

// A device context with the operations to draw on it.
using TVexDc = TDc;

enum class TVexFrameStyle {
  frameSolid,
  frameRaised,
  frameLowered,
  frameNone,
  frameFramedUp,
  frameFramedDown,
  framePanelUp,
  framePanelDown,
  frameLightBordered,
};

enum TVexFrameEdge : std::uint8_t {
  EdgeLeft = 1,
  EdgeRight = 2,
  EdgeTop = 4,
  EdgeBottom = 8,
};
using TVexFrameEdges = std::uint8_t;
constexpr TVexFrameEdges kAllEdges = EdgeLeft | EdgeRight | EdgeTop | EdgeBottom;

class TVexFrame : public TVexPersistent {
 public:
  using TVexPersistent::TVexPersistent;

  TVexFrameStyle FrameStyle() const { return style_; }
  void SetFrameStyle(TVexFrameStyle style);
  TVexFrameEdges Edges() const { return edges_; }
  void SetEdges(TVexFrameEdges edges);
  Color Highlight() const { return highlight_; }
  void SetHighlight(Color color);
  Color Shadow() const { return shadow_; }
  void SetShadow(Color color);
  Color Solid() const { return solid_; }
  void SetSolid(Color color);
  std::uint8_t FrameWidth() const { return width_; }
  // 0 is refused: the width stays and nothing changes.
  void SetFrameWidth(std::uint8_t width);
  void Assign(const TVexFrame& other);

  int FrameDepth() const;
  // Draws the frame on `rect` and shrinks it by the depth drawn.
  void DrawFrame(TVexDc target, Rect& rect);

 private:
  void Band(TVexDc target, Rect& rect, Color first, Color second);
  void Ring(TVexDc target, const Rect& ring, Color first, Color second);

  TVexFrameStyle style_ = TVexFrameStyle::frameRaised;
  TVexFrameEdges edges_ = kAllEdges;
  Color highlight_ = clBtnHighlight;
  Color shadow_ = clBtnShadow;
  Color solid_ = clBlack;
  std::uint8_t width_ = 1;
  int ring_counter_ = 0;
};

// The component set's pictures are the framework's: pixels 0x00BBGGRR, row by row.
using TVexImage = TPixelImage;

class TVexGlyph : public TVexPersistent {
 public:
  using TVexPersistent::TVexPersistent;

  const TVexImage& Bitmap() const { return bitmap_; }
  void SetBitmap(const TVexImage& image);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int count);  // 1..4
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  Color TransparentColor() const { return transparent_color_; }
  void SetTransparentColor(Color color);
  void Assign(const TVexGlyph& other);

  int GlyphWidth() const;
  int GlyphHeight() const { return bitmap_.Empty() ? 0 : bitmap_.height; }
  void DrawGlyph(TVexDc target, int x, int y, bool enabled, bool alternate_cell, bool recolour);

 private:
  void Recolour(TVexDc cell, int width, int height, int factor);

  TVexImage bitmap_;
  int num_glyphs_ = 1;
  bool visible_ = true;
  bool transparent_ = true;
  Color transparent_color_ = clBlack;
};

enum class TVexStyle3D {
  fontRaised,
  fontInset,
  fontOnlyShadow,
  fontOnlyHighlight,
  fontOutLineShadow
};
enum class TVexRepeat { repeatOnShadow, repeatOnHighLight, repeatNone };

class TVexFont3D : public TVexPersistent {
 public:
  using TVexPersistent::TVexPersistent;

  bool ThreeDimensional() const { return three_dimensional_; }
  void SetThreeDimensional(bool on);
  TVexStyle3D Style3D() const { return style_; }
  void SetStyle3D(TVexStyle3D style);
  std::uint8_t Offset() const { return offset_; }
  // 0 is refused (the change is still announced).
  void SetOffset(std::uint8_t offset);
  Color Highlight() const { return highlight_; }
  void SetHighlight(Color color);
  Color Shadow() const { return shadow_; }
  void SetShadow(Color color);
  TVexRepeat Repetition() const { return repetition_; }
  void SetRepetition(TVexRepeat repetition);
  Color RepetitionColor() const { return repetition_color_; }
  void SetRepetitionColor(Color color);
  std::uint8_t Repetitionwidth() const { return repetition_width_; }
  void SetRepetitionwidth(std::uint8_t width);
  void Assign(const TVexFont3D& other);

  void DrawText3D(const FontDesc& font, TVexDc target, const Rect& rect, const std::string& text,
                  unsigned flags, bool enabled);

 private:
  bool three_dimensional_ = true;
  TVexStyle3D style_ = TVexStyle3D::fontOnlyHighlight;
  std::uint8_t offset_ = 1;
  Color highlight_ = clBtnHighlight;
  Color shadow_ = clBtnShadow;
  TVexRepeat repetition_ = TVexRepeat::repeatNone;
  Color repetition_color_ = clBlack;
  std::uint8_t repetition_width_ = 0;
};

// Draws a bitmap (selected into `source`, size `size`) at (x, y), leaving the
// destination unchanged where the bitmap has its key colour.
void DrawBitmapKeyed(TVexDc target, DcHandle source, Point size, Color key, int x, int y,
                     bool allow_native = true);

// Copies the source rectangle, stretched to the destination rectangle, except
// where the mask is 1. With equal sizes the system's masked transfer is used
// unless `allow_native` is false; the raster path gives the same pixels.
void MaskedStretchBlit(Drawing& gdi, DcHandle dst, int dx, int dy, int dw, int dh, DcHandle src,
                       int sx, int sy, int sw, int sh, DcHandle mask_dc, int mx, int my,
                       bool allow_native = true);

}  // namespace velocane
