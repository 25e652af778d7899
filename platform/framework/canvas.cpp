#include "platform/canvas.h"

namespace velocane {

void Canvas::FillRect(const Rect& rect, Color color) {
  if (color != clNone) drawing_.FillRect(dc_, rect, color);
}

void Canvas::Edge(const Rect& r, bool raised) {
  const Color top_left = raised ? clBtnHighlight : clBtnShadow;
  const Color bottom_right = raised ? clBtnShadow : clBtnHighlight;
  // DrawEdge's order: top and left, then bottom and right, so the
  // top-right and bottom-left corners take the bottom-right colour.
  drawing_.Line(dc_, r.left, r.top, r.right, r.top, top_left);
  drawing_.Line(dc_, r.left, r.top, r.left, r.bottom, top_left);
  drawing_.Line(dc_, r.left, r.bottom - 1, r.right, r.bottom - 1, bottom_right);
  drawing_.Line(dc_, r.right - 1, r.top, r.right - 1, r.bottom, bottom_right);
}

void Canvas::Ellipse(const Rect& rect, Color fill, Color outline) {
  drawing_.Ellipse(dc_, rect, fill, outline);
}

void Canvas::Polygon(const std::vector<Point>& points, Color fill, Color outline) {
  drawing_.Polygon(dc_, points, fill, outline);
}

void Canvas::DrawText(const Rect& rect, const std::string& text, const FontDesc& font,
                      unsigned flags) {
  const Color old = drawing_.GetTextColor(dc_);
  drawing_.SetTextColor(dc_, font.color);
  drawing_.DrawText(dc_, text, rect, flags, font);
  drawing_.SetTextColor(dc_, old);
}

void Canvas::FocusRect(const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const Color ink = drawing_.Resolve(clWindowText);
  const auto dot = [&](int x, int y) {
    if ((x + y) % 2 == 0) drawing_.SetPixel(dc_, x, y, ink);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    dot(r.right - 1, y);
  }
}

}  // namespace velocane
