#pragma once
// A simulated surface to draw on and look at, pixel by pixel.
#include <gtest/gtest.h>

#include "app/appearance.h"
#include "components/vex/vexenhancedclass.h"
#include "platform/sim/sim_drawing.h"

namespace velocane::testing {

class Surface {
 public:
  Surface(sim::SimDrawing& gdi, int width, int height, Color fill = kSlate)
      : gdi_(gdi), memory_(gdi, width, height) {
    gdi_.FillRect(memory_.Dc(), Rect{0, 0, width, height}, fill);
  }
  TVexDc Target() { return memory_.Target(); }
  DcHandle Dc() const { return memory_.Dc(); }
  Color At(int x, int y) { return gdi_.GetPixel(memory_.Dc(), x, y); }

 private:
  sim::SimDrawing& gdi_;
  TMemoryDc memory_;
};

}  // namespace velocane::testing
