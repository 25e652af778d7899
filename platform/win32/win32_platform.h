#pragma once
// The real platform: advapi32, kernel32, user32, gdi32, comctl32, ole32.
#include "platform/platform.h"

namespace velocane::win32 {

// One instance for the process.
velocane::Platform& Win32Platform();

}  // namespace velocane::win32
