#include "platform/sim/sim_canvas.h"

#include <algorithm>

namespace velocane::sim {

void SimCanvas::FillRect(const Rect& rect, Color color) {
  if (color != clNone) drawing_.FillRect(dc_, rect, color);
}

void SimCanvas::Edge(const Rect& r, bool raised) {
  const Color light = raised ? clBtnHighlight : clBtnShadow;
  const Color dark = raised ? clBtnShadow : clBtnHighlight;
  drawing_.Line(dc_, r.left, r.bottom - 1, r.left, r.top, light);
  drawing_.Line(dc_, r.left, r.top, r.right - 1, r.top, light);
  drawing_.Line(dc_, r.right - 1, r.top, r.right - 1, r.bottom - 1, dark);
  drawing_.Line(dc_, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, dark);
}

void SimCanvas::Ellipse(const Rect& r, Color fill, Color outline) {
  // Pixel centres inside the ellipse inscribed in the rectangle.
  const double cx = (r.left + r.right - 1) / 2.0;
  const double cy = (r.top + r.bottom - 1) / 2.0;
  const double rx = r.Width() / 2.0;
  const double ry = r.Height() / 2.0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const double dx = (x - cx) / rx;
      const double dy = (y - cy) / ry;
      const double d = dx * dx + dy * dy;
      if (d > 1.0) continue;
      const bool edge = d > 0.8;
      const Color c = edge && outline != clNone ? outline : fill;
      if (c != clNone) drawing_.SetPixel(dc_, x, y, c);
    }
  }
}

void SimCanvas::Polygon(const std::vector<Point>& points, Color fill, Color outline) {
  if (points.size() < 3) return;
  int top = points[0].y, bottom = points[0].y;
  for (Point p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  if (fill != clNone) {
    // Even-odd scanline fill at pixel centres.
    for (int y = top; y <= bottom; ++y) {
      std::vector<double> crossings;
      for (std::size_t i = 0; i < points.size(); ++i) {
        const Point a = points[i];
        const Point b = points[(i + 1) % points.size()];
        const double yc = y + 0.5;
        if ((a.y <= yc && b.y > yc) || (b.y <= yc && a.y > yc)) {
          crossings.push_back(a.x + (yc - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        for (int x = static_cast<int>(crossings[i] + 0.5); x < crossings[i + 1] + 0.5; ++x) {
          drawing_.SetPixel(dc_, x, y, fill);
        }
      }
    }
  }
  if (outline != clNone) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Point a = points[i];
      const Point b = points[(i + 1) % points.size()];
      drawing_.Line(dc_, a.x, a.y, b.x, b.y, outline);
    }
  }
}

void SimCanvas::DrawText(const Rect& rect, const std::string& text, const FontDesc& font,
                         unsigned flags) {
  const Color old = drawing_.GetTextColor(dc_);
  drawing_.SetTextColor(dc_, font.color);
  drawing_.DrawText(dc_, text, rect, flags, font);
  drawing_.SetTextColor(dc_, old);
}

}  // namespace velocane::sim
