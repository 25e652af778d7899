#pragma once
// The system font for a font description.
#include "platform/drawing.h"
#include "platform/win32/windows_clean.h"

namespace velocane::win32 {

// A font for the description; the caller owns it (UniqueFont, or DeleteObject).
HFONT CreateFontFor(const FontDesc& font);

}  // namespace velocane::win32
