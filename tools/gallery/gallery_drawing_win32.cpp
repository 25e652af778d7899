#include "platform/win32/win32_drawing.h"
#include "tools/gallery/gallery_drawing.h"

namespace velocane::gallery {

Drawing& GalleryDrawing() {
  static win32::Win32Drawing drawing;
  return drawing;
}

const char* GalleryBackendName() { return "GDI"; }

}  // namespace velocane::gallery
