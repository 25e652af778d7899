#include "app/button_glyphs.h"

#include "platform/framework/rounding.h"

namespace velocane {

namespace {

// Disabled pictures are drawn in grey, as the system greys a disabled button.
Color Tint(Color color, bool enabled) { return enabled ? color : Rgb(160, 160, 160); }

constexpr Color kOutline = Rgb(32, 32, 48);

// The pictures are drawn for a 32-pixel square; a larger square (a higher
// DPI) scales every length with it, so they stay sharp.
struct Scale {
  int size;
  int operator()(int length) const { return MulDiv(length, size, 32); }
};

}  // namespace

void StopGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // A red octagon with a white bar.
  const Scale s{a.Width()};
  const int l = a.left + s(2), t = a.top + s(2), r = a.right - s(2), b = a.bottom - s(2), c = s(8);
  canvas.Polygon({{l + c, t},
                  {r - c, t},
                  {r, t + c},
                  {r, b - c},
                  {r - c, b},
                  {l + c, b},
                  {l, b - c},
                  {l, t + c}},
                 Tint(Rgb(208, 32, 32), enabled), kOutline);
  canvas.FillRect(Rect{l + s(6), a.top + s(14), r - s(6), a.top + s(19)}, clWhite);
}

void AccelerateGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // Two green arrows pointing right.
  const Scale s{a.Width()};
  const Color fill = Tint(Rgb(40, 176, 64), enabled);
  const int m = a.top + a.Height() / 2;
  canvas.Polygon(
      {{a.left + s(2), a.top + s(4)}, {a.left + s(16), m}, {a.left + s(2), a.bottom - s(4)}}, fill,
      kOutline);
  canvas.Polygon(
      {{a.left + s(15), a.top + s(4)}, {a.left + s(29), m}, {a.left + s(15), a.bottom - s(4)}},
      fill, kOutline);
}

void ViewGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // A small window with a list in it.
  const Scale s{a.Width()};
  canvas.FillRect(Rect{a.left + s(2), a.top + s(4), a.right - s(2), a.bottom - s(4)}, kOutline);
  canvas.FillRect(Rect{a.left + s(3), a.top + s(5), a.right - s(3), a.top + s(10)},
                  Tint(Rgb(32, 64, 192), enabled));
  canvas.FillRect(Rect{a.left + s(3), a.top + s(10), a.right - s(3), a.bottom - s(5)}, clWhite);
  for (int y = a.top + s(13); y < a.bottom - s(7); y += s(4)) {
    canvas.FillRect(Rect{a.left + s(6), y, a.right - s(6), y + s(2)},
                    Tint(Rgb(96, 96, 96), enabled));
  }
}

void MinimizeGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // An arrow down onto a bar: into the notification area.
  const Scale s{a.Width()};
  const Color fill = Tint(Rgb(224, 160, 32), enabled);
  const int m = a.left + a.Width() / 2;
  canvas.Polygon({{m - s(5), a.top + s(3)},
                  {m + s(5), a.top + s(3)},
                  {m + s(5), a.top + s(13)},
                  {m + s(11), a.top + s(13)},
                  {m, a.top + s(24)},
                  {m - s(11), a.top + s(13)},
                  {m - s(5), a.top + s(13)}},
                 fill, kOutline);
  canvas.FillRect(Rect{a.left + s(3), a.bottom - s(5), a.right - s(3), a.bottom - s(1)}, kOutline);
}

void AboutGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // A blue disc with an "i".
  const Scale s{a.Width()};
  canvas.Ellipse(Rect{a.left + s(2), a.top + s(2), a.right - s(2), a.bottom - s(2)},
                 Tint(Rgb(48, 96, 208), enabled), kOutline);
  const int m = a.left + a.Width() / 2;
  canvas.FillRect(Rect{m - s(2), a.top + s(8), m + s(2), a.top + s(12)}, clWhite);
  canvas.FillRect(Rect{m - s(2), a.top + s(14), m + s(2), a.bottom - s(8)}, clWhite);
}

}  // namespace velocane
