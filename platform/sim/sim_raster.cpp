#include "platform/sim/sim_raster.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace velocane::sim::raster {

namespace {

// Octants counted clockwise from the positive x axis, as bit masks.
int OctantNumber(int dx, int dy) {
  if (dy > 0) {
    if (dx > 0) return dx > dy ? 1 : 2;
    return -dx > dy ? 4 : 3;
  }
  if (dx < 0) return -dx > -dy ? 5 : 6;
  return dx > -dy ? 8 : 7;
}

constexpr unsigned kXMajor = 0x99;
constexpr unsigned kPositiveSlope = 0x33;
constexpr unsigned kXIncreasing = 0xC3;
constexpr unsigned kYIncreasing = 0x0F;
constexpr unsigned kBiased = 0xB4;  // octants 3, 5, 6 and 8

enum : unsigned { kOutLeft = 1, kOutRight = 2, kOutTop = 4, kOutBottom = 8 };

unsigned OutCode(Point p, const Rect& clip) {
  unsigned out = 0;
  if (p.x < clip.left) {
    out |= kOutLeft;
  } else if (p.x >= clip.right) {
    out |= kOutRight;
  }
  if (p.y < clip.top) {
    out |= kOutTop;
  } else if (p.y >= clip.bottom) {
    out |= kOutBottom;
  }
  return out;
}

// Clips a Bresenham line to a rectangle so that the clipped line has exactly
// the pixels of the whole one inside it. 0: nothing inside, 1: clipped, 2: whole.
int ClipLine(Point start, Point end, const Rect& clip, std::int64_t dx, std::int64_t dy,
             unsigned octant, std::int64_t bias, Point* p1, Point* p2) {
  const bool x_major = (octant & kXMajor) != 0;
  const bool negative_slope = (octant & kPositiveSlope) == 0;
  const std::int64_t two_dx = 2 * dx;
  const std::int64_t two_dy = 2 * dy;
  *p1 = start;
  *p2 = end;
  unsigned start_out = OutCode(start, clip);
  unsigned end_out = OutCode(end, clip);
  bool clipped = false;
  for (;;) {
    if (start_out == 0 && end_out == 0) return clipped ? 1 : 2;
    if ((start_out & end_out) != 0) return 0;
    clipped = true;
    std::int64_t m = 0;
    std::int64_t n = 0;
    if ((start_out & (kOutLeft | kOutRight)) != 0) {
      m = (start_out & kOutLeft) != 0 ? clip.left - start.x : start.x - clip.right + 1;
      n = x_major ? (m * two_dy + bias + dx - 1) / two_dx : (m * two_dy - bias - dy) / two_dx + 1;
      if (negative_slope) n = -n;
      if ((start_out & kOutLeft) != 0) {
        *p1 = Point{clip.left, static_cast<int>(start.y + n)};
      } else {
        *p1 = Point{clip.right - 1, static_cast<int>(start.y - n)};
      }
      start_out = OutCode(*p1, clip);
    } else if ((start_out & (kOutTop | kOutBottom)) != 0) {
      n = (start_out & kOutTop) != 0 ? clip.top - start.y : start.y - clip.bottom + 1;
      m = x_major ? (n * two_dx - bias - dx) / two_dy + 1 : (n * two_dx + bias + dy - 1) / two_dy;
      if (negative_slope) m = -m;
      if ((start_out & kOutTop) != 0) {
        *p1 = Point{static_cast<int>(start.x + m), clip.top};
      } else {
        *p1 = Point{static_cast<int>(start.x - m), clip.bottom - 1};
      }
      start_out = OutCode(*p1, clip);
    } else if ((end_out & (kOutLeft | kOutRight)) != 0) {
      m = (end_out & kOutLeft) != 0 ? clip.left - end.x : end.x - clip.right + 1;
      n = x_major ? (m * two_dy - bias + dx) / two_dx : (m * two_dy + bias - dy - 1) / two_dx + 1;
      if (negative_slope) n = -n;
      if ((end_out & kOutLeft) != 0) {
        *p2 = Point{clip.left, static_cast<int>(end.y + n)};
      } else {
        *p2 = Point{clip.right - 1, static_cast<int>(end.y - n)};
      }
      end_out = OutCode(*p2, clip);
    } else {
      n = (end_out & kOutTop) != 0 ? clip.top - end.y : end.y - clip.bottom + 1;
      m = x_major ? (n * two_dx + bias - dx - 1) / two_dy + 1 : (n * two_dx - bias + dy) / two_dy;
      if (negative_slope) m = -m;
      if ((end_out & kOutTop) != 0) {
        *p2 = Point{static_cast<int>(end.x + m), clip.top};
      } else {
        *p2 = Point{static_cast<int>(end.x - m), clip.bottom - 1};
      }
      end_out = OutCode(*p2, clip);
    }
  }
}

// The first quadrant of an ellipse W x H (Alois Zingl's algorithm, as the
// system uses it): from (W - 1, H / 2) counter-clockwise.
struct ZinglState {
  std::int64_t asq, bsq, dx, dy, err;
  ZinglState(int width, int height) {
    const std::int64_t a = width - 1;
    const std::int64_t b = height - 1;
    asq = 8 * a * a;
    bsq = 8 * b * b;
    dx = 4 * b * b * (1 - a);
    dy = 4 * a * a * (1 + (b % 2));
    err = dx + dy + a * a * (b % 2);
  }
};

}  // namespace

void Line(int x0, int y0, int x1, int y1, const Plot& plot) {
  if (y0 == y1) {
    const int from = x0 < x1 ? x0 : x1 + 1;
    const int to = x0 < x1 ? x1 : x0 + 1;
    for (int x = from; x < to; ++x) plot(x, y0);
    return;
  }
  if (x0 == x1) {
    const int from = y0 < y1 ? y0 : y1 + 1;
    const int to = y0 < y1 ? y1 : y0 + 1;
    for (int y = from; y < to; ++y) plot(x0, y);
    return;
  }
  const int dx = x1 - x0;
  const int dy = y1 - y0;
  const int adx = std::abs(dx);
  const int ady = std::abs(dy);
  const unsigned octant = 1u << (OctantNumber(dx, dy) - 1);
  const bool x_major = (octant & kXMajor) != 0;
  const int bias = (octant & kBiased) != 0 ? 1 : 0;
  const int x_inc = (octant & kXIncreasing) != 0 ? 1 : -1;
  const int y_inc = (octant & kYIncreasing) != 0 ? 1 : -1;
  const int major = x_major ? adx : ady;
  const int minor = x_major ? ady : adx;
  int err = 2 * minor - major;
  const int add_step = 2 * minor - 2 * major;
  const int add_stay = 2 * minor;
  int x = x0;
  int y = y0;
  for (int left = major; left > 0; --left) {
    plot(x, y);
    const bool step = err + bias > 0;
    err += step ? add_step : add_stay;
    if (x_major) {
      if (step) y += y_inc;
      x += x_inc;
    } else {
      if (step) x += x_inc;
      y += y_inc;
    }
  }
}

void ClosedPolyline(const std::vector<Point>& points, const Plot& plot) {
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    Line(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, plot);
  }
  if (points.size() >= 2) {
    Line(points.back().x, points.back().y, points.front().x, points.front().y, plot);
  }
}

std::vector<Span> EllipseInterior(const Rect& box) {
  const int width = box.Width();
  const int height = box.Height();
  // Rows the walk below never reaches (tall, narrow boxes such as 3 x 8 or
  // 4 x 18) are left empty. The system leaves them unset and fills them from
  // whatever memory holds, which is most often nothing.
  std::vector<int> lefts(height, box.left);
  std::vector<int> rights(height, box.left);
  ZinglState s(width, height);
  int x = 0;
  int y = height / 2;
  rights[y] = box.right;
  while (x <= width / 2) {
    const std::int64_t e2 = 2 * s.err;
    if (e2 >= s.dx) {
      ++x;
      s.dx += s.bsq;
      s.err += s.dx;
    }
    if (e2 <= s.dy) {
      ++y;
      s.dy += s.asq;
      s.err += s.dy;
      if (y < height) {
        lefts[y] = box.left + x;
        rights[y] = box.right - x;
      }
    }
  }
  const int last = height - 1;
  for (int i = 0; i < height / 2; ++i) {
    lefts[i] = lefts[last - i];
    rights[i] = rights[last - i];
  }
  std::vector<Span> spans;
  for (int i = 0; i < height; ++i) spans.push_back(Span{box.top + i, lefts[i], rights[i]});
  return spans;
}

std::vector<Point> EllipseOutline(const Rect& box) {
  const int width = box.Width();
  const int height = box.Height();
  std::vector<Point> points;
  ZinglState s(width, height);
  Point p{width - 1, height / 2};
  while (p.x >= width / 2) {
    points.push_back(Point{box.left + p.x, box.top + height - 1 - p.y});
    const std::int64_t e2 = 2 * s.err;
    if (e2 >= s.dx) {
      --p.x;
      s.dx += s.bsq;
      s.err += s.dx;
    }
    if (e2 <= s.dy) {
      ++p.y;
      s.dy += s.asq;
      s.err += s.dy;
    }
  }
  // Mirrored left, then up; an odd size shares the middle point.
  std::size_t count = points.size();
  std::size_t end = 2 * count - 1 - (width % 2);
  points.resize(end + 1);
  for (std::size_t i = 0; i < count; ++i) {
    points[end - i] = Point{box.left + box.right - 1 - points[i].x, points[i].y};
  }
  count = end + 1;
  end = 2 * count - 1 - (height % 2);
  points.resize(end + 1);
  for (std::size_t i = 0; i < count; ++i) {
    points[end - i] = Point{points[i].x, box.top + box.bottom - 1 - points[i].y};
  }
  return points;
}

namespace {

// An edge of a polygon stepped one scanline at a time (the system's integer
// edge walk, which rounds towards the pixel centres inside).
struct Edge {
  int top_y;
  int last_y;  // the last scanline it crosses
  int x;
  int m, m1, incr1, incr2, d;

  Edge(Point top, Point bottom) : top_y(top.y), last_y(bottom.y - 1), x(top.x) {
    const int dy = bottom.y - top.y;
    const int dx = bottom.x - top.x;
    m = dx / dy;
    if (dx < 0) {
      m1 = m - 1;
      incr1 = -2 * dx + 2 * dy * m1;
      incr2 = -2 * dx + 2 * dy * m;
      d = 2 * m * dy - 2 * dx - 2 * dy;
    } else {
      m1 = m + 1;
      incr1 = 2 * dx - 2 * dy * m1;
      incr2 = 2 * dx - 2 * dy * m;
      d = -2 * m * dy + 2 * dx;
    }
  }
  void Step() {
    const bool big = m1 > 0 ? d > 0 : d >= 0;
    x += big ? m1 : m;
    d += big ? incr1 : incr2;
  }
};

}  // namespace

std::vector<Span> PolygonInterior(const std::vector<Point>& points) {
  std::vector<Edge> pending;
  int y_min = 0;
  int y_end = 0;
  bool any = false;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point previous = points[i == 0 ? points.size() - 1 : i - 1];
    const Point current = points[i];
    if (previous.y == current.y) continue;  // horizontal edges add nothing
    const Point top = previous.y > current.y ? current : previous;
    const Point bottom = previous.y > current.y ? previous : current;
    pending.emplace_back(top, bottom);
    y_min = any ? std::min(y_min, top.y) : top.y;
    y_end = any ? std::max(y_end, bottom.y) : bottom.y;
    any = true;
  }
  std::vector<Span> spans;
  std::vector<Edge> active;
  for (int y = y_min; any && y < y_end; ++y) {
    for (const Edge& e : pending) {
      if (e.top_y == y) active.push_back(e);
    }
    std::vector<int> xs;
    for (const Edge& e : active) xs.push_back(e.x);
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      if (xs[i] != xs[i + 1]) spans.push_back(Span{y, xs[i], xs[i + 1]});
    }
    std::vector<Edge> next;
    for (Edge& e : active) {
      if (e.last_y == y) continue;
      e.Step();
      next.push_back(e);
    }
    active.swap(next);
  }
  return spans;
}

Rect BoundingRect(int x, int y, int width, int height) {
  Rect r{x, y, x + width, y + height};
  if (r.left > r.right) r = Rect{r.right + 1, r.top, r.left + 1, r.bottom};
  if (r.top > r.bottom) r = Rect{r.left, r.bottom + 1, r.right, r.top + 1};
  return r;
}

Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

bool CalcStretch1D(int dst_start, int dst_length, int dst_vis_start, int dst_vis_end, int src_start,
                   int src_length, int src_vis_start, int src_vis_end, Stretch1D* out) {
  Stretch1D& s = *out;
  s.src_inc = s.dst_inc = 1;
  const std::int64_t dy = std::abs(dst_length);
  const std::int64_t dx = std::abs(src_length);
  int octant = dx > dy ? 1 : 2;
  if (src_length < 0) {
    octant = 5 - octant;
    s.src_inc = -1;
  }
  if (dst_length < 0) {
    octant = 9 - octant;
    s.dst_inc = -1;
  }
  const unsigned mask = 1u << (octant - 1);
  // The stretch's first step differs from a line's by dy - dx: passed to the clipper as its bias.
  const std::int64_t bias = dx > dy ? dy - dx : dx - dy;
  const Point start{src_start, dst_start};
  const Point end{src_start + src_length, dst_start + dst_length};
  const Rect clip{src_vis_start, dst_vis_start, src_vis_end, dst_vis_end};
  Point cs, ce;
  if (ClipLine(start, end, clip, dx, dy, mask, bias, &cs, &ce) == 0) return false;
  const std::int64_t m = std::abs(cs.x - start.x);
  const std::int64_t n = std::abs(cs.y - start.y);
  if (dx > dy) {
    s.err_start = static_cast<int>(3 * dy - 2 * dx + m * 2 * dy - n * 2 * dx);
    s.err_add_1 = static_cast<int>(2 * dy - 2 * dx);
    s.err_add_2 = static_cast<int>(2 * dy);
    s.length = std::abs(ce.x - cs.x);
    s.stretch = false;
  } else {
    s.err_start = static_cast<int>(3 * dx - 2 * dy + n * 2 * dx - m * 2 * dy);
    s.err_add_1 = static_cast<int>(2 * dx - 2 * dy);
    s.err_add_2 = static_cast<int>(2 * dx);
    s.length = std::abs(ce.y - cs.y);
    s.stretch = true;
  }
  // The end point is normally clipped away; if so, the last pixel before it counts.
  if (end.x != ce.x || end.y != ce.y) {
    ce.x += s.src_inc;
    ce.y += s.dst_inc;
    ++s.length;
  }
  s.src_start = cs.x;
  s.dst_start = cs.y;
  s.src_end = ce.x;
  s.dst_end = ce.y;
  return true;
}

}  // namespace velocane::sim::raster
