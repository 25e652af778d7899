#pragma once
// The gallery's scenes by subject; Scenes() lists them all.
#include <vector>

#include "tools/gallery/scenes.h"

namespace velocane::gallery {

// The gauge, frames, 3-D text, glyphs, keyed blits and a few raw operations.
std::vector<Scene> ComponentScenes();
// Ellipses and polygons of the canvas, and the five button pictures.
std::vector<Scene> ShapeScenes();

}  // namespace velocane::gallery
