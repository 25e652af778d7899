#pragma once
// A simulated surface to draw on and look at, pixel by pixel.
#include <gtest/gtest.h>

#include "components/vex/vexenhancedclass.h"
#include "platform/sim/sim_drawing.h"

namespace velocane::testing {

class Surface {
 public:
  Surface(sim::SimDrawing& gdi, int width, int height, Color fill = 12615808)
      : gdi_(gdi), dc_(gdi.CreateMemoryDc()), bitmap_(gdi.CreateBitmap(width, height)) {
    gdi_.SelectBitmap(dc_, bitmap_);
    gdi_.FillRect(dc_, Rect{0, 0, width, height}, fill);
  }
  ~Surface() {
    gdi_.DeleteDc(dc_);
    gdi_.DeleteBitmap(bitmap_);
  }
  TVexDc Target() { return TVexDc{gdi_, dc_}; }
  DcHandle Dc() const { return dc_; }
  Color At(int x, int y) { return gdi_.GetPixel(dc_, x, y); }

 private:
  sim::SimDrawing& gdi_;
  DcHandle dc_;
  BitmapHandle bitmap_;
};

}  // namespace velocane::testing
