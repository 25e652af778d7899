#include "platform/win32/win32_drawing.h"

#include "platform/win32/gdi_canvas.h"
#include "platform/win32/win32_common.h"

namespace velocane::win32 {

namespace {

HDC ToHdc(DcHandle dc) { return reinterpret_cast<HDC>(dc.value); }
HBITMAP ToHbitmap(BitmapHandle bitmap) { return reinterpret_cast<HBITMAP>(bitmap.value); }
BitmapHandle FromHbitmap(HGDIOBJ bitmap) {
  return BitmapHandle{reinterpret_cast<std::uintptr_t>(bitmap)};
}

// A 32-bit top-down section: every pixel holds its colour exactly, as in the simulation.
HBITMAP CreateSection(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

DcHandle Win32Drawing::CreateMemoryDc() {
  return DcHandle{reinterpret_cast<std::uintptr_t>(CreateCompatibleDC(nullptr))};
}

void Win32Drawing::DeleteDc(DcHandle dc) { DeleteDC(ToHdc(dc)); }

BitmapHandle Win32Drawing::CreateBitmap(int width, int height) {
  return FromHbitmap(CreateSection(width, height));
}

BitmapHandle Win32Drawing::CreateMonoBitmap(int width, int height) {
  return FromHbitmap(::CreateBitmap(width, height, 1, 1, nullptr));
}

void Win32Drawing::DeleteBitmap(BitmapHandle bitmap) { DeleteObject(ToHbitmap(bitmap)); }

BitmapHandle Win32Drawing::SelectBitmap(DcHandle dc, BitmapHandle bitmap) {
  return FromHbitmap(SelectObject(ToHdc(dc), ToHbitmap(bitmap)));
}

Point Win32Drawing::BitmapSize(BitmapHandle bitmap) {
  BITMAP info{};
  GetObjectA(ToHbitmap(bitmap), sizeof info, &info);
  return Point{info.bmWidth, info.bmHeight};
}

Color Win32Drawing::GetPixel(DcHandle dc, int x, int y) { return ::GetPixel(ToHdc(dc), x, y); }

void Win32Drawing::SetPixel(DcHandle dc, int x, int y, Color color) {
  SetPixelV(ToHdc(dc), x, y, ResolveColor(color));
}

void Win32Drawing::Line(DcHandle dc, int x0, int y0, int x1, int y1, Color color) {
  HDC hdc = ToHdc(dc);
  HPEN pen = CreatePen(PS_SOLID, 1, ResolveColor(color));
  HGDIOBJ old_pen = SelectObject(hdc, pen);
  const int old_mode = SetROP2(hdc, R2_COPYPEN);
  MoveToEx(hdc, x0, y0, nullptr);
  ::LineTo(hdc, x1, y1);
  SetROP2(hdc, old_mode);
  SelectObject(hdc, old_pen);
  DeleteObject(pen);
}

void Win32Drawing::FillRect(DcHandle dc, const Rect& rect, Color color) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  HBRUSH brush = CreateSolidBrush(ResolveColor(color));
  ::FillRect(ToHdc(dc), &r, brush);
  DeleteObject(brush);
}

void Win32Drawing::PatBlt(DcHandle dc, const Rect& rect, Color brush, std::uint32_t raster_op) {
  HDC hdc = ToHdc(dc);
  HBRUSH solid = CreateSolidBrush(ResolveColor(brush));
  HGDIOBJ old = SelectObject(hdc, solid);
  ::PatBlt(hdc, rect.left, rect.top, rect.Width(), rect.Height(), raster_op);
  SelectObject(hdc, old);
  DeleteObject(solid);
}

void Win32Drawing::SetTextColor(DcHandle dc, Color color) {
  ::SetTextColor(ToHdc(dc), ResolveColor(color));
}

void Win32Drawing::SetBkColor(DcHandle dc, Color color) {
  ::SetBkColor(ToHdc(dc), ResolveColor(color));
}

Color Win32Drawing::GetTextColor(DcHandle dc) { return ::GetTextColor(ToHdc(dc)); }

Color Win32Drawing::GetBkColor(DcHandle dc) { return ::GetBkColor(ToHdc(dc)); }

void Win32Drawing::BitBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                          int sy, std::uint32_t raster_op) {
  ::BitBlt(ToHdc(dst), x, y, width, height, ToHdc(src), sx, sy, raster_op);
}

void Win32Drawing::StretchBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src,
                              int sx, int sy, int src_width, int src_height,
                              std::uint32_t raster_op) {
  ::StretchBlt(ToHdc(dst), x, y, width, height, ToHdc(src), sx, sy, src_width, src_height,
               raster_op);
}

bool Win32Drawing::MaskBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                           int sy, BitmapHandle mask, int mx, int my, std::uint32_t raster_op4) {
  return ::MaskBlt(ToHdc(dst), x, y, width, height, ToHdc(src), sx, sy, ToHbitmap(mask), mx, my,
                   raster_op4) != FALSE;
}

void Win32Drawing::DrawText(DcHandle dc, const std::string& text, const Rect& rect, unsigned flags,
                            const FontDesc& font) {
  HDC hdc = ToHdc(dc);
  HFONT hfont = CreateFontFor(font);
  HGDIOBJ old = SelectObject(hdc, hfont);
  const int old_mode = SetBkMode(hdc, TRANSPARENT);
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  std::string copy = text;
  DrawTextExA(hdc, copy.data(), static_cast<int>(copy.size()), &r, flags, nullptr);
  SetBkMode(hdc, old_mode);
  SelectObject(hdc, old);
  DeleteObject(hfont);
}

Point Win32Drawing::TextExtent(DcHandle dc, const std::string& text, const FontDesc& font) {
  HDC hdc = ToHdc(dc);
  HFONT hfont = CreateFontFor(font);
  HGDIOBJ old = SelectObject(hdc, hfont);
  RECT r{0, 0, 0, 0};
  std::string copy = text;
  DrawTextExA(hdc, copy.data(), static_cast<int>(copy.size()), &r, DT_SINGLELINE | DT_CALCRECT,
              nullptr);
  SelectObject(hdc, old);
  DeleteObject(hfont);
  return Point{r.right - r.left, r.bottom - r.top};
}

Color Win32Drawing::SysColor(int index) { return GetSysColor(index); }

}  // namespace velocane::win32
