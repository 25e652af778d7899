#pragma once
// The base of the component set's windowless controls: it paints on its
// parent's surface, in its own coordinates (origin at its top-left corner).
#include "components/vex/vexenhancedclass.h"
#include "platform/framework/control.h"

namespace velocane {

class TVexGraphicControl : public TControl {
 public:
  using TControl::TControl;

  // The whole control, drawn on `target` with the control's top-left corner at (0, 0).
  virtual void PaintTo(TVexDc target) = 0;

  // A paint cycle of the parent: the control is drawn in its place.
  void Paint(Canvas& canvas) override;

 protected:
  // Draws with `draw` straight onto the parent's surface, outside a paint
  // cycle, and copies only `area` (control coordinates) back. Does nothing
  // while the control has no surface to draw on.
  void DrawNow(const Rect& area, const std::function<void(TVexDc)>& draw);
};

}  // namespace velocane
