#include "platform/win32/win32_dpi.h"

#include "platform/win32/handles.h"

namespace velocane::win32 {

namespace {

template <class Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int ScreenDpi() {
  const WindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int SystemDpi() {
  static const auto get_dpi_for_system = User32<UINT(WINAPI*)()>("GetDpiForSystem");
  if (get_dpi_for_system != nullptr) return static_cast<int>(get_dpi_for_system());
  return ScreenDpi();
}

int WindowDpi(HWND window) {
  static const auto get_dpi_for_window = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (get_dpi_for_window != nullptr) {
    if (const UINT dpi = get_dpi_for_window(window); dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD ex_style, int dpi) {
  static const auto adjust =
      User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (adjust == nullptr || adjust(rect, style, FALSE, ex_style, static_cast<UINT>(dpi)) == FALSE) {
    AdjustWindowRectEx(rect, style, FALSE, ex_style);
  }
}

}  // namespace velocane::win32
