#include "app/appearance.h"

namespace velocane {

void ConfigureMainGauge(TVexGauge& gauge) {
  gauge.SetBounds(0, 89, 385, 27);
  gauge.Glyph().SetTransparentColor(16756855);
  gauge.BevelInner().SetFrameStyle(TVexFrameStyle::frameLowered);
  gauge.SetSegmentColor(8421631);
  gauge.SetInsideBackColor(0xF0CAA6);  // sky blue
}

}  // namespace velocane
