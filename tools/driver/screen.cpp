// What the screen shows: its pixels read through GDI, and pictures of the
// whole display written by imagemagick on the Linux side.
#include <cstdlib>
#include <cstring>

#include "platform/win32/handles.h"
#include "tools/driver/driver.h"

namespace velocane::driver {

std::vector<DWORD> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
  const win32::WindowDc screen(nullptr);
  const win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const win32::UniqueBitmap bitmap(
      CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const win32::ScopedSelect selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    if (bits != nullptr) std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
  }
  for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

std::vector<DWORD> CaptureWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return CaptureScreen(r);
}

bool Screenshot(const std::string& unix_path) {
  const std::wstring path(unix_path.begin(), unix_path.end());
  const std::wstring dos = L"Z:" + path;
  DeleteFileW(dos.c_str());
  if (!StartUnix(L"/usr/bin/import -window root " + path)) return false;
  // Done once the file is there and has stopped growing.
  LONGLONG last = -1;
  return WaitUntil(
      [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(dos.c_str(), GetFileExInfoStandard, &data)) return false;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        const bool settled = size > 0 && size == last;
        last = size;
        if (!settled) Sleep(100);
        return settled;
      },
      30000);
}

std::string ShotPath(const std::string& name) {
  const char* build = std::getenv("VELOCANE_WINE_BUILD");
  return std::string(build != nullptr ? build : "/tmp") + "/" + name;
}

}  // namespace velocane::driver
