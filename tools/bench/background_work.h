#pragma once
// What the background benchmarks time: one PaintBackground of each fill onto
// a surface of the main window's gauge size or of a full-HD screen.
#include <functional>
#include <string>
#include <vector>

#include "components/vex/vextbackground.h"

namespace velocane::bench {

struct BackgroundCase {
  std::string name;
  std::function<void(TVexBackground&)> setup;
};

inline std::vector<BackgroundCase> BackgroundCases() {
  const char* const gradients[] = {
      "circle",       "horizontal",        "vertical",           "leftbottom",  "roundmiddle",
      "squaremiddle", "spectral",          "doppelflash",        "singleflash", "middlehbar",
      "middlevbar",   "verticaldoppelbar", "horizontaldoppelbar"};
  std::vector<BackgroundCase> cases;
  for (int i = 0; i < 13; ++i) {
    cases.push_back({std::string("gradient-") + gradients[i], [i](TVexBackground& b) {
                       b.Gradient().SetFillStyle(static_cast<TVexFillStyle>(i));
                     }});
  }
  const auto texture = [](TVexImageStyle style) {
    return [style](TVexBackground& b) {
      TVexImage image{37, 23, std::vector<Color>(37 * 23, Rgb(30, 90, 200))};
      for (std::size_t i = 0; i < image.pixels.size(); i += 7) image.pixels[i] = Rgb(255, 0, 255);
      b.SetBackgroundStyle(TVexBackStyle::bTexture);
      b.Texture().SetImage(image);
      b.Texture().SetImageStyle(style);
      b.Texture().SetTransparentColor(Rgb(255, 0, 255));
    };
  };
  cases.push_back({"texture-tile", texture(TVexImageStyle::isTile)});
  cases.push_back({"texture-center", texture(TVexImageStyle::isCenter)});
  cases.push_back({"texture-stretched", texture(TVexImageStyle::isStretched)});
  cases.push_back(
      {"solid", [](TVexBackground& b) { b.SetBackgroundStyle(TVexBackStyle::bSolidcolor); }});
  cases.push_back({"brush-diagcross-solidcolor", [](TVexBackground& b) {
                     b.SetBackgroundStyle(TVexBackStyle::bBrushFillSolidColor);
                     b.BrushFill().SetBrushStyle(TBrushStyle::bsDiagCross);
                   }});
  return cases;
}

// A background set up for one case, and a surface to paint it on.
class BackgroundWork {
 public:
  BackgroundWork(Drawing& gdi, const BackgroundCase& c, int width, int height)
      : background_(nullptr, "Background"), surface_(gdi, width, height) {
    background_.Gradient().SetBeginColor(Rgb(40, 40, 120));
    background_.Gradient().SetEndColor(Rgb(250, 220, 140));
    c.setup(background_);
  }
  void Paint() {
    background_.PaintBackground(surface_.Target(), surface_.Width(), surface_.Height(), true);
  }

 private:
  TVexBackground background_;
  TMemoryDc surface_;
};

struct BenchSize {
  const char* name;
  int width;
  int height;
};
constexpr BenchSize kBenchSizes[] = {{"385x27", 385, 27}, {"1920x1080", 1920, 1080}};

}  // namespace velocane::bench
