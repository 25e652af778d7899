#pragma once
// The Canvas interface on a simulated device context.
#include "platform/canvas.h"
#include "platform/sim/sim_drawing.h"

namespace velocane::sim {

class SimCanvas : public Canvas {
 public:
  SimCanvas(SimDrawing& drawing, DcHandle dc) : drawing_(drawing), dc_(dc) {}
  Drawing& Gdi() override { return drawing_; }
  DcHandle Dc() override { return dc_; }
  void FillRect(const Rect& rect, Color color) override;
  void Edge(const Rect& rect, bool raised) override;
  void Ellipse(const Rect& rect, Color fill, Color outline) override;
  void Polygon(const std::vector<Point>& points, Color fill, Color outline) override;
  void DrawText(const Rect& rect, const std::string& text, const FontDesc& font,
                unsigned flags) override;

 private:
  SimDrawing& drawing_;
  DcHandle dc_;
};

}  // namespace velocane::sim
