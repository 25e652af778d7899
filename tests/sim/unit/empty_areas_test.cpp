// Bitmaps the system refuses raise its error; paints of empty areas draw
// nothing, fail nowhere and leave nothing behind.
#include <functional>
#include <string>

#include "app/appearance.h"
#include "components/vex/vextgauge.h"
#include "platform/canvas.h"
#include "platform/framework/exceptions.h"
#include "tests/support/drawing_fixture.h"

namespace velocane::testing {
namespace {

class EmptyAreas : public ::testing::Test {
 protected:
  void ExpectNothingAlive() {
    EXPECT_EQ(gdi.LiveDcs(), 0);
    EXPECT_EQ(gdi.LiveBitmaps(), 0);
    EXPECT_EQ(gdi.LiveBrushes(), 0);
  }
  sim::SimDrawing gdi;
};

TEST_F(EmptyAreas, RefusedBitmapsRaiseTheSystemsCodeAndText) {
  struct Case {
    int width, height;
    bool mono;
    unsigned code;
    const char* text;
  };
  const char* const kInvalid = "The parameter is incorrect.";
  const char* const kMemory = "Not enough memory resources are available to process this command.";
  const Case cases[] = {
      {0, 10, false, 87, kInvalid},        {10, 0, false, 87, kInvalid},
      {-1, 5, false, 87, kInvalid},        {0, 0, true, 87, kInvalid},
      {5, -2, true, 87, kInvalid},         {32768, 32768, false, 8, kMemory},
      {65536, 262144, true, 87, kInvalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    try {
      if (c.mono) {
        gdi.CreateMonoBitmap(c.width, c.height);
      } else {
        gdi.CreateBitmap(c.width, c.height);
      }
      ADD_FAILURE() << "made";
    } catch (const EOSError& e) {
      EXPECT_EQ(e.Code(), c.code);
      EXPECT_STREQ(e.what(), c.text);
    }
  }
  ExpectNothingAlive();
}

TEST_F(EmptyAreas, MemoryDcWhoseBitmapIsRefusedGivesItsContextBack) {
  EXPECT_THROW(TMemoryDc(gdi, 0, 4), EOSError);
  EXPECT_THROW(TMemoryDc(gdi, 4, -1, true), EOSError);
  ExpectNothingAlive();
}

TEST_F(EmptyAreas, GaugeWithoutWidthOrHeightPaintsNothing) {
  Surface s(gdi, 20, 20);
  const int dcs = gdi.LiveDcs();
  const int bitmaps = gdi.LiveBitmaps();
  for (Rect bounds : {Rect{0, 0, 0, 27}, Rect{2, 2, 12, 2}, Rect{8, 0, 3, 10}}) {
    TVexGauge g(nullptr, "G");
    g.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    g.SetPercentage(50);
    Canvas canvas(gdi, s.Dc());
    EXPECT_NO_THROW(g.Paint(canvas));
  }
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) ASSERT_EQ(s.At(x, y), kSlate) << x << "," << y;
  }
  EXPECT_EQ(gdi.LiveDcs(), dcs);
  EXPECT_EQ(gdi.LiveBitmaps(), bitmaps);
}

TEST_F(EmptyAreas, GlyphCellsNarrowerThanHalfAPixelAndEmptyKeyedBlitsDrawNothing) {
  Surface s(gdi, 8, 8);
  TVexGlyph glyph(nullptr);
  glyph.SetBitmap(TVexImage{1, 4, std::vector<Color>(4, clRed)});
  glyph.SetNumGlyphs(4);  // Round(1 / 4) = 0 wide
  glyph.SetTransparent(false);
  EXPECT_EQ(glyph.GlyphWidth(), 0);
  EXPECT_NO_THROW(glyph.DrawGlyph(s.Target(), 1, 1, true, false, false));
  EXPECT_NO_THROW(DrawBitmapKeyed(s.Target(), s.Dc(), Point{0, 3}, clBlack, 0, 0));
  EXPECT_NO_THROW(MaskedStretchBlit(gdi, s.Dc(), 0, 0, 4, -4, s.Dc(), 0, 0, 4, 4, s.Dc(), 0, 0));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(s.At(x, y), kSlate) << x << "," << y;
  }
}

// Tall narrow ellipses: the system never sets their top and bottom rows and
// fills them from stale memory; the simulation leaves them empty.
TEST_F(EmptyAreas, RowsOfATallNarrowEllipseTheSystemLeavesUnsetStayEmpty) {
  Surface s(gdi, 8, 12, clWhite);
  gdi.Ellipse(s.Dc(), Rect{2, 1, 5, 9}, clRed, clNone);  // 3 x 8
  for (int x = 2; x < 5; ++x) {
    EXPECT_EQ(s.At(x, 1), clWhite) << x;
    EXPECT_EQ(s.At(x, 8), clWhite) << x;
  }
  EXPECT_EQ(s.At(3, 4), clRed);
}

}  // namespace
}  // namespace velocane::testing
