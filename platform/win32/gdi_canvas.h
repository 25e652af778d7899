#pragma once
// The Canvas interface over a GDI device context.
#include <map>

#include "platform/canvas.h"
#include "platform/drawing.h"
#include "platform/win32/win32_common.h"

namespace velocane::win32 {

class GdiCanvas : public Canvas {
 public:
  explicit GdiCanvas(HDC dc);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void FillRect(const Rect& rect, Color color) override;
  void Edge(const Rect& rect, bool raised) override;
  void Ellipse(const Rect& rect, Color fill, Color outline) override;
  void Polygon(const std::vector<Point>& points, Color fill, Color outline) override;
  void DrawText(const Rect& rect, const std::string& text, const FontDesc& font,
                unsigned flags) override;
  Drawing& Gdi() override;
  DcHandle Dc() override;

 private:
  HDC dc_;
  HGDIOBJ original_font_;
};

// A font for the description; the caller deletes it with DeleteObject.
HFONT CreateFontFor(const FontDesc& font);

}  // namespace velocane::win32
