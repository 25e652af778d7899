#include "platform/win32/win32_font.h"

namespace velocane::win32 {

HFONT CreateFontFor(const FontDesc& font) {
  return CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
}

}  // namespace velocane::win32
