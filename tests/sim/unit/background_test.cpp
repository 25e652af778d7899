// Background fills on the simulated surface: the gradient's steps, bands and
// rounding, textures, brush fills, the client list and its notifications,
// failures that paint nothing, and no drawing object left behind.
#include <string>
#include <vector>

#include "app/appearance.h"
#include "components/vex/vextbackground.h"
#include "components/vex/vextgauge.h"
#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"
#include "platform/framework/stdctrls.h"
#include "platform/sim/sim_platform.h"
#include "tests/support/drawing_fixture.h"

namespace velocane::testing {
namespace {

constexpr Color kPanel = kSlate;  // what the components paint on

class BackgroundTest : public ::testing::Test {
 protected:
  // Every pixel of a row, or the first one that differs.
  void ExpectRow(Surface& s, int y, int width, Color expected) {
    for (int x = 0; x < width; ++x) ASSERT_EQ(s.At(x, y), expected) << "row " << y << " x " << x;
  }
  void ExpectUntouched(Surface& s, int width, int height) {
    for (int y = 0; y < height; ++y) ExpectRow(s, y, width, kPanel);
  }
  sim::SimDrawing gdi;
  TVexBackground background{nullptr, "Background"};
};

// Ends chosen so that step i of 32 is exactly Rgb(8i, 4i, i).
void StepEnds(TVexGradient& g) {
  g.SetBeginColor(clBlack);
  g.SetEndColor(Rgb(248, 124, 31));
}

TEST_F(BackgroundTest, HorizontalStepsCoverTheirBandsAcrossTheWholeWidth) {
  // 100 x 50 with 32 steps: hb = 51 and step i covers rows M(i, 51) .. M(i + 2, 51) - 1,
  // each row ending with the last step that covers it.
  StepEnds(background.Gradient());
  Surface s(gdi, 100, 50);
  background.PaintBackground(s.Target(), 100, 50, true);
  ExpectRow(s, 0, 100, Rgb(1, 1, 1));   // step 0, black drawn as 0x010101
  ExpectRow(s, 1, 100, Rgb(1, 1, 1));   // steps 0 only: step 1 starts at M(1, 51) = 2
  ExpectRow(s, 2, 100, Rgb(8, 4, 1));   // step 1
  ExpectRow(s, 3, 100, Rgb(16, 8, 2));  // step 2 starts at M(2, 51) = 3
  ExpectRow(s, 48, 100, Rgb(240, 120, 30));
  ExpectRow(s, 49, 100, Rgb(248, 124, 31));  // step 31 starts at M(31, 51) = 49
}

TEST_F(BackgroundTest, UncoveredPixelsKeepTheFirstColourExactly) {
  StepEnds(background.Gradient());
  background.Gradient().SetFillStyle(TVexFillStyle::Singleflash);
  Surface s(gdi, 40, 20);
  background.PaintBackground(s.Target(), 40, 20, true);
  EXPECT_EQ(s.At(0, 0), clBlack);        // outside every ellipse: the first fill
  EXPECT_EQ(s.At(0, 10), Rgb(1, 1, 1));  // only in the first ellipse: step 0
}

TEST_F(BackgroundTest, BackwardSwapsOnlyTheEnds) {
  background.Gradient().SetBeginColor(Rgb(0, 0, 255));
  background.Gradient().SetEndColor(clWhite);
  background.Gradient().SetColorsInBetween({"clRed", "clLime"});
  // Three pairs on 30 x 60: hb = 21, pair r starts at row 21 r.
  for (bool forward : {true, false}) {
    SCOPED_TRACE(forward ? "forward" : "backward");
    Surface s(gdi, 30, 60);
    background.PaintBackground(s.Target(), 30, 60, forward);
    ExpectRow(s, 0, 30, forward ? Color{0xFF0101} : Color{0xFFFFFF});
    ExpectRow(s, 21, 30, Color{0x0101FF});  // red in both directions
    ExpectRow(s, 42, 30, Color{0x01FF01});  // then lime
  }
}

TEST_F(BackgroundTest, ColorCountKeepsTwoToTwoHundredFiftyFiveAndStillAnnouncesTheRest) {
  int changes = 0;
  background.OnChanged = [&](TComponent&) { ++changes; };
  TVexGradient& g = background.Gradient();
  const struct {
    int value;
    int kept;
  } cases[] = {{2, 2}, {1, 2}, {0, 2}, {-7, 2}, {255, 255}, {256, 255}, {100, 100}};
  for (const auto& c : cases) {
    g.SetColorCount(c.value);
    EXPECT_EQ(g.ColorCount(), c.kept) << c.value;
  }
  EXPECT_EQ(changes, 7);
}

TEST_F(BackgroundTest, TwoStepsRoundHalvesAwayFromZero) {
  // N = 2 on 10 x 20: step 0 (c1) covers rows 0 .. M(2, 21) - 1 = 20; step 1
  // (c2) starts at M(1, 21) = MulDiv(1, 21, 2) = 10.5, rounded away from zero to 11.
  background.Gradient().SetBeginColor(Rgb(0, 100, 200));
  background.Gradient().SetEndColor(Rgb(250, 50, 10));
  background.Gradient().SetColorCount(2);
  Surface s(gdi, 10, 20);
  background.PaintBackground(s.Target(), 10, 20, true);
  ExpectRow(s, 10, 10, Rgb(1, 100, 200));  // c1 with its zero channel drawn as 1
  ExpectRow(s, 11, 10, Rgb(250, 50, 10));
}

TEST_F(BackgroundTest, SquareMiddleAndSingleflashUseBandsWithoutTheAddedOne) {
  background.Gradient().SetBeginColor(Rgb(10, 10, 10));
  background.Gradient().SetEndColor(Rgb(200, 200, 200));
  background.Gradient().SetColorCount(2);
  // SquareMiddle, 41 x 20: x1 = M(1, Round(41 / 2)) = M(1, 20) = 10: columns 10 .. 30
  // (with the added one it would be M(1, 21) = 11).
  background.Gradient().SetFillStyle(TVexFillStyle::SquareMiddle);
  Surface square(gdi, 41, 20);
  background.PaintBackground(square.Target(), 41, 20, true);
  EXPECT_EQ(square.At(9, 10), Rgb(10, 10, 10));
  EXPECT_EQ(square.At(10, 10), Rgb(200, 200, 200));
  EXPECT_EQ(square.At(30, 10), Rgb(200, 200, 200));
  EXPECT_EQ(square.At(31, 10), Rgb(10, 10, 10));
  // Singleflash, 40 x 20: the second ellipse starts at x1 = M(1, 40) = 20 (not M(1, 41) = 21).
  background.Gradient().SetFillStyle(TVexFillStyle::Singleflash);
  Surface flash(gdi, 40, 20);
  background.PaintBackground(flash.Target(), 40, 20, true);
  EXPECT_EQ(flash.At(19, 15), Rgb(10, 10, 10));
  EXPECT_EQ(flash.At(20, 15), Rgb(200, 200, 200));
}

TEST_F(BackgroundTest, ALineThatIsNoColourFailsThePaintAndPaintsNothing) {
  background.Gradient().SetColorsInBetween({"clRed", "reddish"});
  Surface s(gdi, 30, 20);
  const int dcs = gdi.LiveDcs(), bitmaps = gdi.LiveBitmaps(), brushes = gdi.LiveBrushes();
  try {
    background.PaintBackground(s.Target(), 30, 20, true);
    FAIL() << "painted";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'reddish' is not a valid integer value");
  }
  ExpectUntouched(s, 30, 20);
  EXPECT_EQ(gdi.LiveDcs(), dcs);
  EXPECT_EQ(gdi.LiveBitmaps(), bitmaps);
  EXPECT_EQ(gdi.LiveBrushes(), brushes);
}

TEST_F(BackgroundTest, LinesAreNamesOrDecimalOrHexadecimalIntegers) {
  background.Gradient().SetColorCount(2);
  background.Gradient().SetFillStyle(TVexFillStyle::Vertical);
  background.Gradient().SetColorsInBetween({"clYellow", "16711680", "$00FF00"});
  // Four pairs on 40 x 4: wb = 11, pair r's first step at column 11 r.
  Surface s(gdi, 44, 4);
  background.PaintBackground(s.Target(), 40, 4, true);
  EXPECT_EQ(s.At(11, 1), Color{0x01FFFF});  // yellow, its zero channel drawn as 1
  EXPECT_EQ(s.At(22, 1), Color{0xFF0101});
  EXPECT_EQ(s.At(33, 1), Color{0x01FF01});
}

TEST_F(BackgroundTest, EmptyAreasColorCountBoundsAndEmptyTexturesNeverFail) {
  Surface s(gdi, 12, 12);
  background.Gradient().SetColorsInBetween({"not a colour"});  // never read: nothing to paint
  for (int style = 0; style <= static_cast<int>(TVexBackStyle::bBrushFillSolidColor); ++style) {
    background.SetBackgroundStyle(static_cast<TVexBackStyle>(style));
    for (Point size : {Point{0, 10}, Point{10, 0}, Point{-5, 8}, Point{3, -1}}) {
      EXPECT_NO_THROW(background.PaintBackground(s.Target(), size.x, size.y, true))
          << style << ": " << size.x << " x " << size.y;
    }
  }
  ExpectUntouched(s, 12, 12);
  background.Gradient().SetColorsInBetween({});
  background.SetBackgroundStyle(TVexBackStyle::bGradient);
  for (int count : {2, 255}) {
    background.Gradient().SetColorCount(count);
    EXPECT_NO_THROW(background.PaintBackground(s.Target(), 12, 12, true));
  }
  Surface untouched(gdi, 12, 12);
  background.SetBackgroundStyle(TVexBackStyle::bTexture);
  EXPECT_NO_THROW(background.PaintBackground(untouched.Target(), 12, 12, true));
  ExpectUntouched(untouched, 12, 12);
}

TEST_F(BackgroundTest, NoDrawingObjectOutlivesAPaint) {
  TVexImage picture{5, 3, std::vector<Color>(15, clRed)};
  picture.pixels[4] = clLime;
  background.Texture().SetImage(picture);
  background.Texture().SetTransparentColor(clLime);
  background.Gradient().SetColorsInBetween({"clTeal"});
  Surface s(gdi, 33, 21);
  const int dcs = gdi.LiveDcs(), bitmaps = gdi.LiveBitmaps(), brushes = gdi.LiveBrushes();
  for (int style = 0; style <= static_cast<int>(TVexBackStyle::bBrushFillSolidColor); ++style) {
    background.SetBackgroundStyle(static_cast<TVexBackStyle>(style));
    for (int fill = 0; fill <= static_cast<int>(TVexFillStyle::HorizontalDoppelBar); ++fill) {
      background.Gradient().SetFillStyle(static_cast<TVexFillStyle>(fill));
      for (int image = 0; image <= static_cast<int>(TVexImageStyle::isStretched); ++image) {
        background.Texture().SetImageStyle(static_cast<TVexImageStyle>(image));
        background.BrushFill().SetBrushStyle(static_cast<TBrushStyle>(fill % 8));
        background.PaintBackground(s.Target(), 33, 21, fill % 2 == 0);
        ASSERT_EQ(gdi.LiveDcs(), dcs) << style << "/" << fill << "/" << image;
        ASSERT_EQ(gdi.LiveBitmaps(), bitmaps) << style << "/" << fill << "/" << image;
        ASSERT_EQ(gdi.LiveBrushes(), brushes) << style << "/" << fill << "/" << image;
      }
    }
  }
}

// A picture whose pixel (x, y) is Rgb(x, y, 77), with one magenta pixel.
TVexImage Numbered(int width, int height) {
  TVexImage image{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.pixels.push_back(Rgb(x, y, 77));
  }
  image.pixels[static_cast<std::size_t>(width) + 1] = Rgb(255, 0, 255);
  return image;
}

TEST_F(BackgroundTest, TilesRepeatOneMoreTimeThanFitWholeAndOverhang) {
  background.SetBackgroundStyle(TVexBackStyle::bTexture);
  background.Texture().SetImage(Numbered(7, 5));
  // 30 x 12: 30 div 7 + 1 = 5 columns, 12 div 5 + 1 = 3 rows, the last ones past the area.
  Surface s(gdi, 40, 20);
  background.PaintBackground(s.Target(), 30, 12, true);
  EXPECT_EQ(s.At(0, 0), Rgb(0, 0, 77));
  EXPECT_EQ(s.At(29, 11), Rgb(255, 0, 255));  // tile (4, 2) at its pixel (1, 1)
  EXPECT_EQ(s.At(34, 14), Rgb(6, 4, 77));     // last tile of the last row: (28, 10) .. (34, 14)
  EXPECT_EQ(s.At(35, 14), kPanel);
  EXPECT_EQ(s.At(34, 15), kPanel);
}

TEST_F(BackgroundTest, CentredPictureLargerThanTheAreaStartsAtTheOrigin) {
  background.SetBackgroundStyle(TVexBackStyle::bTexture);
  background.Texture().SetImageStyle(TVexImageStyle::isCenter);
  background.Texture().SetImage(Numbered(50, 40));
  Surface s(gdi, 60, 50);
  background.PaintBackground(s.Target(), 30, 20, true);
  EXPECT_EQ(s.At(0, 0), Rgb(0, 0, 77));
  EXPECT_EQ(s.At(49, 39), Rgb(49, 39, 77));  // the whole picture, past the area
  EXPECT_EQ(s.At(50, 39), kPanel);
  // A smaller one in the middle, the rest not painted.
  background.Texture().SetImage(Numbered(10, 6));
  Surface small(gdi, 30, 20);
  background.PaintBackground(small.Target(), 30, 20, true);
  EXPECT_EQ(small.At(10, 7), Rgb(0, 0, 77));  // ((30 - 10) div 2, (20 - 6) div 2)
  EXPECT_EQ(small.At(9, 7), kPanel);
}

TEST_F(BackgroundTest, TransparentColourIsReplacedByTheBrushCopy) {
  background.SetBackgroundStyle(TVexBackStyle::bTexture);
  background.Texture().SetImage(Numbered(4, 3));
  Surface plain(gdi, 4, 3);
  background.PaintBackground(plain.Target(), 4, 3, true);
  EXPECT_EQ(plain.At(1, 1), Rgb(255, 0, 255));  // clNone: nothing replaced
  background.Texture().SetTransparentColor(Rgb(255, 0, 255));
  background.Texture().SetTransparentBackground(Rgb(255, 255, 0));
  Surface keyed(gdi, 4, 3);
  background.PaintBackground(keyed.Target(), 4, 3, true);
  EXPECT_EQ(keyed.At(1, 1), Color{0x00FFFF});
  EXPECT_EQ(keyed.At(2, 1), Rgb(2, 1, 77));
}

TEST_F(BackgroundTest, BrushFillsDrawTheHatchOnWhiteOrOnTheSolidColour) {
  background.BrushFill().SetBrushStyle(TBrushStyle::bsHorizontal);
  background.BrushFill().SetBrushColor(Rgb(20, 40, 120));
  background.SetSolidColor(Rgb(240, 200, 40));
  background.SetBackgroundStyle(TVexBackStyle::bBrushFillUseCurrent);
  Surface current(gdi, 16, 16);
  background.PaintBackground(current.Target(), 16, 16, true);
  ExpectRow(current, 3, 16, Rgb(20, 40, 120));  // the hatch line of every 8 rows
  ExpectRow(current, 11, 16, Rgb(20, 40, 120));
  ExpectRow(current, 4, 16, clWhite);
  background.SetBackgroundStyle(TVexBackStyle::bBrushFillSolidColor);
  Surface solid(gdi, 16, 16);
  background.PaintBackground(solid.Target(), 16, 16, true);
  ExpectRow(solid, 3, 16, Rgb(20, 40, 120));
  ExpectRow(solid, 4, 16, Rgb(240, 200, 40));
}

TEST(NegativePatBlt, ExtendsBeforeThePositionAndCoversIt) {
  sim::SimDrawing gdi;
  Surface s(gdi, 16, 10, clWhite);
  TSelectedBrush brush(gdi, s.Dc(), Brush{TBrushStyle::bsSolid, clRed});
  gdi.PatBlt(s.Dc(), 10, 5, -4, -2, rop::kPatCopy);  // columns 7..10, rows 4..5
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 7 && x <= 10 && y >= 4 && y <= 5;
      ASSERT_EQ(s.At(x, y), inside ? clRed : clWhite) << x << "," << y;
    }
  }
}

// Clients on the simulated windows: what a change of the background repaints.
class BackgroundClients : public ::testing::Test {
 protected:
  BackgroundClients() {
    app.Initialize();
    form = &app.CreateForm<TForm>("Form1");
    for (TPanel** panel : {&left, &right}) {
      *panel = new TPanel(form, "Panel");
      (*panel)->SetParent(form);
    }
    form->Show();
  }
  int Invalidations(TPanel* panel) {
    return static_cast<sim::SimPanel*>(panel->Peer())->invalidations;
  }
  TVexGauge* GaugeOn(TPanel* panel) {
    auto* gauge = new TVexGauge(form, "G");
    gauge->SetParent(panel);
    return gauge;
  }
  sim::SimPlatform sim;
  TApplication app{sim.platform};
  TForm* form = nullptr;
  TPanel* left = nullptr;
  TPanel* right = nullptr;
};

TEST_F(BackgroundClients, EveryChangeInvalidatesEachClientThenFiresOnChanged) {
  auto* background = new TVexBackground(form, "Background");
  TVexGauge* one = GaugeOn(left);
  TVexGauge* two = GaugeOn(right);
  one->SetBackground(background);
  two->SetBackground(background);
  EXPECT_EQ(background->Clients(), (std::vector<TControl*>{one, two}));
  std::vector<std::pair<int, int>> seen_by_handler;
  background->OnChanged = [&](TComponent& sender) {
    EXPECT_EQ(&sender, background);
    seen_by_handler.emplace_back(Invalidations(left), Invalidations(right));
  };
  const auto change = [&](const std::function<void()>& set) {
    const int l = Invalidations(left), r = Invalidations(right);
    set();
    ASSERT_EQ(seen_by_handler.size(), 1u);
    EXPECT_GT(seen_by_handler[0].first, l);
    EXPECT_GT(seen_by_handler[0].second, r);
    seen_by_handler.clear();
  };
  change([&] { background->SetBackgroundStyle(TVexBackStyle::bSolidcolor); });
  change([&] { background->SetSolidColor(clRed); });
  change([&] { background->Gradient().SetEndColor(Rgb(0, 0, 255)); });
  change([&] { background->Texture().SetImageStyle(TVexImageStyle::isCenter); });
  change([&] { background->BrushFill().SetBrushColor(clLime); });
}

TEST_F(BackgroundClients, GaugeLeavesTheListWhenItDropsOrLosesItsBackground) {
  auto* background = new TVexBackground(form, "Background");
  TVexGauge* one = GaugeOn(left);
  TVexGauge* two = GaugeOn(right);
  one->SetBackground(background);
  two->SetBackground(background);
  one->SetBackground(nullptr);
  EXPECT_EQ(background->Clients(), (std::vector<TControl*>{two}));
  delete two;
  EXPECT_TRUE(background->Clients().empty());
  one->SetBackground(background);
  const int before = Invalidations(left);
  delete background;  // the removal notice leaves the gauge without one, repainted
  EXPECT_EQ(one->Background(), nullptr);
  EXPECT_GT(Invalidations(left), before);
}

TEST_F(BackgroundClients, GaugePaintsItsBackgroundFirst) {
  auto* background = new TVexBackground(form, "Background");
  background->SetBackgroundStyle(TVexBackStyle::bSolidcolor);
  background->SetSolidColor(Rgb(90, 160, 60));
  TVexGauge gauge(nullptr, "G");
  gauge.SetBackground(background);
  Surface s(sim.drawing, 140, 36);
  gauge.PaintTo(s.Target());
  EXPECT_EQ(s.At(3, 3), Rgb(90, 160, 60));  // between the bevels
  EXPECT_EQ(s.At(0, 0), sim.drawing.Resolve(clBtnHighlight));
  gauge.SetBackground(nullptr);
}

}  // namespace
}  // namespace velocane::testing
