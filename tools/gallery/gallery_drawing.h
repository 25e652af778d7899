#pragma once
// The drawing this build of the gallery renders with.
#include "platform/drawing.h"

namespace velocane::gallery {

Drawing& GalleryDrawing();
const char* GalleryBackendName();

}  // namespace velocane::gallery
