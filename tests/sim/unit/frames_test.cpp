// Frames, glyphs, 3-D text and keyed blits, on the simulated surface.
#include <functional>
#include <memory>

#include "app/appearance.h"
#include "tests/support/drawing_fixture.h"

namespace velocane::testing {
namespace {

constexpr Color kPanel = kSlate;  // what the components paint on

class VexDrawing : public ::testing::Test {
 protected:
  Color Highlight() { return gdi.Resolve(clBtnHighlight); }
  Color Shadow() { return gdi.Resolve(clBtnShadow); }
  sim::SimDrawing gdi;
};

TEST_F(VexDrawing, RaisedFrameOfWidthThreeDrawsNestedRingsAndShrinks) {
  Surface s(gdi, 10, 10);
  TVexFrame frame(nullptr);
  frame.SetFrameWidth(3);
  Rect r{0, 0, 10, 10};
  frame.DrawFrame(s.Target(), r);
  EXPECT_EQ(r, (Rect{3, 3, 7, 7}));
  for (int ring = 0; ring < 3; ++ring) {
    const int lo = ring, hi = 9 - ring;
    SCOPED_TRACE(ring);
    EXPECT_EQ(s.At(lo, lo), Highlight());  // top-left corner: first colour
    EXPECT_EQ(s.At(hi, lo), Shadow());     // top-right: second
    EXPECT_EQ(s.At(hi, hi), Shadow());     // bottom-right
    EXPECT_EQ(s.At(lo, hi), Shadow());     // bottom-left: the bottom side drawn last
    EXPECT_EQ(s.At(lo, (lo + hi) / 2), Highlight());
    EXPECT_EQ(s.At((lo + hi) / 2, hi), Shadow());
  }
  EXPECT_EQ(s.At(4, 4), kPanel);  // inside untouched
}

TEST_F(VexDrawing, DepthsAndWhatEachStyleDraws) {
  struct Case {
    TVexFrameStyle style;
    int depth;
    // Colours at the left side and the right side of the outer and of the inner ring.
    Color outer_left, outer_right, inner_left, inner_right;
  };
  const Color H = gdi.Resolve(clBtnHighlight), S = gdi.Resolve(clBtnShadow), K = clBlack,
              P = kPanel, X = Rgb(1, 2, 3);
  const Case cases[] = {
      {TVexFrameStyle::frameSolid, 2, X, X, X, X},
      {TVexFrameStyle::frameRaised, 2, H, S, H, S},
      {TVexFrameStyle::frameLowered, 2, S, H, S, H},
      {TVexFrameStyle::frameNone, 0, P, P, P, P},
      {TVexFrameStyle::frameFramedUp, 4, H, S, S, H},
      {TVexFrameStyle::frameFramedDown, 4, S, H, H, S},
      {TVexFrameStyle::framePanelUp, 4, H, K, P, S},
      {TVexFrameStyle::framePanelDown, 4, S, P, K, H},
      {TVexFrameStyle::frameLightBordered, 4, P, S, H, H},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    Surface s(gdi, 20, 20);
    TVexFrame frame(nullptr);
    frame.SetFrameStyle(c.style);
    frame.SetSolid(X);
    frame.SetFrameWidth(2);
    EXPECT_EQ(frame.FrameDepth(), c.depth);
    Rect r{0, 0, 20, 20};
    frame.DrawFrame(s.Target(), r);
    EXPECT_EQ(r, (Rect{c.depth, c.depth, 20 - c.depth, 20 - c.depth}));
    const int inner =
        c.depth == 4 ? 2 : 1;  // the first ring of the second band, or the second ring
    EXPECT_EQ(s.At(0, 10), c.outer_left);
    EXPECT_EQ(s.At(19, 10), c.outer_right);
    EXPECT_EQ(s.At(inner, 10), c.inner_left);
    EXPECT_EQ(s.At(19 - inner, 10), c.inner_right);
  }
}

TEST_F(VexDrawing, EdgesChooseSidesButNotTheDepth) {
  Surface s(gdi, 10, 10);
  TVexFrame frame(nullptr);
  frame.SetEdges(EdgeLeft | EdgeTop);
  Rect r{0, 0, 10, 10};
  frame.DrawFrame(s.Target(), r);
  EXPECT_EQ(r, (Rect{1, 1, 9, 9}));
  EXPECT_EQ(s.At(0, 5), Highlight());
  EXPECT_EQ(s.At(5, 0), Highlight());
  EXPECT_EQ(s.At(9, 5), kPanel);
  EXPECT_EQ(s.At(5, 9), kPanel);
}

TEST_F(VexDrawing, ZeroWidthAndZeroOffsetAreRefused) {
  TVexFrame frame(nullptr);
  int changes = 0;
  frame.OnChange = [&] { ++changes; };
  frame.SetFrameWidth(3);
  frame.SetFrameWidth(0);
  EXPECT_EQ(frame.FrameWidth(), 3);
  EXPECT_EQ(changes, 1);
  TVexFont3D font(nullptr);
  font.OnChange = [&] { ++changes; };
  font.SetOffset(2);
  font.SetOffset(0);
  EXPECT_EQ(font.Offset(), 2);
  EXPECT_EQ(changes, 3);  // the refused offset is still announced
}

TEST_F(VexDrawing, GlyphWidthRoundsHalvesToEven) {
  TVexGlyph glyph(nullptr);
  EXPECT_EQ(glyph.GlyphWidth(), 0);
  EXPECT_EQ(glyph.GlyphHeight(), 0);
  const std::pair<int, int> cases[] = {{10, 2}, {14, 4}, {64, 16}, {18, 4}, {6, 2}};
  for (auto [width, expected] : cases) {
    glyph.SetBitmap(TVexImage{width, 3, std::vector<Color>(width * 3, 0)});
    glyph.SetNumGlyphs(4);
    EXPECT_EQ(glyph.GlyphWidth(), expected) << width;
  }
}

// A strip of `cells` cells, each 16 x 16, cell k filled with colours[k], the
// bottom-left pixel of each cell in `key`, and one inner pixel in `key` too.
TVexImage Strip(const std::vector<Color>& colours, Color key) {
  const int cells = static_cast<int>(colours.size());
  TVexImage image{16 * cells, 16, std::vector<Color>(16 * cells * 16)};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16 * cells; ++x) image.pixels[y * 16 * cells + x] = colours[x / 16];
  }
  for (int k = 0; k < cells; ++k) {
    image.pixels[15 * 16 * cells + 16 * k] = key;     // bottom-left
    image.pixels[8 * 16 * cells + 16 * k + 8] = key;  // a hole in the middle
  }
  return image;
}

TEST_F(VexDrawing, GlyphDrawsCellOneKeyedOnItsBottomLeftPixel) {
  const Color key = Rgb(255, 0, 255);
  TVexGlyph glyph(nullptr);
  glyph.SetBitmap(Strip({Rgb(10, 200, 30), Rgb(200, 10, 30), Rgb(30, 10, 200)}, key));
  glyph.SetNumGlyphs(3);
  Surface s(gdi, 20, 20);
  glyph.DrawGlyph(s.Target(), 2, 2, true, false, false);
  EXPECT_EQ(s.At(3, 3), Rgb(10, 200, 30));
  EXPECT_EQ(s.At(2, 17), kPanel);   // the key pixel leaves the surface alone
  EXPECT_EQ(s.At(10, 10), kPanel);  // so does the same colour inside: a hole
  EXPECT_EQ(s.At(18, 3), kPanel);   // one cell only
  // Alternate cell: the second of three, but the first of two.
  glyph.DrawGlyph(s.Target(), 2, 2, true, true, false);
  EXPECT_EQ(s.At(3, 3), Rgb(200, 10, 30));
  glyph.SetNumGlyphs(2);
  glyph.DrawGlyph(s.Target(), 2, 2, true, true, false);
  EXPECT_EQ(s.At(3, 3), Rgb(10, 200, 30));
}

// A 4-cell strip whose cells hold, in 3-pixel columns, colours of the sums
// 765, 600, 300, 100 and 30, and the transparent colour in the last column.
TVexImage ToneStrip(Color transparent) {
  const Color tones[] = {Rgb(255, 255, 255), Rgb(200, 200, 200), Rgb(100, 100, 100),
                         Rgb(40, 30, 30),    Rgb(10, 10, 10),    transparent};
  TVexImage image{64, 16, std::vector<Color>(64 * 16)};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 64; ++x) image.pixels[y * 64 + x] = tones[std::min((x % 16) / 3, 5)];
  }
  return image;
}

TEST_F(VexDrawing, RecolouringUsesBothFactorsAndKeepsTheTransparentColour) {
  const Color keep = Rgb(1, 2, 3);
  const Color face = gdi.Resolve(clBtnFace);
  TVexGlyph glyph(nullptr);
  glyph.SetBitmap(ToneStrip(keep));
  glyph.SetNumGlyphs(4);
  glyph.SetTransparent(false);
  glyph.SetTransparentColor(keep);
  struct Case {
    bool enabled;
    bool recolour;
    std::vector<Color> expected;  // per column group
  };
  const Case cases[] = {
      // Disabled: the last cell, factor 2: only highlight, shadow and black.
      {false, false, {Highlight(), Highlight(), Shadow(), clBlack, clBlack, keep}},
      // Recoloured when enabled: cell 1, factor 1.
      {true, true, {face, face, Highlight(), Shadow(), clBlack, keep}},
  };
  for (const Case& c : cases) {
    Surface s(gdi, 16, 16);
    glyph.DrawGlyph(s.Target(), 0, 0, c.enabled, false, c.recolour);
    for (int group = 0; group < 6; ++group) {
      EXPECT_EQ(s.At(group * 3, 5), c.expected[group]) << c.enabled << " group " << group;
    }
  }
}

TEST_F(VexDrawing, NativeAndRasterMaskedBlitsGiveTheSamePixels) {
  // A picture with its key colour scattered through it, drawn over a pattern.
  const Color key = Rgb(0, 255, 0);
  auto render = [&](bool native) {
    auto surface = std::make_unique<Surface>(gdi, 24, 24);
    for (int i = 0; i < 24; ++i) gdi.Line(surface->Dc(), i, 0, i, 24, Rgb(i * 10, 0, 255 - i * 10));
    Surface picture(gdi, 16, 16);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        gdi.SetPixel(picture.Dc(), x, y, (x * y) % 5 == 0 ? key : Rgb(x * 16, y * 16, 128));
      }
    }
    DrawBitmapKeyed(surface->Target(), picture.Dc(), Point{16, 16}, key, 4, 5, native);
    return surface;
  };
  auto native = render(true);
  auto raster = render(false);
  int keyed = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      ASSERT_EQ(native->At(x, y), raster->At(x, y)) << x << "," << y;
      if (native->At(x, y) == Rgb(x * 10, 0, 255 - x * 10)) ++keyed;
    }
  }
  EXPECT_GT(keyed, 24 * 24 - 16 * 16);  // the key pixels let the pattern through
  native.reset();
  raster.reset();
  EXPECT_EQ(gdi.LiveDcs(), 0);
  EXPECT_EQ(gdi.LiveBitmaps(), 0);
}

// Records where and in which colour each text pass is drawn.
class RecordingDrawing : public sim::SimDrawing {
 public:
  void DrawText(DcHandle dc, const std::string& text, const Rect& rect, unsigned flags,
                const FontDesc& font) override {
    passes.push_back({rect.left, rect.top, GetTextColor(dc)});
    EXPECT_TRUE(flags & textflag::kNoClip);
    sim::SimDrawing::DrawText(dc, text, rect, flags, font);
  }
  struct Pass {
    int left, top;
    Color color;
    friend bool operator==(const Pass&, const Pass&) = default;
  };
  std::vector<Pass> passes;
};

TEST(Font3D, PassesForEveryStyle) {
  RecordingDrawing gdi;
  const Color H = gdi.Resolve(clBtnHighlight), S = gdi.Resolve(clBtnShadow),
              G = gdi.Resolve(clGrayText), F = Rgb(9, 9, 9), R = Rgb(7, 7, 7);
  using P = RecordingDrawing::Pass;
  struct Case {
    const char* what;
    std::function<void(TVexFont3D&)> setup;
    bool enabled;
    std::vector<P> expected;
  };
  const Case cases[] = {
      {"defaults", [](TVexFont3D&) {}, true, {{9, 9, H}, {10, 10, F}}},
      {"disabled", [](TVexFont3D&) {}, false, {{10, 10, H}, {9, 9, G}}},
      {"plain", [](TVexFont3D& f) { f.SetThreeDimensional(false); }, true, {{10, 10, F}}},
      {"raised offset 2",
       [](TVexFont3D& f) {
         f.SetStyle3D(TVexStyle3D::fontRaised);
         f.SetOffset(2);
       },
       true,
       {{8, 8, H}, {12, 12, S}, {10, 10, F}}},
      {"inset",
       [](TVexFont3D& f) { f.SetStyle3D(TVexStyle3D::fontInset); },
       true,
       {{9, 9, S}, {11, 11, H}, {10, 10, F}}},
      {"only shadow",
       [](TVexFont3D& f) { f.SetStyle3D(TVexStyle3D::fontOnlyShadow); },
       true,
       {{11, 11, S}, {10, 10, F}}},
      {"outline",
       [](TVexFont3D& f) {
         f.SetStyle3D(TVexStyle3D::fontOutLineShadow);
         f.SetOffset(3);
       },
       true,
       {{9, 9, S}, {11, 9, S}, {11, 11, S}, {9, 11, S}, {10, 10, F}}},
      {"repeat on shadow",
       [&](TVexFont3D& f) {
         f.SetStyle3D(TVexStyle3D::fontOnlyShadow);
         f.SetRepetition(TVexRepeat::repeatOnShadow);
         f.SetRepetitionwidth(2);
         f.SetRepetitionColor(R);
       },
       true,
       // Shrunk by 2 to (12, 12), moved by the offset, two copies stepping up-left.
       {{13, 13, R}, {12, 12, R}, {12, 12, S}, {11, 11, F}}},
      {"repeat on highlight",
       [&](TVexFont3D& f) {
         f.SetRepetition(TVexRepeat::repeatOnHighLight);
         f.SetRepetitionwidth(2);
         f.SetRepetitionColor(R);
       },
       true,
       {{11, 11, R}, {12, 12, R}, {12, 12, H}, {13, 13, F}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Surface s(gdi, 60, 40);
    gdi.passes.clear();
    TVexFont3D font(nullptr);
    c.setup(font);
    font.DrawText3D(FontDesc{"Arial", 11, false, F}, s.Target(), Rect{10, 10, 50, 30}, "45 %",
                    textflag::kCenter | textflag::kVCenter | textflag::kSingleLine, c.enabled);
    EXPECT_EQ(gdi.passes, c.expected);
  }
}

}  // namespace
}  // namespace velocane::testing
