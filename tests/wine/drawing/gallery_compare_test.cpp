// Every gallery scene drawn by the simulation equals the one drawn by the real
// GDI, pixel for pixel, outside the text (the font engines differ).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <ostream>

#include "platform/sim/sim_drawing.h"
#include "platform/win32/win32_drawing.h"
#include "tools/gallery/scenes.h"

namespace velocane::gallery {

// Test names and failure messages show the scene's name, not its bytes.
void PrintTo(const Scene& scene, std::ostream* os) { *os << scene.name; }

namespace {

class GalleryCompare : public ::testing::TestWithParam<Scene> {};

TEST_P(GalleryCompare, SimulationEqualsGdiOutsideTheText) {
  const Scene& scene = GetParam();
  sim::SimDrawing sim;
  win32::Win32Drawing gdi;
  Rendered simulated(sim, scene);
  Rendered real(gdi, scene);
  std::vector<Rect> text = scene.text_boxes(sim, simulated.Dc());
  for (const Rect& r : scene.text_boxes(gdi, real.Dc())) text.push_back(r);
  int compared = 0;
  int differing = 0;
  std::string first;
  for (int y = 0; y < scene.height; ++y) {
    for (int x = 0; x < scene.width; ++x) {
      const bool in_text = std::any_of(text.begin(), text.end(), [&](const Rect& r) {
        return r.Contains(Point{x, y});
      });
      if (in_text) continue;
      ++compared;
      if (simulated.At(x, y) == real.At(x, y)) continue;
      if (++differing == 1) {
        char where[96];
        std::snprintf(where, sizeof where, "first at (%d, %d): simulation %06X, GDI %06X", x, y,
                      simulated.At(x, y), real.At(x, y));
        first = where;
      }
    }
  }
  std::printf("[ compare ] %-24s %5d pixels compared, %d differ\n", scene.name.c_str(), compared,
              differing);
  EXPECT_EQ(differing, 0) << first;
  EXPECT_GT(compared, scene.width * scene.height / 2);
}

INSTANTIATE_TEST_SUITE_P(Scenes, GalleryCompare, ::testing::ValuesIn(Scenes()),
                         [](const ::testing::TestParamInfo<Scene>& info) {
                           std::string name;
                           for (char c : info.param.name)
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(SystemColors, SimulationReportsWhatWineReports) {
  sim::SimDrawing sim;
  win32::Win32Drawing gdi;
  for (int index = 0; index <= 30; ++index) {
    EXPECT_EQ(sim.SysColor(index), gdi.SysColor(index)) << "index " << index;
  }
}

}  // namespace
}  // namespace velocane::gallery
