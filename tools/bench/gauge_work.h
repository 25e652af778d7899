#pragma once
// What the gauge benchmarks time: the main window's gauge on a surface of its size.
#include <memory>

#include "components/vex/vextgauge.h"

namespace velocane::bench {

class GaugeWork {
 public:
  explicit GaugeWork(Drawing& gdi) : gdi_(gdi), gauge_(nullptr, "AG") {
    gauge_.SetBounds(0, 0, 385, 27);
    gauge_.Glyph().SetTransparentColor(16756855);
    gauge_.SetSegmentColor(8421631);
    gauge_.SetInsideBackColor(0xF0CAA6);
    dc_ = gdi_.CreateMemoryDc();
    bitmap_ = gdi_.CreateBitmap(385, 27);
    old_ = gdi_.SelectBitmap(dc_, bitmap_);
  }
  ~GaugeWork() {
    gdi_.SelectBitmap(dc_, old_);
    gdi_.DeleteBitmap(bitmap_);
    gdi_.DeleteDc(dc_);
  }
  GaugeWork(const GaugeWork&) = delete;
  GaugeWork& operator=(const GaugeWork&) = delete;

  // One step of the animation: the next percentage, bar and caption.
  void Step() {
    percentage_ = (percentage_ + 1) % 101;
    gauge_.SetPercentage(percentage_);  // no parent: only stores the value
    gauge_.PaintSegments(TVexDc{gdi_, dc_});
  }
  // A whole paint: bevels, background, bar and caption.
  void FullPaint() { gauge_.PaintTo(TVexDc{gdi_, dc_}); }

 private:
  Drawing& gdi_;
  TVexGauge gauge_;
  DcHandle dc_;
  BitmapHandle bitmap_;
  BitmapHandle old_;
  int percentage_ = 0;
};

}  // namespace velocane::bench
