#pragma once
// Shared helpers of the Windows backend. Only files in this folder include it.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/types.h"
#include "platform/win32/windows_clean.h"

namespace velocane::win32 {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window.value); }
inline WindowHandle FromHwnd(HWND hwnd) {
  return WindowHandle{reinterpret_cast<std::uintptr_t>(hwnd)};
}

inline COLORREF ResolveColor(Color color) {
  if ((color & kSystemColorFlag) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

// Registers a window class once per process; returns false when that fails.
bool EnsureWindowClass(const std::string& name, WNDPROC proc, UINT style = 0,
                       HBRUSH background = nullptr);

// A 32-bit top-down section: every pixel holds its colour exactly, as in the
// simulation (0x00RRGGBB in memory). `bits`, when given, gets its pixels.
HBITMAP CreateSection(int width, int height, std::uint32_t** bits);

// Hands an exception that a window procedure caught to the program's error
// handling (Windowing::SetErrorHandler); nothing may unwind into the system.
void ReportUnhandled(std::exception_ptr error);

// Runs the handling of one message inside a window procedure.
template <class Handling>
void Guarded(Handling&& handling) {
  try {
    handling();
  } catch (...) {
    ReportUnhandled(std::current_exception());
  }
}

}  // namespace velocane::win32
