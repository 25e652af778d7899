#include "platform/sim/sim_drawing.h"
#include "tools/gallery/gallery_drawing.h"

namespace velocane::gallery {

Drawing& GalleryDrawing() {
  static sim::SimDrawing drawing;
  return drawing;
}

const char* GalleryBackendName() { return "simulation"; }

}  // namespace velocane::gallery
