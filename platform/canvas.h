#pragma once
// What a windowless control needs to paint itself on its parent.
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

class Drawing;
struct DcHandle;

class Canvas {
 public:
  virtual ~Canvas() = default;
  // The device context under this canvas, for components that draw with the
  // drawing operations themselves.
  virtual Drawing& Gdi() = 0;
  virtual DcHandle Dc() = 0;
  virtual void FillRect(const Rect& rect, Color color) = 0;
  // A one-pixel 3-D edge: raised (light top-left) or lowered.
  virtual void Edge(const Rect& rect, bool raised) = 0;
  virtual void Ellipse(const Rect& rect, Color fill, Color outline) = 0;
  virtual void Polygon(const std::vector<Point>& points, Color fill, Color outline) = 0;
  virtual void DrawText(const Rect& rect, const std::string& text, const FontDesc& font,
                        unsigned flags) = 0;
};

}  // namespace velocane
