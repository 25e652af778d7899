// The canvas's one-pixel 3-D edge, drawn by the simulation, equals what the
// real DrawEdge draws for BDR_RAISEDINNER and BDR_SUNKENOUTER with BF_RECT.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/appearance.h"
#include "platform/canvas.h"
#include "platform/framework/graphics.h"
#include "platform/sim/sim_drawing.h"
#include "platform/win32/win32_drawing.h"
#include "platform/win32/windows_clean.h"

namespace velocane {
namespace {

constexpr Color kPanel = kSlate;  // what the components paint on

TEST(CanvasEdge, SimulationEqualsDrawEdge) {
  sim::SimDrawing sim;
  win32::Win32Drawing gdi;
  const Rect boxes[] = {{2, 2, 3, 3}, {2, 2, 4, 4}, {1, 3, 4, 8}, {2, 2, 12, 8}, {0, 0, 30, 20}};
  for (const Rect& box : boxes) {
    for (bool raised : {true, false}) {
      TMemoryDc simulated(sim, 32, 24);
      TMemoryDc real(gdi, 32, 24);
      sim.FillRect(simulated.Dc(), Rect{0, 0, 32, 24}, kPanel);
      gdi.FillRect(real.Dc(), Rect{0, 0, 32, 24}, kPanel);
      Canvas(sim, simulated.Dc()).Edge(box, raised);
      RECT r{box.left, box.top, box.right, box.bottom};
      DrawEdge(reinterpret_cast<HDC>(real.Dc().value), &r,
               raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
      int differing = 0;
      for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 32; ++x) {
          const Color s = sim.GetPixel(simulated.Dc(), x, y);
          const Color g = gdi.GetPixel(real.Dc(), x, y);
          if (s != g && ++differing == 1) {
            ADD_FAILURE() << (raised ? "raised" : "sunken") << " " << box.Width() << " x "
                          << box.Height() << ": first at (" << x << ", " << y << ") simulation "
                          << std::hex << s << ", DrawEdge " << g;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace velocane
