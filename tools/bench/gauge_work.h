#pragma once
// What the gauge benchmarks time: the main window's gauge on a surface of its size.
#include <memory>

#include "app/appearance.h"
#include "components/vex/vextgauge.h"

namespace velocane::bench {

class GaugeWork {
 public:
  explicit GaugeWork(Drawing& gdi) : gauge_(nullptr, "AG"), surface_(gdi, 385, 27) {
    ConfigureMainGauge(gauge_);
    gauge_.SetBounds(0, 0, 385, 27);
  }

  // One step of the animation: the next percentage, bar and caption.
  void Step() {
    percentage_ = (percentage_ + 1) % 101;
    gauge_.SetPercentage(percentage_);  // no parent: only stores the value
    gauge_.PaintSegments(surface_.Target());
  }
  // A whole paint: bevels, background, bar and caption.
  void FullPaint() { gauge_.PaintTo(surface_.Target()); }

 private:
  TVexGauge gauge_;
  TMemoryDc surface_;
  int percentage_ = 0;
};

}  // namespace velocane::bench
