// Ellipses and polygons as the canvas draws them, in sizes and shapes where
// GDI's rules show (1 to 3 pixels, odd and even, concave, self-intersecting,
// horizontal edges, clipped), and the five button pictures drawn with them.
#include <string>

#include "app/button_glyphs.h"
#include "platform/canvas.h"
#include "tools/gallery/scene_sets.h"

namespace velocane::gallery {

namespace {

constexpr Color kFill = Rgb(240, 200, 40);
constexpr Color kOutline = Rgb(20, 40, 120);

struct Tools {
  const char* name;
  Color fill;
  Color outline;
};
constexpr Tools kTools[] = {
    {"filled-outlined", kFill, kOutline},
    {"outline-only", clNone, kOutline},
    {"fill-only", kFill, clNone},
};

// Boxes of every width and height from the list, row by row. Boxes much
// taller than wide (3 x 8, 4 x 18, ...) are left out: the system fills their
// top and bottom rows from memory it never set.
std::vector<Rect> EllipseBoxes() {
  const int widths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 15, 20};
  const int heights[] = {1, 2, 3, 4, 5, 7, 12};
  std::vector<Rect> boxes;
  int top = 1;
  for (int h : heights) {
    int left = 1;
    for (int w : widths) {
      if (w < 3 || h <= 2 * w + 1) boxes.push_back(Rect{left, top, left + w, top + h});
      left += w + 2;
    }
    top += h + 2;
  }
  // Corners given right-to-left and bottom-to-top, and boxes reaching over the edges.
  boxes.push_back(Rect{135, 52, 121, 40});
  boxes.push_back(Rect{-6, 44, 9, 57});
  boxes.push_back(Rect{130, -5, 150, 9});
  boxes.push_back(Rect{118, 58, 140, 70});
  return boxes;
}

std::vector<std::vector<Point>> PolygonShapes() {
  return {
      {{2, 2}, {20, 6}, {8, 22}},                                  // triangle
      {{24, 2}, {27, 30}, {26, 2}},                                // thin, steep
      {{32, 4}, {50, 4}, {50, 10}, {44, 10}, {44, 24}, {38, 24}},  // horizontal edges
      {{56, 2}, {74, 12}, {56, 24}, {62, 12}},                     // concave arrow
      {{80, 2}, {98, 22}, {98, 2}, {80, 22}},                      // bow-tie
      {{110, 1}, {115, 22}, {101, 8}, {119, 8}, {105, 22}},        // five-pointed star
      {{2, 28}, {30, 28}, {30, 42}, {2, 42}},                      // rectangle
      {{36, 40}, {42, 28}, {48, 40}, {54, 28}, {60, 40}},          // zigzag top
      {{64, 30}, {70, 30}},                                        // two points
      {{74, 30}, {80, 36}, {86, 42}},                              // on one line
      {{92, 30}, {130, 34}, {112, 52}, {88, 60}},                  // over the edges
      {{6, 46}, {26, 58}, {46, 47}, {30, 56}, {8, 56}, {46, 58}},  // crossing itself twice
  };
}

}  // namespace

std::vector<Scene> ShapeScenes() {
  std::vector<Scene> scenes;
  const auto no_text = [](Drawing&, DcHandle) { return std::vector<Rect>{}; };
  for (const Tools& tools : kTools) {
    scenes.push_back(Scene{std::string("ellipses-") + tools.name, 130, 64,
                           [tools](TVexDc target) {
                             Canvas canvas(target.gdi, target.dc);
                             for (const Rect& box : EllipseBoxes()) {
                               canvas.Ellipse(box, tools.fill, tools.outline);
                             }
                           },
                           no_text});
  }
  for (const Tools& tools : kTools) {
    scenes.push_back(Scene{std::string("polygons-") + tools.name, 124, 60,
                           [tools](TVexDc target) {
                             Canvas canvas(target.gdi, target.dc);
                             for (const auto& shape : PolygonShapes()) {
                               canvas.Polygon(shape, tools.fill, tools.outline);
                             }
                           },
                           no_text});
  }
  struct Button {
    const char* name;
    void (*draw)(Canvas&, const Rect&, bool);
  };
  const Button buttons[] = {{"stop", StopGlyph},
                            {"accelerate", AccelerateGlyph},
                            {"view", ViewGlyph},
                            {"minimize", MinimizeGlyph},
                            {"about", AboutGlyph}};
  for (const Button& button : buttons) {
    for (bool enabled : {true, false}) {
      scenes.push_back(
          Scene{std::string("button-") + button.name + (enabled ? "-enabled" : "-disabled"), 40, 40,
                [button, enabled](TVexDc target) {
                  Canvas canvas(target.gdi, target.dc);
                  button.draw(canvas, Rect{4, 4, 36, 36}, enabled);
                },
                no_text});
    }
  }
  return scenes;
}

}  // namespace velocane::gallery
