#include "platform/win32/win32_drawing.h"

#include "platform/win32/handles.h"
#include "platform/win32/win32_common.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_font.h"

namespace velocane::win32 {

HBITMAP CreateSection(int width, int height, std::uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits != nullptr) *bits = static_cast<std::uint32_t*>(pixels);
  return section;
}

namespace {

HDC ToHdc(DcHandle dc) { return reinterpret_cast<HDC>(dc.value); }
HBITMAP ToHbitmap(BitmapHandle bitmap) { return reinterpret_cast<HBITMAP>(bitmap.value); }
HBRUSH ToHbrush(BrushHandle brush) { return reinterpret_cast<HBRUSH>(brush.value); }
BitmapHandle FromHbitmap(HGDIOBJ bitmap) {
  return BitmapHandle{reinterpret_cast<std::uintptr_t>(bitmap)};
}
BrushHandle FromHbrush(HGDIOBJ brush) {
  return BrushHandle{reinterpret_cast<std::uintptr_t>(brush)};
}

// A DC setting changed for one call and put back at the end.
template <int (*Set)(HDC, int)>
class ScopedMode {
 public:
  ScopedMode(HDC dc, int mode) : dc_(dc), old_(Set(dc, mode)) {}
  ~ScopedMode() {
    if (old_ != 0) Set(dc_, old_);
  }
  ScopedMode(const ScopedMode&) = delete;
  ScopedMode& operator=(const ScopedMode&) = delete;

 private:
  HDC dc_;
  int old_;
};
int SetRop2(HDC dc, int mode) { return ::SetROP2(dc, mode); }
int SetBackgroundMode(HDC dc, int mode) { return ::SetBkMode(dc, mode); }
int SetStretchMode(HDC dc, int mode) { return ::SetStretchBltMode(dc, mode); }
int SetFillMode(HDC dc, int mode) { return ::SetPolyFillMode(dc, mode); }
using ScopedRop2 = ScopedMode<SetRop2>;
using ScopedBkMode = ScopedMode<SetBackgroundMode>;
using ScopedStretchMode = ScopedMode<SetStretchMode>;
using ScopedFillMode = ScopedMode<SetFillMode>;

// Calls that fail without setting an error would otherwise report whatever
// code an earlier call left behind.
void ClearLastError() { SetLastError(ERROR_SUCCESS); }

// The system refuses empty sizes without always saying why, and a negative
// height would silently turn a section bottom-up: both are refused up front.
void CheckSize(int width, int height) {
  if (width <= 0 || height <= 0) ThrowOSError(ERROR_INVALID_PARAMETER);
}

// A private pen and brush for one shape; clNone gives the stock null pen or brush.
class ShapeTools {
 public:
  ShapeTools(HDC dc, Color fill, Color outline)
      : brush_(fill == clNone ? nullptr : CreateSolidBrush(ResolveColor(fill))),
        pen_(outline == clNone ? nullptr : CreatePen(PS_SOLID, 1, ResolveColor(outline))),
        select_brush_(dc, brush_ ? static_cast<HGDIOBJ>(brush_.get()) : GetStockObject(NULL_BRUSH)),
        select_pen_(dc, pen_ ? static_cast<HGDIOBJ>(pen_.get()) : GetStockObject(NULL_PEN)),
        rop2_(dc, R2_COPYPEN) {}

 private:
  UniqueBrush brush_;
  UniquePen pen_;
  ScopedSelect select_brush_;
  ScopedSelect select_pen_;
  ScopedRop2 rop2_;
};

int HatchOf(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::bsHorizontal:
      return HS_HORIZONTAL;
    case TBrushStyle::bsVertical:
      return HS_VERTICAL;
    case TBrushStyle::bsFDiagonal:
      return HS_FDIAGONAL;
    case TBrushStyle::bsBDiagonal:
      return HS_BDIAGONAL;
    case TBrushStyle::bsCross:
      return HS_CROSS;
    default:
      return HS_DIAGCROSS;
  }
}

}  // namespace

DcHandle Win32Drawing::CreateMemoryDc() {
  ClearLastError();
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) ThrowLastError();
  return DcHandle{reinterpret_cast<std::uintptr_t>(dc.release())};
}

void Win32Drawing::DeleteDc(DcHandle dc) { UniqueMemoryDc adopted(ToHdc(dc)); }

BitmapHandle Win32Drawing::CreateBitmap(int width, int height) {
  CheckSize(width, height);
  ClearLastError();
  UniqueBitmap bitmap(CreateSection(width, height, nullptr));
  if (!bitmap) ThrowLastError();
  return FromHbitmap(bitmap.release());
}

BitmapHandle Win32Drawing::CreateMonoBitmap(int width, int height) {
  CheckSize(width, height);
  ClearLastError();
  UniqueBitmap bitmap(::CreateBitmap(width, height, 1, 1, nullptr));
  if (!bitmap) ThrowLastError();
  return FromHbitmap(bitmap.release());
}

void Win32Drawing::DeleteBitmap(BitmapHandle bitmap) { UniqueBitmap adopted(ToHbitmap(bitmap)); }

BitmapHandle Win32Drawing::SelectBitmap(DcHandle dc, BitmapHandle bitmap) {
  return FromHbitmap(SelectObject(ToHdc(dc), ToHbitmap(bitmap)));
}

Point Win32Drawing::BitmapSize(BitmapHandle bitmap) {
  BITMAP info{};
  GetObjectA(ToHbitmap(bitmap), sizeof info, &info);
  return Point{info.bmWidth, info.bmHeight};
}

BrushHandle Win32Drawing::CreateBrush(const Brush& brush) {
  if (brush.style == TBrushStyle::bsClear) return FromHbrush(GetStockObject(NULL_BRUSH));
  const COLORREF color = ResolveColor(brush.color);
  ClearLastError();
  UniqueBrush made(brush.style == TBrushStyle::bsSolid
                       ? CreateSolidBrush(color)
                       : CreateHatchBrush(HatchOf(brush.style), color));
  if (!made) ThrowLastError();
  return FromHbrush(made.release());
}

// Deleting the stock null brush is allowed and does nothing.
void Win32Drawing::DeleteBrush(BrushHandle brush) { UniqueBrush adopted(ToHbrush(brush)); }

BrushHandle Win32Drawing::SelectBrush(DcHandle dc, BrushHandle brush) {
  return FromHbrush(SelectObject(ToHdc(dc), ToHbrush(brush)));
}

Point Win32Drawing::SetBrushOrg(DcHandle dc, Point origin) {
  POINT old{};
  SetBrushOrgEx(ToHdc(dc), origin.x, origin.y, &old);
  return Point{old.x, old.y};
}

Color Win32Drawing::GetPixel(DcHandle dc, int x, int y) { return ::GetPixel(ToHdc(dc), x, y); }

void Win32Drawing::SetPixel(DcHandle dc, int x, int y, Color color) {
  SetPixelV(ToHdc(dc), x, y, ResolveColor(color));
}

void Win32Drawing::Line(DcHandle dc, int x0, int y0, int x1, int y1, Color color) {
  HDC hdc = ToHdc(dc);
  UniquePen pen(CreatePen(PS_SOLID, 1, ResolveColor(color)));
  ScopedSelect select(hdc, pen.get());
  ScopedRop2 rop2(hdc, R2_COPYPEN);
  MoveToEx(hdc, x0, y0, nullptr);
  ::LineTo(hdc, x1, y1);
}

void Win32Drawing::Ellipse(DcHandle dc, const Rect& box, Color fill, Color outline) {
  HDC hdc = ToHdc(dc);
  ShapeTools tools(hdc, fill, outline);
  ::Ellipse(hdc, box.left, box.top, box.right, box.bottom);
}

void Win32Drawing::Polygon(DcHandle dc, const std::vector<Point>& points, Color fill,
                           Color outline) {
  HDC hdc = ToHdc(dc);
  std::vector<POINT> pts;
  pts.reserve(points.size());
  for (Point p : points) pts.push_back(POINT{p.x, p.y});
  ShapeTools tools(hdc, fill, outline);
  ScopedFillMode mode(hdc, ALTERNATE);
  ::Polygon(hdc, pts.data(), static_cast<int>(pts.size()));
}

void Win32Drawing::FillRect(DcHandle dc, const Rect& rect, Color color) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  UniqueBrush brush(CreateSolidBrush(ResolveColor(color)));
  ::FillRect(ToHdc(dc), &r, brush.get());
}

void Win32Drawing::PatBlt(DcHandle dc, int x, int y, int width, int height,
                          std::uint32_t raster_op) {
  ::PatBlt(ToHdc(dc), x, y, width, height, raster_op);
}

void Win32Drawing::SetTextColor(DcHandle dc, Color color) {
  ::SetTextColor(ToHdc(dc), ResolveColor(color));
}

void Win32Drawing::SetBkColor(DcHandle dc, Color color) {
  ::SetBkColor(ToHdc(dc), ResolveColor(color));
}

Color Win32Drawing::GetTextColor(DcHandle dc) { return ::GetTextColor(ToHdc(dc)); }

Color Win32Drawing::GetBkColor(DcHandle dc) { return ::GetBkColor(ToHdc(dc)); }

BkMode Win32Drawing::SetBkMode(DcHandle dc, BkMode mode) {
  return static_cast<BkMode>(::SetBkMode(ToHdc(dc), static_cast<int>(mode)));
}

void Win32Drawing::BitBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src, int sx,
                          int sy, std::uint32_t raster_op) {
  ::BitBlt(ToHdc(dst), x, y, width, height, ToHdc(src), sx, sy, raster_op);
}

void Win32Drawing::StretchBlt(DcHandle dst, int x, int y, int width, int height, DcHandle src,
                              int sx, int sy, int src_width, int src_height,
                              std::uint32_t raster_op) {
  ScopedStretchMode mode(ToHdc(dst), BLACKONWHITE);
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
  UniqueFont hfont(CreateFontFor(font));
  ScopedSelect select(hdc, hfont.get());
  ScopedBkMode mode(hdc, TRANSPARENT);
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  std::string copy = text;
  DrawTextExA(hdc, copy.data(), static_cast<int>(copy.size()), &r, flags, nullptr);
}

Point Win32Drawing::TextExtent(DcHandle dc, const std::string& text, const FontDesc& font) {
  HDC hdc = ToHdc(dc);
  UniqueFont hfont(CreateFontFor(font));
  ScopedSelect select(hdc, hfont.get());
  RECT r{0, 0, 0, 0};
  std::string copy = text;
  DrawTextExA(hdc, copy.data(), static_cast<int>(copy.size()), &r, DT_SINGLELINE | DT_CALCRECT,
              nullptr);
  return Point{r.right - r.left, r.bottom - r.top};
}

Color Win32Drawing::SysColor(int index) { return GetSysColor(index); }

}  // namespace velocane::win32
