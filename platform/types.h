#pragma once
// Small value types shared by every platform interface. No system headers here:
// the portable core never sees a Windows type.
#include <compare>
#include <cstdint>

namespace velocane {

// Opaque window identity. On Windows it carries an HWND; in the simulation an id.
struct WindowHandle {
  std::uintptr_t value = 0;
  explicit operator bool() const { return value != 0; }
  friend bool operator==(WindowHandle, WindowHandle) = default;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(Point, Point) = default;
};

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(Rect, Rect) = default;
};

// The outcome of a system call that can fail: 0, or the system's error code.
struct [[nodiscard]] SysResult {
  unsigned error = 0;
  bool ok() const { return error == 0; }
};

// 0x00BBGGRR, or 0x800000nn for the system colour with index nn.
using Color = std::uint32_t;

constexpr Color kSystemColorFlag = 0x80000000u;
constexpr Color clNone = 0x1FFFFFFFu;
constexpr Color clBlack = 0x000000u;
constexpr Color clWhite = 0xFFFFFFu;
constexpr Color clLime = 0x00FF00u;
constexpr Color clRed = 0x0000FFu;
constexpr Color clBtnFace = kSystemColorFlag | 15;
constexpr Color clBtnShadow = kSystemColorFlag | 16;
constexpr Color clBtnText = kSystemColorFlag | 18;
constexpr Color clBtnHighlight = kSystemColorFlag | 20;
constexpr Color clWindow = kSystemColorFlag | 5;
constexpr Color clWindowText = kSystemColorFlag | 8;
constexpr Color clGrayText = kSystemColorFlag | 17;
constexpr Color cl3DDkShadow = kSystemColorFlag | 21;

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r & 0xFF) | static_cast<Color>(g & 0xFF) << 8 |
         static_cast<Color>(b & 0xFF) << 16;
}

}  // namespace velocane
