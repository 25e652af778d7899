// Every gradient style against its own formula: the shapes a paint asks the
// drawing surface for, in order and with their colours, next to the shapes
// worked out here from the style's definition for two small areas. Comparing
// the simulation's pixels with GDI's cannot catch a wrong formula, since both
// draw what the same formula asked for.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "components/vex/vextbackground.h"
#include "platform/sim/sim_drawing.h"
#include "tests/support/drawing_fixture.h"

namespace velocane::testing {
namespace {

using DrawCall = sim::SimDrawing::DrawCall;
using DrawOp = sim::SimDrawing::DrawOp;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDivHalfAway(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  long long quotient = product / c;
  const long long remainder = product % c;
  if (2 * std::llabs(remainder) >= std::llabs(c)) quotient += (product < 0) != (c < 0) ? -1 : 1;
  return static_cast<int>(quotient);
}

// The nearest integer, halves to the even neighbour.
int RoundHalfEvenRef(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  const int below = static_cast<int>(floor);
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return below % 2 == 0 ? below : below + 1;
}

std::string Hex(Color color) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(color));
  return text;
}

std::string Describe(const DrawCall& call) {
  const std::string box = "(" + std::to_string(call.a) + ", " + std::to_string(call.b) + ", " +
                          std::to_string(call.c) + ", " + std::to_string(call.d) + ")";
  const std::string brush = call.brush.style == TBrushStyle::bsSolid
                                ? "solid " + Hex(call.brush.color)
                                : "style " + std::to_string(static_cast<int>(call.brush.style));
  switch (call.op) {
    case DrawOp::kPatBlt:
      return "PatBlt" + box + " " + brush + " rop " + Hex(call.raster_op);
    case DrawOp::kLine:
      return "Line" + box + " pen " + Hex(call.pen);
    case DrawOp::kEllipse:
      return "Ellipse" + box + " " + brush + " pen " + Hex(call.pen);
  }
  return "?";
}

// What one paint works with: the area, the colour list, the steps, and the
// quantities every style's table row is written in.
struct Area {
  int w, h;
  int k;  // neighbouring pairs
  int n;  // ColorCount
  int hb() const { return RoundHalfEvenRef(static_cast<double>(h) / k) + 1; }
  int wb() const { return RoundHalfEvenRef(static_cast<double>(w) / k) + 1; }
  int hb0() const { return RoundHalfEvenRef(static_cast<double>(h) / k); }
  int wb0() const { return RoundHalfEvenRef(static_cast<double>(w) / k); }
  int M(int a, int b) const { return MulDivHalfAway(a, b, n); }
};

int Round(double value) { return RoundHalfEvenRef(value); }

// The shapes of one step as the formula gives them, in the step's colour.
struct Step {
  const Area& q;
  int r;  // the pair
  int i;  // the step within it
  Color color;
  Color mirror;  // Spectral's second colour
  std::vector<DrawCall>& out;

  void PatBlt(int x, int y, int width, int height) {
    out.push_back(DrawCall{DrawOp::kPatBlt,
                           {},
                           x,
                           y,
                           width,
                           height,
                           Brush{TBrushStyle::bsSolid, color},
                           clNone,
                           0x00F00021});
  }
  void Ellipse(int left, int top, int right, int bottom) {
    out.push_back(DrawCall{
        DrawOp::kEllipse, {}, left, top, right, bottom, Brush{TBrushStyle::bsSolid, color}, color});
  }
  void Line(int x0, int y0, int x1, int y1, Color pen) {
    out.push_back(DrawCall{DrawOp::kLine, {}, x0, y0, x1, y1, {TBrushStyle::bsClear, clNone}, pen});
  }
  // Circle's lines; Spectral draws the even ones in the mirror colour.
  void CircleLines(bool spectral) {
    const int oy = q.hb() * r, ox = q.wb() * r;
    for (int x = q.M(i, q.wb()); x <= q.M(i + 2, q.wb()); ++x) {
      Line(ox + x, 0, q.w - x - ox, q.h, spectral && x % 2 == 0 ? mirror : color);
    }
    for (int y = q.M(i, q.hb()); y <= q.M(i + 2, q.hb()); ++y) {
      Line(0, oy + y, q.w, q.h - y - oy, spectral && y % 2 == 0 ? mirror : color);
    }
  }
};

struct StyleCase {
  const char* name;
  TVexFillStyle style;
  void (*shapes)(Step& s);
};

void PrintTo(const StyleCase& c, std::ostream* out) { *out << c.name; }

// One row per style, each written from the style's definition.
const StyleCase kStyles[] = {
    {"Circle", TVexFillStyle::Circle, [](Step& s) { s.CircleLines(false); }},
    {"Horizontal", TVexFillStyle::Horizontal,
     [](Step& s) {
       const Area& q = s.q;
       const int oy = q.hb() * s.r;
       const int y1 = q.M(s.i, q.hb()), y2 = q.M(s.i + 2, q.hb());
       s.PatBlt(0, oy + y1, q.w, oy + y2 - y1);
     }},
    {"Vertical", TVexFillStyle::Vertical,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = q.wb() * s.r;
       const int x1 = q.M(s.i, q.wb()), x2 = q.M(s.i + 2, q.wb());
       s.PatBlt(ox + x1, 0, ox + x2 - x1, q.h);
     }},
    {"LeftBottom", TVexFillStyle::LeftBottom,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = q.wb() * s.r, oy = q.hb() * s.r;
       const int x1 = q.M(s.i, q.wb()), y1 = q.M(s.i, q.hb());
       s.PatBlt(ox + x1, oy + y1, q.w - x1, q.h - y1);
     }},
    {"RoundMiddle", TVexFillStyle::RoundMiddle,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = Round(q.wb() / 2.0 * s.r) + 1, oy = Round(q.hb() / 2.0 * s.r) + 1;
       const int x1 = q.M(s.i, Round(q.wb() / 2.0) + 1), y1 = q.M(s.i, Round(q.hb() / 2.0) + 1);
       s.Ellipse(ox + x1, oy + y1, q.w - x1 - ox, q.h - y1 - oy);
     }},
    {"SquareMiddle", TVexFillStyle::SquareMiddle,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = Round(q.wb0() / 2.0 * s.r), oy = Round(q.hb0() / 2.0 * s.r);
       const int x1 = q.M(s.i, Round(q.wb0() / 2.0)), y1 = q.M(s.i, Round(q.hb0() / 2.0));
       s.PatBlt(ox + x1, oy + y1, q.w - 2 * x1 - 2 * ox, q.h - 2 * y1 - 2 * oy);
     }},
    {"Spectral", TVexFillStyle::Spectral, [](Step& s) { s.CircleLines(true); }},
    {"DoppelFlash", TVexFillStyle::DoppelFlash,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = q.wb() * s.r + 1, oy = q.hb() * s.r + 1;
       const int x1 = q.M(s.i, q.wb()), y1 = q.M(s.i, q.hb());
       s.Ellipse(ox + x1, oy + y1, q.w, q.h);
       s.Ellipse(q.w - x1 - ox, q.h - y1 - oy, 0, 0);
     }},
    {"Singleflash", TVexFillStyle::Singleflash,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = q.wb0() * s.r, oy = q.hb0() * s.r;
       const int x1 = q.M(s.i, q.wb0()), y1 = q.M(s.i, q.hb0());
       s.Ellipse(ox + x1, oy + y1, q.w, q.h);
     }},
    {"MiddleHBar", TVexFillStyle::MiddleHBar,
     [](Step& s) {
       const Area& q = s.q;
       const int oy = Round(q.hb() / 2.0 * s.r) + 1, p = Round(q.hb() / 2.0);
       const int a1 = q.h - q.M(s.i, p + 1), a2 = q.h - q.M(s.i + 2, p + 1);
       const int b1 = q.M(s.i, p), b2 = q.M(s.i + 2, p);
       s.PatBlt(0, a1 - 1 - oy, q.w, a2 - a1);
       s.PatBlt(0, oy + b1, q.w, b2 - b1 + 1);
     }},
    {"MiddleVBar", TVexFillStyle::MiddleVBar,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = Round(q.wb() / 2.0 * s.r) + 1, p = Round(q.wb() / 2.0);
       const int a1 = q.w - q.M(s.i, p + 1), a2 = q.w - q.M(s.i + 2, p + 1);
       const int b1 = q.M(s.i, p), b2 = q.M(s.i + 2, p);
       s.PatBlt(a1 - 1 - ox, 0, a2 - a1, q.h);
       s.PatBlt(ox + b1, 0, b2 - b1 + 1, q.h);
     }},
    {"VerticalDoppelBar", TVexFillStyle::VerticalDoppelBar,
     [](Step& s) {
       const Area& q = s.q;
       const int ox = Round(q.wb() / 3.0 * s.r) + 1, p = Round(q.wb() / 3.0) + 1;
       const int t = 2 * Round(q.w / 3.0);
       const int x1 = q.M(s.i, p), x2 = q.M(s.i + 1, p);
       s.PatBlt(ox + x1, 0, x2 - x1, q.h);
       s.PatBlt(t - x2 - ox, 0, x2 - x1, q.h);
       s.PatBlt(t + ox + x1, 0, x2 - x1, q.h);
     }},
    {"HorizontalDoppelBar", TVexFillStyle::HorizontalDoppelBar,
     [](Step& s) {
       const Area& q = s.q;
       const int oy = Round(q.hb() / 3.0 * s.r) + 1, p = Round(q.hb() / 3.0) + 1;
       const int t = 2 * Round(q.h / 3.0);
       const int y1 = q.M(s.i, p), y2 = q.M(s.i + 1, p);
       s.PatBlt(0, oy + y1, q.w, y2 - y1);
       s.PatBlt(0, t - y2 - oy, q.w, y2 - y1);
       s.PatBlt(0, t + oy + y1, q.w, y2 - y1);
     }},
};

// A paint of the gradient: its area, its colours, its direction.
struct Paint {
  const char* name;
  int w, h, color_count;
  Color begin, end;
  std::vector<std::string> between;
  std::vector<Color> between_values;  // what the lines stand for
  bool forward;
};

const Paint kPaints[] = {
    // Two pairs on 9 x 7 in three steps: H / 2 and W / 2 are halves (4 and 4,
    // to the even side), MulDiv by 3, and step colours with odd differences
    // that round halves away from zero, upwards and downwards.
    {"NineBySevenTwoPairs",
     9,
     7,
     3,
     Rgb(0, 0, 0),
     Rgb(10, 250, 0),
     {"$00336579"},
     {Rgb(0x79, 0x65, 0x33)},
     true},
    // One pair on 6 x 11 in four steps, backwards: MulDiv by 4 with halves.
    {"SixByElevenBackward", 6, 11, 4, Rgb(0, 60, 255), Rgb(255, 0, 7), {}, {}, false},
};

void PrintTo(const Paint& p, std::ostream* out) { *out << p.name; }

Color Channelwise(Color c1, Color c2, int i, int n, bool zero_to_one) {
  Color result = 0;
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((c1 >> shift) & 0xFF),
              b = static_cast<int>((c2 >> shift) & 0xFF);
    int v = a + MulDivHalfAway(i, b - a, n - 1);
    if (zero_to_one && v == 0) v = 1;
    result |= static_cast<Color>(v) << shift;
  }
  return result;
}

// The whole paint as the formula gives it: the first colour over the area,
// then every step of every pair.
std::vector<DrawCall> Expected(const Paint& paint, const StyleCase& style) {
  std::vector<Color> colors{paint.forward ? paint.begin : paint.end};
  colors.insert(colors.end(), paint.between_values.begin(), paint.between_values.end());
  colors.push_back(paint.forward ? paint.end : paint.begin);
  const Area q{paint.w, paint.h, static_cast<int>(colors.size()) - 1, paint.color_count};
  std::vector<DrawCall> calls{DrawCall{DrawOp::kPatBlt,
                                       {},
                                       0,
                                       0,
                                       paint.w,
                                       paint.h,
                                       Brush{TBrushStyle::bsSolid, colors[0]},
                                       clNone,
                                       0x00F00021}};
  for (int r = 0; r < q.k; ++r) {
    for (int i = 0; i < q.n; ++i) {
      Step step{q,
                r,
                i,
                Channelwise(colors[r], colors[r + 1], i, q.n, true),
                Channelwise(colors[r], colors[r + 1], q.n - 1 - i, q.n, false),
                calls};
      style.shapes(step);
    }
  }
  return calls;
}

class GradientStyles : public ::testing::TestWithParam<std::tuple<StyleCase, Paint>> {};

TEST_P(GradientStyles, DrawTheShapesTheirFormulaGivesInOrderAndColour) {
  const auto& [style, paint] = GetParam();
  sim::SimDrawing gdi;
  TVexBackground background{nullptr, "Background"};
  TVexGradient& gradient = background.Gradient();
  gradient.SetBeginColor(paint.begin);
  gradient.SetEndColor(paint.end);
  gradient.SetColorCount(paint.color_count);
  gradient.SetColorsInBetween(paint.between);
  gradient.SetFillStyle(style.style);
  Surface surface(gdi, paint.w, paint.h);
  gdi.KeepJournal(true);
  background.PaintBackground(surface.Target(), paint.w, paint.h, paint.forward);
  gdi.KeepJournal(false);

  std::vector<std::string> drawn, expected;
  for (const DrawCall& call : gdi.Journal()) {
    EXPECT_NE(call.dc, surface.Dc()) << "drawn straight onto the target: " << Describe(call);
    drawn.push_back(Describe(call));
  }
  for (const DrawCall& call : Expected(paint, style)) expected.push_back(Describe(call));
  EXPECT_EQ(drawn, expected);
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, GradientStyles,
                         ::testing::Combine(::testing::ValuesIn(kStyles),
                                            ::testing::ValuesIn(kPaints)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace velocane::testing
