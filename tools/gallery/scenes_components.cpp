#include <algorithm>
#include <memory>

#include "app/appearance.h"
#include "components/vex/vextgauge.h"
#include "tools/gallery/scene_sets.h"

namespace velocane::gallery {

namespace {

Scene GaugeScene(const std::string& name, int width, int height, TVexKind kind, int percentage,
                 bool main_window_settings) {
  auto make = [=] {
    auto gauge = std::make_unique<TVexGauge>(nullptr, "G");
    if (main_window_settings) ConfigureMainGauge(*gauge);
    gauge->SetBounds(0, 0, width, height);
    gauge->SetKind(kind);
    gauge->SetPercentage(percentage);
    return gauge;
  };
  return Scene{
      name, width, height, [=](TVexDc target) { make()->PaintTo(target); },
      [=](Drawing& gdi, DcHandle dc) {
        auto gauge = make();
        gauge->PaintSegments(TVexDc{gdi, dc});
        return std::vector<Rect>{CaptionBox(gdi, dc, gauge->SegmentArea(),
                                            std::to_string(percentage) + " %", FontDesc{}, 2)};
      }};
}

const char* FrameName(TVexFrameStyle style) {
  switch (style) {
    case TVexFrameStyle::frameSolid:
      return "solid";
    case TVexFrameStyle::frameRaised:
      return "raised";
    case TVexFrameStyle::frameLowered:
      return "lowered";
    case TVexFrameStyle::frameNone:
      return "none";
    case TVexFrameStyle::frameFramedUp:
      return "framedup";
    case TVexFrameStyle::frameFramedDown:
      return "frameddown";
    case TVexFrameStyle::framePanelUp:
      return "panelup";
    case TVexFrameStyle::framePanelDown:
      return "paneldown";
    case TVexFrameStyle::frameLightBordered:
      return "lightbordered";
  }
  return "unknown";
}

const char* Font3DName(TVexStyle3D style) {
  switch (style) {
    case TVexStyle3D::fontRaised:
      return "raised";
    case TVexStyle3D::fontInset:
      return "inset";
    case TVexStyle3D::fontOnlyShadow:
      return "onlyshadow";
    case TVexStyle3D::fontOnlyHighlight:
      return "onlyhighlight";
    case TVexStyle3D::fontOutLineShadow:
      return "outlineshadow";
  }
  return "unknown";
}

// Our own picture: four 16 x 16 cells, a disc, a square, a bar and a cross,
// on a magenta ground that the bottom-left pixel makes transparent.
TVexImage GlyphStrip() {
  const Color ground = Rgb(255, 0, 255);
  TVexImage image{64, 16, std::vector<Color>(64 * 16, ground)};
  auto put = [&](int x, int y, Color c) { image.pixels[y * 64 + x] = c; };
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int dx = x - 8, dy = y - 8;
      if (dx * dx + dy * dy < 36) put(x, y, Rgb(240, 200, 40));
      if (x >= 3 && x < 13 && y >= 3 && y < 13) put(16 + x, y, Rgb(40, 120, 220));
      if (y >= 6 && y < 10 && x >= 2 && x < 14) put(32 + x, y, Rgb(90, 200, 90));
      if ((x == y || x == 15 - y) && x > 1 && x < 14) put(48 + x, y, Rgb(30, 30, 40));
      if (x >= 6 && x < 10 && y >= 2 && y < 14) put(48 + x, y, Rgb(250, 250, 250));
    }
  }
  return image;
}

}  // namespace

std::vector<Scene> ComponentScenes() {
  std::vector<Scene> scenes;
  const auto no_text = [](Drawing&, DcHandle) { return std::vector<Rect>{}; };
  for (int percentage : {0, 45, 100}) {
    char name[32];
    std::snprintf(name, sizeof name, "gauge-ag-%03d", percentage);
    scenes.push_back(GaugeScene(name, 385, 27, TVexKind::kHorizontal, percentage, true));
  }
  scenes.push_back(GaugeScene("gauge-vertical-030", 36, 140, TVexKind::kVertical, 30, false));
  for (int style = 0; style <= static_cast<int>(TVexFrameStyle::frameLightBordered); ++style) {
    for (int width : {1, 3}) {
      const auto frame_style = static_cast<TVexFrameStyle>(style);
      scenes.push_back(Scene{
          std::string("frame-") + FrameName(frame_style) + "-" + std::to_string(width), 10, 10,
          [=](TVexDc target) {
            TVexFrame frame(nullptr);
            frame.SetFrameStyle(frame_style);
            frame.SetFrameWidth(static_cast<std::uint8_t>(width));
            Rect r{0, 0, 10, 10};
            frame.DrawFrame(target, r);
          },
          no_text});
    }
  }
  const FontDesc caption_font{"Arial", 16, true, Rgb(0, 0, 128)};
  for (int style = 0; style <= static_cast<int>(TVexStyle3D::fontOutLineShadow); ++style) {
    const auto font_style = static_cast<TVexStyle3D>(style);
    const Rect area{0, 0, 96, 32};
    scenes.push_back(Scene{
        std::string("font3d-") + Font3DName(font_style), 96, 32,
        [=](TVexDc target) {
          TVexFont3D font(nullptr);
          font.SetStyle3D(font_style);
          font.SetOffset(2);
          font.DrawText3D(caption_font, target, area, "45 %",
                          textflag::kCenter | textflag::kVCenter | textflag::kSingleLine, true);
        },
        [=](Drawing& gdi, DcHandle dc) {
          return std::vector<Rect>{CaptionBox(gdi, dc, area, "45 %", caption_font, 3)};
        }});
  }
  scenes.push_back(Scene{"glyph-disabled", 24, 24,
                         [](TVexDc target) {
                           TVexGlyph glyph(nullptr);
                           glyph.SetBitmap(GlyphStrip());
                           glyph.SetNumGlyphs(4);
                           glyph.DrawGlyph(target, 4, 4, false, false, false);
                         },
                         no_text});
  // The keyed picture through both transfer paths, and lines in every direction.
  for (bool native : {true, false}) {
    scenes.push_back(Scene{
        native ? "keyed-native" : "keyed-raster", 72, 24,
        [=](TVexDc target) {
          const TVexImage strip = GlyphStrip();
          TMemoryDc picture(target.gdi, 64, 16);
          for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 64; ++x) {
              target.gdi.SetPixel(picture.Dc(), x, y, strip.At(x, y));
            }
          }
          DrawBitmapKeyed(target, picture.Dc(), Point{64, 16}, Rgb(255, 0, 255), 4, 4, native);
        },
        no_text});
  }
  scenes.push_back(Scene{
      "patblt", 40, 30,
      [](TVexDc target) {
        for (int x = 0; x < 40; ++x) {
          target.gdi.Line(target.dc, x, 0, x, 30, Rgb(x * 6, 255 - x * 6, 90));
        }
        TSelectedBrush brush(target.gdi, target.dc, Brush{TBrushStyle::bsSolid, Rgb(10, 200, 250)});
        target.gdi.PatBlt(target.dc, 2, 2, 12, 26, rop::kPatCopy);
        target.gdi.PatBlt(target.dc, 14, 2, 12, 26, rop::kPatInvert);
        target.gdi.PatBlt(target.dc, 26, 2, 12, 26, rop::kDstInvert);
      },
      no_text});
  // The six hatches: opaque on yellow from the origin, then transparent from (3, 5).
  scenes.push_back(Scene{"hatches", 110, 40,
                         [](TVexDc target) {
                           Drawing& gdi = target.gdi;
                           for (int i = 0; i < 6; ++i) {
                             const auto style = static_cast<TBrushStyle>(
                                 static_cast<int>(TBrushStyle::bsHorizontal) + i);
                             TSelectedBrush brush(gdi, target.dc, Brush{style, Rgb(20, 40, 120)});
                             gdi.SetBkColor(target.dc, Rgb(250, 230, 90));
                             gdi.SetBkMode(target.dc, BkMode::kOpaque);
                             gdi.SetBrushOrg(target.dc, Point{0, 0});
                             gdi.PatBlt(target.dc, 2 + 18 * i, 2, 16, 16, rop::kPatCopy);
                             // Wine keeps a hatch's background mode from the
                             // brush's first use: a new brush sees the new mode.
                             gdi.SetBkMode(target.dc, BkMode::kTransparent);
                             brush.Set(Brush{style, Rgb(20, 40, 120)});
                             gdi.SetBrushOrg(target.dc, Point{3, 5});
                             gdi.PatBlt(target.dc, 2 + 18 * i, 21, 16, 16, rop::kPatCopy);
                             gdi.SetBrushOrg(target.dc, Point{0, 0});
                             gdi.SetBkMode(target.dc, BkMode::kOpaque);
                           }
                         },
                         no_text});
  scenes.push_back(Scene{"lines", 41, 41,
                         [](TVexDc target) {
                           for (int i = 0; i <= 40; i += 4) {
                             target.gdi.Line(target.dc, 20, 20, i, 0, Rgb(200, 0, 0));
                             target.gdi.Line(target.dc, 20, 20, 40, i, Rgb(0, 160, 0));
                             target.gdi.Line(target.dc, 20, 20, 40 - i, 40, Rgb(0, 0, 200));
                             target.gdi.Line(target.dc, 20, 20, 0, 40 - i, Rgb(0, 0, 0));
                           }
                         },
                         no_text});
  return scenes;
}

}  // namespace velocane::gallery
