#include "platform/win32/win32_notify_area.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/win32_common.h"
// After windows.h, which it needs.
#include <shellapi.h>

namespace velocane::win32 {

namespace {

// The record up to and with its balloon fields: the version every shell since
// Windows 2000 takes, whatever the headers add after it.
constexpr DWORD kRecordSize = offsetof(NOTIFYICONDATAA, guidItem);
static_assert(sizeof(void*) != 4 || kRecordSize == 488, "the 32-bit record is 488 bytes");

template <std::size_t N, std::size_t M>
void CopyText(char (&to)[N], const std::array<char, M>& from) {
  static_assert(N == M);
  std::memcpy(to, from.data(), N);
}

}  // namespace

bool Win32NotifyArea::ShellNotifyIcon(NotifyCommand command, const NotifyIconData& data) {
  NOTIFYICONDATAA record{};
  record.cbSize = kRecordSize;
  record.hWnd = ToHwnd(data.window);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callback_message;
  record.hIcon = reinterpret_cast<HICON>(data.icon.value);
  CopyText(record.szTip, data.tip);
  record.dwState = data.state;
  record.dwStateMask = data.state_mask;
  CopyText(record.szInfo, data.info);
  record.uVersion = data.timeout_or_version;
  CopyText(record.szInfoTitle, data.info_title);
  record.dwInfoFlags = data.info_flags;
  return Shell_NotifyIconA(static_cast<DWORD>(command), &record) != FALSE;
}

IconHandle Win32NotifyArea::CreateIcon(int width, int height, const std::vector<Color>& pixels,
                                       Color transparent) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
    return IconHandle{};
  }
  std::uint32_t* out = nullptr;
  UniqueBitmap color(CreateSection(width, height, &out));
  if (!color || out == nullptr) return IconHandle{};
  // The AND mask: 1 where what lies under the icon shows, rows padded to 16 bits.
  const int stride = ((width + 15) / 16) * 2;
  std::vector<BYTE> mask(static_cast<std::size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Color c = pixels[static_cast<std::size_t>(y) * width + x];
      const bool clear = c == transparent;
      // DIB pixels are 0x00RRGGBB; ours are 0x00BBGGRR.
      out[static_cast<std::size_t>(y) * width + x] =
          clear ? 0 : ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
      if (clear) mask[static_cast<std::size_t>(y) * stride + x / 8] |= 0x80 >> (x % 8);
    }
  }
  UniqueBitmap and_mask(::CreateBitmap(width, height, 1, 1, mask.data()));
  if (!and_mask) return IconHandle{};
  ICONINFO icon{TRUE, 0, 0, and_mask.get(), color.get()};
  return IconHandle{reinterpret_cast<std::uintptr_t>(CreateIconIndirect(&icon))};
}

void Win32NotifyArea::DestroyIcon(IconHandle icon) {
  UniqueIcon adopted(reinterpret_cast<HICON>(icon.value));  // and let go
}

std::uint32_t Win32NotifyArea::CommonControlsVersion() {
  // version.dll is loaded when the question is first asked, not with the program.
  struct Version {
    decltype(&GetFileVersionInfoSizeA) info_size = nullptr;
    decltype(&GetFileVersionInfoA) info = nullptr;
    decltype(&VerQueryValueA) query = nullptr;
  };
  static const Version version = [] {
    Version loaded;
    if (HMODULE module = LoadLibraryA("version.dll")) {
      loaded.info_size = reinterpret_cast<decltype(&GetFileVersionInfoSizeA)>(
          reinterpret_cast<void*>(GetProcAddress(module, "GetFileVersionInfoSizeA")));
      loaded.info = reinterpret_cast<decltype(&GetFileVersionInfoA)>(
          reinterpret_cast<void*>(GetProcAddress(module, "GetFileVersionInfoA")));
      loaded.query = reinterpret_cast<decltype(&VerQueryValueA)>(
          reinterpret_cast<void*>(GetProcAddress(module, "VerQueryValueA")));
    }
    return loaded;
  }();
  if (version.info_size == nullptr || version.info == nullptr || version.query == nullptr) {
    return 0;
  }
  DWORD ignored = 0;
  const DWORD size = version.info_size("comctl32.dll", &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> block(size);
  if (version.info("comctl32.dll", 0, size, block.data()) == FALSE) return 0;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (version.query(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) == FALSE ||
      fixed == nullptr || length < sizeof *fixed) {
    return 0;
  }
  return fixed->dwFileVersionMS;
}

}  // namespace velocane::win32
