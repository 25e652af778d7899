#pragma once
// GDI's rasterisation rules as Wine's DIB engine applies them, as plain
// geometry: which pixels a line, an ellipse or a polygon covers, and which
// source pixel feeds each destination pixel of a stretch. The simulated
// drawing paints what these produce.
#include <functional>
#include <vector>

#include "platform/types.h"

namespace velocane::sim::raster {

using Plot = std::function<void(int x, int y)>;

// A line from (x0, y0) towards (x1, y1), the end point left out: horizontal
// and vertical lines as spans, others with GDI's Bresenham variant (a bias
// of one in octants 3, 5, 6 and 8).
void Line(int x0, int y0, int x1, int y1, const Plot& plot);

// A closed outline through `points`: one line from each to the next and from
// the last back to the first.
void ClosedPolyline(const std::vector<Point>& points, const Plot& plot);

// One row of a filled shape: columns [left, right) of row y.
struct Span {
  int y;
  int left;
  int right;
};

// An ellipse in an ordered box at least 3 x 3: the interior the brush fills
// (GDI's elliptic region of the box) and the outline the pen draws, as
// points in drawing order for a closed polyline.
std::vector<Span> EllipseInterior(const Rect& box);
std::vector<Point> EllipseOutline(const Rect& box);

// The interior of a polygon by the alternate (even-odd) rule, as GDI's
// region scan converts it: pixel centres inside, left edges in, right out.
std::vector<Span> PolygonInterior(const std::vector<Point>& points);

// One axis of a stretch: for each step, which destination and source
// coordinates pair up. Follows the system's Bresenham-style stretch with
// its clipping to the visible parts of both sides.
struct Stretch1D {
  int dst_start = 0;
  int src_start = 0;
  int dst_end = 0;
  int src_end = 0;
  int err_start = 0;
  int err_add_1 = 0;
  int err_add_2 = 0;
  int length = 0;
  int src_inc = 1;
  int dst_inc = 1;
  bool stretch = false;  // the destination is the longer side
};
// False when nothing of the axis is visible.
bool CalcStretch1D(int dst_start, int dst_length, int dst_vis_start, int dst_vis_end, int src_start,
                   int src_length, int src_vis_start, int src_vis_end, Stretch1D* out);

// PatBlt's and StretchBlt's rectangle for a position and signed extents:
// a negative extent covers the pixels before the position and the position itself.
Rect BoundingRect(int x, int y, int width, int height);

Rect Intersect(const Rect& a, const Rect& b);
bool IsEmpty(const Rect& r);

}  // namespace velocane::sim::raster
