// Background fills: every gradient style with and without colours between
// the ends, textures tiled, centred and stretched with and without a
// transparent colour, both brush fills in every brush style, a solid fill,
// and a gauge painting a gradient background first.
#include <functional>
#include <memory>
#include <string>

#include "app/appearance.h"
#include "components/vex/vextbackground.h"
#include "components/vex/vextgauge.h"
#include "tools/gallery/scene_sets.h"

namespace velocane::gallery {

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 72;
constexpr Color kMagenta = Rgb(255, 0, 255);

const char* FillStyleName(TVexFillStyle style) {
  switch (style) {
    case TVexFillStyle::Circle:
      return "circle";
    case TVexFillStyle::Horizontal:
      return "horizontal";
    case TVexFillStyle::Vertical:
      return "vertical";
    case TVexFillStyle::LeftBottom:
      return "leftbottom";
    case TVexFillStyle::RoundMiddle:
      return "roundmiddle";
    case TVexFillStyle::SquareMiddle:
      return "squaremiddle";
    case TVexFillStyle::Spectral:
      return "spectral";
    case TVexFillStyle::DoppelFlash:
      return "doppelflash";
    case TVexFillStyle::Singleflash:
      return "singleflash";
    case TVexFillStyle::MiddleHBar:
      return "middlehbar";
    case TVexFillStyle::MiddleVBar:
      return "middlevbar";
    case TVexFillStyle::VerticalDoppelBar:
      return "verticaldoppelbar";
    case TVexFillStyle::HorizontalDoppelBar:
      return "horizontaldoppelbar";
  }
  return "unknown";
}

const char* BrushStyleName(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::bsSolid:
      return "solid";
    case TBrushStyle::bsClear:
      return "clear";
    case TBrushStyle::bsHorizontal:
      return "horizontal";
    case TBrushStyle::bsVertical:
      return "vertical";
    case TBrushStyle::bsFDiagonal:
      return "fdiagonal";
    case TBrushStyle::bsBDiagonal:
      return "bdiagonal";
    case TBrushStyle::bsCross:
      return "cross";
    case TBrushStyle::bsDiagCross:
      return "diagcross";
  }
  return "unknown";
}

// Our own picture: diagonal colour bands with magenta spots to key out.
TVexImage Picture(int width, int height) {
  TVexImage image{width, height, std::vector<Color>(static_cast<std::size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int band = (x + 2 * y) / 3 % 3;
      Color c = band == 0 ? Rgb(30, 90, 200) : band == 1 ? Rgb(230, 230, 240) : Rgb(200, 60, 40);
      if ((x * 7 + y * 5) % 11 == 0) c = kMagenta;
      image.pixels[static_cast<std::size_t>(y) * width + x] = c;
    }
  }
  return image;
}

using Setup = std::function<void(TVexBackground&)>;

Scene BackgroundScene(const std::string& name, int width, int height, Setup setup,
                      bool forward = true) {
  return Scene{name, width, height,
               [=](TVexDc target) {
                 TVexBackground background(nullptr, "Background");
                 setup(background);
                 background.PaintBackground(target, width, height, forward);
               },
               [](Drawing&, DcHandle) { return std::vector<Rect>{}; }};
}

void GradientEnds(TVexBackground& b, TVexFillStyle style) {
  b.Gradient().SetFillStyle(style);
  b.Gradient().SetBeginColor(clBlack);
  b.Gradient().SetEndColor(Rgb(255, 200, 40));
}

}  // namespace

std::vector<Scene> BackgroundScenes() {
  std::vector<Scene> scenes;
  for (int s = 0; s <= static_cast<int>(TVexFillStyle::HorizontalDoppelBar); ++s) {
    const auto style = static_cast<TVexFillStyle>(s);
    const std::string name = std::string("gradient-") + FillStyleName(style);
    scenes.push_back(BackgroundScene(name, kWidth, kHeight,
                                     [style](TVexBackground& b) { GradientEnds(b, style); }));
    scenes.push_back(
        BackgroundScene(name + "-between", kWidth, kHeight, [style](TVexBackground& b) {
          GradientEnds(b, style);
          b.Gradient().SetColorsInBetween({"clRed", "$00C000"});
        }));
  }
  scenes.push_back(BackgroundScene(
      "gradient-horizontal-backward", kWidth, kHeight,
      [](TVexBackground& b) {
        GradientEnds(b, TVexFillStyle::Horizontal);
        b.Gradient().SetColorsInBetween({"clRed", "$00C000"});
      },
      false));

  struct Texture {
    const char* name;
    TVexImageStyle style;
    int image_width, image_height;
  };
  const Texture textures[] = {
      {"tile", TVexImageStyle::isTile, 13, 9},
      {"center-small", TVexImageStyle::isCenter, 37, 23},
      {"center-large", TVexImageStyle::isCenter, 150, 100},
      {"stretched", TVexImageStyle::isStretched, 13, 9},
      {"stretched-shrunk", TVexImageStyle::isStretched, 150, 100},
      {"stretched-taller", TVexImageStyle::isStretched, 150, 40},
      {"stretched-wider", TVexImageStyle::isStretched, 60, 150},
  };
  for (const Texture& t : textures) {
    for (bool transparent : {false, true}) {
      scenes.push_back(
          BackgroundScene(std::string("texture-") + t.name + (transparent ? "-transparent" : ""),
                          kWidth, kHeight, [t, transparent](TVexBackground& b) {
                            b.SetBackgroundStyle(TVexBackStyle::bTexture);
                            b.SetSolidColor(Rgb(90, 160, 60));
                            b.Texture().SetImage(Picture(t.image_width, t.image_height));
                            b.Texture().SetImageStyle(t.style);
                            if (transparent) {
                              b.Texture().SetTransparentColor(kMagenta);
                              b.Texture().SetTransparentBackground(Rgb(250, 240, 120));
                            }
                          }));
    }
  }

  for (int s = 0; s <= static_cast<int>(TBrushStyle::bsDiagCross); ++s) {
    const auto style = static_cast<TBrushStyle>(s);
    for (auto fill : {TVexBackStyle::bBrushFillUseCurrent, TVexBackStyle::bBrushFillSolidColor}) {
      const bool solid = fill == TVexBackStyle::bBrushFillSolidColor;
      scenes.push_back(BackgroundScene(
          std::string("brush-") + BrushStyleName(style) + (solid ? "-solidcolor" : "-usecurrent"),
          kWidth / 2, kHeight / 2, [style, fill](TVexBackground& b) {
            b.SetBackgroundStyle(fill);
            b.SetSolidColor(Rgb(240, 200, 40));
            b.BrushFill().SetBrushStyle(style);
            b.BrushFill().SetBrushColor(Rgb(20, 40, 120));
          }));
    }
  }

  scenes.push_back(BackgroundScene("solid", kWidth / 2, kHeight / 2, [](TVexBackground& b) {
    b.SetBackgroundStyle(TVexBackStyle::bSolidcolor);
    b.SetSolidColor(Rgb(90, 160, 60));
  }));

  // The main window's gauge with a background: the fill shows between the bevels.
  const auto make_gauge = [](TVexBackground& background) {
    auto gauge = std::make_unique<TVexGauge>(nullptr, "AG");
    ConfigureMainGauge(*gauge);
    gauge->SetBounds(0, 0, 385, 27);
    gauge->SetPercentage(45);
    background.Gradient().SetFillStyle(TVexFillStyle::Vertical);
    background.Gradient().SetBeginColor(Rgb(40, 40, 120));
    background.Gradient().SetEndColor(Rgb(250, 220, 140));
    background.Gradient().SetColorsInBetween({"clTeal"});
    gauge->SetBackground(&background);
    return gauge;
  };
  scenes.push_back(Scene{"gauge-background", 385, 27,
                         [make_gauge](TVexDc target) {
                           TVexBackground background(nullptr, "Background");
                           make_gauge(background)->PaintTo(target);
                         },
                         [make_gauge](Drawing& gdi, DcHandle dc) {
                           TVexBackground background(nullptr, "Background");
                           auto gauge = make_gauge(background);
                           return std::vector<Rect>{
                               CaptionBox(gdi, dc, gauge->SegmentArea(), "45 %", FontDesc{}, 2)};
                         }});
  return scenes;
}

}  // namespace velocane::gallery
