// Pictures taken from the screen, written as PNG files.
#include <cstdio>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tools/driver/driver.h"

namespace velocane::driver {

bool ReadRectanglesUnscaled() {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
  using AwarenessOf = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto set = reinterpret_cast<SetContext>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  const auto get = reinterpret_cast<GetContext>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  const auto awareness = reinterpret_cast<AwarenessOf>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (set == nullptr || get == nullptr || awareness == nullptr) return false;
  if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) == FALSE) {
    set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  }
  // Wine makes a program without a declaration per-monitor aware already and
  // refuses to change it: what counts is the awareness the process has.
  return awareness(get()) == DPI_AWARENESS_PER_MONITOR_AWARE;
}

bool WritePng(const std::string& path, const RECT& area, const std::vector<DWORD>& pixels) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
    return false;
  }
  std::vector<unsigned char> rgb;
  rgb.reserve(pixels.size() * 3);
  for (DWORD pixel : pixels) {
    rgb.push_back(static_cast<unsigned char>(pixel >> 16));
    rgb.push_back(static_cast<unsigned char>(pixel >> 8));
    rgb.push_back(static_cast<unsigned char>(pixel));
  }
  return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

bool WriteWindowPng(const std::string& path, HWND window) {
  RECT area{};
  if (!GetWindowRect(window, &area)) return false;
  return WritePng(path, area, CaptureScreen(area));
}

}  // namespace velocane::driver
