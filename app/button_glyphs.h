#pragma once
// The pictures of the five command buttons, drawn with a few shapes.
#include "platform/canvas.h"

namespace velocane {

void StopGlyph(Canvas& canvas, const Rect& area, bool enabled);
void AccelerateGlyph(Canvas& canvas, const Rect& area, bool enabled);
void ViewGlyph(Canvas& canvas, const Rect& area, bool enabled);
void MinimizeGlyph(Canvas& canvas, const Rect& area, bool enabled);
void AboutGlyph(Canvas& canvas, const Rect& area, bool enabled);

}  // namespace velocane
