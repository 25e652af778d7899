#include "app/button_glyphs.h"

namespace velocane {

namespace {

// Disabled pictures are drawn in grey, as the system greys a disabled button.
Color Tint(Color color, bool enabled) { return enabled ? color : Rgb(160, 160, 160); }

constexpr Color kOutline = Rgb(32, 32, 48);

}  // namespace

void StopGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // A red octagon with a white bar.
  const int l = a.left + 2, t = a.top + 2, r = a.right - 2, b = a.bottom - 2, c = 8;
  canvas.Polygon({{l + c, t},
                  {r - c, t},
                  {r, t + c},
                  {r, b - c},
                  {r - c, b},
                  {l + c, b},
                  {l, b - c},
                  {l, t + c}},
                 Tint(Rgb(208, 32, 32), enabled), kOutline);
  canvas.FillRect(Rect{l + 6, a.top + 14, r - 6, a.top + 19}, clWhite);
}

void AccelerateGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // Two green arrows pointing right.
  const Color fill = Tint(Rgb(40, 176, 64), enabled);
  const int m = a.top + a.Height() / 2;
  canvas.Polygon({{a.left + 2, a.top + 4}, {a.left + 16, m}, {a.left + 2, a.bottom - 4}}, fill,
                 kOutline);
  canvas.Polygon({{a.left + 15, a.top + 4}, {a.left + 29, m}, {a.left + 15, a.bottom - 4}}, fill,
                 kOutline);
}

void ViewGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // A small window with a list in it.
  canvas.FillRect(Rect{a.left + 2, a.top + 4, a.right - 2, a.bottom - 4}, kOutline);
  canvas.FillRect(Rect{a.left + 3, a.top + 5, a.right - 3, a.top + 10},
                  Tint(Rgb(32, 64, 192), enabled));
  canvas.FillRect(Rect{a.left + 3, a.top + 10, a.right - 3, a.bottom - 5}, clWhite);
  for (int y = a.top + 13; y < a.bottom - 7; y += 4) {
    canvas.FillRect(Rect{a.left + 6, y, a.right - 6, y + 2}, Tint(Rgb(96, 96, 96), enabled));
  }
}

void MinimizeGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // An arrow down onto a bar: into the notification area.
  const Color fill = Tint(Rgb(224, 160, 32), enabled);
  const int m = a.left + a.Width() / 2;
  canvas.Polygon({{m - 5, a.top + 3},
                  {m + 5, a.top + 3},
                  {m + 5, a.top + 13},
                  {m + 11, a.top + 13},
                  {m, a.top + 24},
                  {m - 11, a.top + 13},
                  {m - 5, a.top + 13}},
                 fill, kOutline);
  canvas.FillRect(Rect{a.left + 3, a.bottom - 5, a.right - 3, a.bottom - 1}, kOutline);
}

void AboutGlyph(Canvas& canvas, const Rect& a, bool enabled) {
  // A blue disc with an "i".
  canvas.Ellipse(Rect{a.left + 2, a.top + 2, a.right - 2, a.bottom - 2},
                 Tint(Rgb(48, 96, 208), enabled), kOutline);
  const int m = a.left + a.Width() / 2;
  canvas.FillRect(Rect{m - 2, a.top + 8, m + 2, a.top + 12}, clWhite);
  canvas.FillRect(Rect{m - 2, a.top + 14, m + 2, a.bottom - 8}, clWhite);
}

}  // namespace velocane
