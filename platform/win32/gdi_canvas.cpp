#include "platform/win32/gdi_canvas.h"

#include <vector>

#include "platform/win32/win32_platform.h"

namespace velocane::win32 {

namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Selects a GDI object for one drawing call and deletes it afterwards.
class ScopedObject {
 public:
  ScopedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
  ~ScopedObject() {
    SelectObject(dc_, old_);
    DeleteObject(object_);
  }
  ScopedObject(const ScopedObject&) = delete;
  ScopedObject& operator=(const ScopedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ old_;
};

HGDIOBJ BrushFor(Color color) {
  return color == clNone ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(ResolveColor(color));
}

HGDIOBJ PenFor(Color color) {
  return color == clNone ? GetStockObject(NULL_PEN) : CreatePen(PS_SOLID, 1, ResolveColor(color));
}

}  // namespace

HFONT CreateFontFor(const FontDesc& font) {
  return CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
}

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc), original_font_(GetCurrentObject(dc, OBJ_FONT)) {}

GdiCanvas::~GdiCanvas() { SelectObject(dc_, original_font_); }

Drawing& GdiCanvas::Gdi() { return Win32Platform().drawing; }

DcHandle GdiCanvas::Dc() { return DcHandle{reinterpret_cast<std::uintptr_t>(dc_)}; }

void GdiCanvas::FillRect(const Rect& rect, Color color) {
  if (color == clNone) return;
  RECT r = ToRect(rect);
  HBRUSH brush = CreateSolidBrush(ResolveColor(color));
  ::FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void GdiCanvas::Edge(const Rect& rect, bool raised) {
  RECT r = ToRect(rect);
  DrawEdge(dc_, &r, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

void GdiCanvas::Ellipse(const Rect& rect, Color fill, Color outline) {
  ScopedObject brush(dc_, BrushFor(fill));
  ScopedObject pen(dc_, PenFor(outline));
  ::Ellipse(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiCanvas::Polygon(const std::vector<Point>& points, Color fill, Color outline) {
  std::vector<POINT> pts;
  pts.reserve(points.size());
  for (Point p : points) pts.push_back(POINT{p.x, p.y});
  ScopedObject brush(dc_, BrushFor(fill));
  ScopedObject pen(dc_, PenFor(outline));
  ::Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
}

void GdiCanvas::DrawText(const Rect& rect, const std::string& text, const FontDesc& font,
                         unsigned flags) {
  RECT r = ToRect(rect);
  HFONT hfont = CreateFontFor(font);
  HGDIOBJ old = SelectObject(dc_, hfont);
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, ResolveColor(font.color));
  std::string copy = text;
  DrawTextExA(dc_, copy.data(), static_cast<int>(copy.size()), &r, flags, nullptr);
  SelectObject(dc_, old);
  DeleteObject(hfont);
}

}  // namespace velocane::win32
