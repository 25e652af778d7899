#pragma once
// What a windowless control paints itself with: a device context and the
// drawing operations on it, with the few shapes the framework's controls draw.
#include <string>
#include <vector>

#include "platform/drawing.h"

namespace velocane {

class Canvas {
 public:
  Canvas(Drawing& drawing, DcHandle dc) : drawing_(drawing), dc_(dc) {}

  // The device context under this canvas, for components that draw with the
  // drawing operations themselves.
  Drawing& Gdi() const { return drawing_; }
  DcHandle Dc() const { return dc_; }

  // Nothing for clNone.
  void FillRect(const Rect& rect, Color color);
  // A one-pixel 3-D edge round the rectangle, as DrawEdge draws BDR_RAISEDINNER
  // (light top-left) or BDR_SUNKENOUTER (dark top-left) with BF_RECT.
  void Edge(const Rect& rect, bool raised);
  // Filled with `fill`, outlined with a one-pixel `outline`; clNone for either leaves it out.
  void Ellipse(const Rect& rect, Color fill, Color outline);
  void Polygon(const std::vector<Point>& points, Color fill, Color outline);
  // In the font's colour, on a transparent background.
  void DrawText(const Rect& rect, const std::string& text, const FontDesc& font, unsigned flags);
  // The keyboard focus: a dotted one-pixel frame inside the rectangle, every
  // other pixel in the window text colour.
  void FocusRect(const Rect& rect);

 private:
  Drawing& drawing_;
  DcHandle dc_;
};

}  // namespace velocane
