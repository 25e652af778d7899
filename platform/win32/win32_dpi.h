#pragma once
// The monitors' DPI, asked of the system where it knows them (Windows 10
// and later per window; older ones have one DPI for the whole system).
#include "platform/win32/windows_clean.h"

namespace velocane::win32 {

int SystemDpi();
int WindowDpi(HWND window);
// AdjustWindowRectEx at the DPI the frame is drawn at.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD ex_style, int dpi);

}  // namespace velocane::win32
