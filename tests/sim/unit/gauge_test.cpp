// The segmented gauge to the pixel, on the simulated surface, and on the main window.
#include <ostream>
#include <string>

#include "app/appearance.h"
#include "components/vex/vextgauge.h"
#include "tests/support/drawing_fixture.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

constexpr Color kSky = 0xF0CAA6;
constexpr Color kSegment = 8421631;

// The main window's gauge settings, at the origin of a surface of its size.
void MakeAg(TVexGauge& g) {
  ConfigureMainGauge(g);
  g.SetBounds(0, 0, 385, 27);
}

class GaugeTest : public ::testing::Test {
 protected:
  // Where the caption may have drawn: its extent centred in the area, one pixel wider up-left.
  Rect CaptionBox(const TVexGauge& g, Surface& s) {
    const Point e = gdi.TextExtent(s.Dc(), std::to_string(g.Percentage()) + " %", FontDesc{});
    const Rect a = g.SegmentArea();
    const int left = a.left + (a.Width() - e.x) / 2;
    const int top = a.top + (a.Height() - e.y) / 2;
    return Rect{left - 1, top - 1, left + e.x, top + e.y};
  }
  sim::SimDrawing gdi;
};

TEST_F(GaugeTest, MainWindowGaugeAtFortyFivePercentToThePixel) {
  TVexGauge g(nullptr, "AG");
  MakeAg(g);
  g.SetPercentage(45);
  Surface s(gdi, 385, 27);
  g.PaintTo(s.Target());
  const Color H = gdi.Resolve(clBtnHighlight), S = gdi.Resolve(clBtnShadow);
  // Outer ring, raised: left and top highlight, right and bottom shadow.
  for (int y = 1; y <= 25; ++y) EXPECT_EQ(s.At(0, y), H) << y;
  for (int x = 0; x <= 383; ++x) EXPECT_EQ(s.At(x, 0), H) << x;
  for (int y = 0; y <= 26; ++y) EXPECT_EQ(s.At(384, y), S) << y;
  for (int x = 0; x <= 384; ++x) EXPECT_EQ(s.At(x, 26), S) << x;
  // Inner ring, lowered, along x = 6, y = 6, x = 377, y = 19.
  for (int y = 7; y <= 18; ++y) EXPECT_EQ(s.At(6, y), S) << y;
  for (int x = 6; x <= 376; ++x) EXPECT_EQ(s.At(x, 6), S) << x;
  for (int y = 6; y <= 19; ++y) EXPECT_EQ(s.At(377, y), H) << y;
  for (int x = 6; x <= 377; ++x) EXPECT_EQ(s.At(x, 19), H) << x;
  EXPECT_EQ(g.SegmentArea(), (Rect{7, 7, 377, 19}));
  // Columns 7..172 carry the pattern anchored on x; 173..376 the inside colour.
  const Rect caption = CaptionBox(g, s);
  for (int y = 7; y <= 18; ++y) {
    for (int x = 7; x <= 376; ++x) {
      if (caption.Contains(Point{x, y})) continue;
      const Color expected = x <= 172 && x % 10 != 9 ? kSegment : kSky;
      ASSERT_EQ(s.At(x, y), expected) << x << "," << y;
    }
  }
  // The caption is there, centred over the area.
  int text_pixels = 0;
  for (int y = caption.top; y < caption.bottom; ++y) {
    for (int x = caption.left; x < caption.right; ++x) text_pixels += s.At(x, y) == clBlack;
  }
  EXPECT_GT(text_pixels, 10);
}

struct Fill {
  int percentage;
  int lit_columns;  // columns from the area's left that carry the pattern
};

void PrintTo(const Fill& fill, std::ostream* os) {
  *os << fill.percentage << " % lights " << fill.lit_columns << " columns";
}

class HorizontalFill : public GaugeTest, public ::testing::WithParamInterface<Fill> {};

// A gauge whose area is 10 columns long (len 10) and tall enough to look
// above the caption.
TEST_P(HorizontalFill, RoundsHalvesToEvenAndClearsTheRest) {
  TVexGauge g(nullptr, "G");
  g.SetBounds(0, 0, 26, 40);
  g.SetSegmentGap(0);  // solid: every lit column in the segment colour
  g.SetPercentage(GetParam().percentage);
  Surface s(gdi, 26, 40);
  g.PaintTo(s.Target());
  ASSERT_EQ(g.SegmentArea(), (Rect{7, 7, 18, 32}));
  const int row = 8;
  for (int x = 7; x < 18; ++x) {
    const bool lit = x - 7 < GetParam().lit_columns;
    EXPECT_EQ(s.At(x, row), lit ? Color{0x800000} : Color{0xFFFFFF}) << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Percentages, HorizontalFill,
                         ::testing::Values(Fill{0, 0}, Fill{4, 0}, Fill{25, 2}, Fill{35, 4},
                                           Fill{50, 5}, Fill{100, 11}, Fill{150, 11}),
                         [](const ::testing::TestParamInfo<Fill>& info) {
                           return "Percent" + std::to_string(info.param.percentage);
                         });

TEST_F(GaugeTest, VerticalFillsFromTheBottomAnchoredOnY) {
  TVexGauge g(nullptr, "V");
  g.SetKind(TVexKind::kVertical);
  g.SetBounds(0, 0, 36, 140);
  g.SetPercentage(30);
  Surface s(gdi, 36, 140);
  g.PaintTo(s.Target());
  const Rect a = g.SegmentArea();
  ASSERT_EQ(a, (Rect{7, 7, 28, 132}));
  // len = 124, n = Round(37.2) = 37: rows 94..131 lit.
  const Rect caption = CaptionBox(g, s);
  for (int y = 7; y <= 131; ++y) {
    if (y >= caption.top && y < caption.bottom) continue;
    const Color expected = y >= 94 && y % 10 != 9 ? Color{0x800000} : Color{0xFFFFFF};
    EXPECT_EQ(s.At(8, y), expected) << y;
  }
}

TEST_F(GaugeTest, SmallPercentageLightsOneRowVerticallyButNothingHorizontally) {
  TVexGauge g(nullptr, "V");
  g.SetKind(TVexKind::kVertical);
  g.SetBounds(0, 0, 36, 140);
  g.SetPercentage(0);
  Surface zero(gdi, 36, 140);
  g.PaintTo(zero.Target());
  EXPECT_EQ(zero.At(8, 132), Color{0xFFFFFF});
  g.SetBounds(0, 0, 36, 60);
  g.SetPercentage(1);  // len 45: n = Round(0.45) = 0
  Surface one(gdi, 36, 60);
  g.PaintTo(one.Target());
  EXPECT_EQ(one.At(8, g.SegmentArea().bottom - 1), Color{0x800000});
  EXPECT_EQ(one.At(8, g.SegmentArea().bottom - 2), Color{0xFFFFFF});
}

TEST_F(GaugeTest, PercentageIsHeldAtOneHundred) {
  TVexGauge g(nullptr, "G");
  g.SetPercentage(150);
  EXPECT_EQ(g.Percentage(), 100);
  g.SetPercentage(-3);
  EXPECT_EQ(g.Percentage(), 0);
}

TEST_F(GaugeTest, ZeroPitchDrawsASolidBar) {
  TVexGauge g(nullptr, "G");
  g.SetSegmentWidth(0);
  g.SetSegmentGap(0);
  g.SetPercentage(100);
  Surface s(gdi, 140, 36);
  g.PaintTo(s.Target());
  for (int x = 7; x < 132; ++x) EXPECT_EQ(s.At(x, 8), Color{0x800000}) << x;
}

TEST_F(GaugeTest, GlyphWidensItsSideAndIsDrawnInTheBand) {
  TVexGauge g(nullptr, "G");
  g.SetBounds(0, 0, 140, 36);
  g.Glyph().SetBitmap(TVexImage{10, 10, std::vector<Color>(100, Rgb(0, 0, 200))});
  g.Glyph().SetTransparent(false);
  g.SetPercentage(0);
  Surface s(gdi, 140, 36);
  g.PaintTo(s.Target());
  EXPECT_EQ(g.SegmentArea(), (Rect{17, 7, 132, 28}));
  // pLeft: x = O + 1 + Round(6 / 2) = 5, y = Round(18 - 5) = 13.
  EXPECT_EQ(s.At(5, 13), Rgb(0, 0, 200));
  EXPECT_EQ(s.At(14, 22), Rgb(0, 0, 200));
  EXPECT_NE(s.At(4, 13), Rgb(0, 0, 200));
}

TEST_F(GaugeTest, ChangingAFrameInvalidatesAndAssigningCopies) {
  TVexGauge g(nullptr, "G");
  TVexFrame other(nullptr);
  other.SetFrameStyle(TVexFrameStyle::frameFramedUp);
  other.SetFrameWidth(2);
  g.SetBevelOuter(other);
  EXPECT_EQ(g.BevelOuter().FrameStyle(), TVexFrameStyle::frameFramedUp);
  EXPECT_EQ(g.BevelOuter().FrameWidth(), 2);
  EXPECT_NE(&g.BevelOuter(), &other);
}

// On the main window: stepped by Accelerate, drawn at once on the panel.
class MainWindowGauge : public ProgramTest {};

TEST_F(MainWindowGauge, StoredSettingsAndSteppingDuringAccelerate) {
  TForm1& f = Start();
  f.Show();
  EXPECT_FALSE(f.AG->Visible());
  EXPECT_EQ(f.AG->Percentage(), 45);
  EXPECT_EQ(f.AG->BoundsRect(), (Rect{0, 89, 385, 116}));
  EXPECT_EQ(f.AG->SegmentColor(), Color{8421631});
  EXPECT_EQ(f.AG->InsideBackColor(), Color{0xF0CAA6});
  EXPECT_EQ(f.AG->BevelInner().FrameStyle(), TVexFrameStyle::frameLowered);
  EXPECT_EQ(f.AG->Glyph().TransparentColor(), Color{16756855});

  auto* panel = static_cast<sim::SimPanel*>(f.Panel1->Peer());
  panel->Render();
  std::vector<int> seen;
  std::vector<bool> lit_at_60;
  sim.process.on_sleep = [&](unsigned) {
    seen.push_back(f.AG->Visible() ? f.AG->Percentage() : -1);
  };
  f.SpeedButton1->Click();
  // Shown from the first wait; each step set after its wait; hidden at the end.
  EXPECT_EQ(seen.front(), 45);
  EXPECT_EQ(seen.back(), 99);
  EXPECT_FALSE(f.AG->Visible());
  EXPECT_EQ(f.AG->Percentage(), 100);
  // The last step reached the panel's surface at once, without a paint cycle:
  // column 7 + 369 of the gauge, at panel y = 89 + 8.
  const Color lit = sim.drawing.GetPixel(panel->Surface(), 0 + 376, 89 + 8);
  EXPECT_EQ(lit, Color{8421631});
}

}  // namespace
}  // namespace velocane::testing
