#pragma once
// The gallery's scenes by subject; Scenes() lists them all.
#include <string>
#include <vector>

#include "tools/gallery/scenes.h"

namespace velocane::gallery {

// The gauge, frames, 3-D text, glyphs, keyed blits and a few raw operations.
std::vector<Scene> ComponentScenes();
// Ellipses and polygons of the canvas, and the five button pictures.
std::vector<Scene> ShapeScenes();
// Gradients, textures, brush fills and a solid fill; a gauge with a background.
std::vector<Scene> BackgroundScenes();

// A caption's box in an area: the text extent centred, widened by `spread`
// for the 3-D copies around it.
Rect CaptionBox(Drawing& gdi, DcHandle dc, const Rect& area, const std::string& text,
                const FontDesc& font, int spread);

}  // namespace velocane::gallery
