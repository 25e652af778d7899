#include "app/OBAbout.h"

#include <cmath>

namespace velocane {

namespace {

constexpr Color kTeal = Rgb(0, 128, 128);
constexpr Color kBlue = Rgb(0, 0, 255);

struct Place {
  int left, top, width, height;
};

}  // namespace

TPixelImage ProductPicture(int size) {
  // A teal dial with white ticks and a red needle near the top of its range,
  // drawn for 32 pixels: a larger picture is drawn anew at its size, sharp.
  constexpr double kDesign = 32;
  constexpr double kPi = 3.14159265358979323846;
  TPixelImage picture{size, size,
                      std::vector<Color>(static_cast<std::size_t>(size) * size, clNone)};
  const double centre = (size - 1) / 2.0;
  const double unit = kDesign / size;  // one pixel, in the design's lengths
  const double needle = kPi / 5;       // from the right, counter-clockwise
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = (x - centre) * unit;
      const double dy = (centre - y) * unit;
      const double r = std::hypot(dx, dy);
      const double angle = std::atan2(dy, dx);
      Color c = clNone;
      if (r <= 15.6) c = Rgb(0, 80, 88);
      if (r <= 14.2) c = Rgb(0, 128 + static_cast<int>(dy * 3), 136 + static_cast<int>(dy * 3));
      const double tick = std::fmod(angle + 2 * kPi, kPi / 6);
      if (r >= 9.5 && r <= 12.5 && dy >= -0.5 && (tick < 0.12 || tick > kPi / 6 - 0.12)) {
        c = clWhite;
      }
      // Distance from the needle's line, on its side of the hub.
      const double along = dx * std::cos(needle) + dy * std::sin(needle);
      const double across = std::abs(-dx * std::sin(needle) + dy * std::cos(needle));
      if (along >= 0 && along <= 12 && across <= 1.1) c = Rgb(232, 40, 40);
      if (r <= 2.6) c = Rgb(240, 240, 240);
      picture.pixels[static_cast<std::size_t>(y) * size + x] = c;
    }
  }
  return picture;
}

TAbout::TAbout(TComponent* owner) : TForm(owner, "About") {
  SetCaption("About");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetClientSize(288, 286);
  SetPosition(TPosition::poMainFormCenter);
  SetColor(clBtnFace);
  SetFont(FontDesc{"MS Sans Serif", 11, false, clWindowText});
  Icon().Assign(ProductPicture());

  const auto label = [this](const char* name, Place place, const char* caption,
                            const FontDesc& font) {
    auto* made = new TLabel(this, name);
    made->SetBounds(place.left, place.top, place.width, place.height);
    made->SetCaption(caption);
    made->SetFont(font);
    made->SetParent(this);
    return made;
  };
  const FontDesc notice{"MS Sans Serif", 11, true, kTeal};
  Label1 = label("Label1", {68, 9, 164, 28}, "Velocane", {"Century Gothic", 24, true, kTeal});
  Image1 = new TImage(this, "Image1");
  Image1->SetBounds(13, 10, 33, 65);
  Image1->SetPicture(ProductPicture(Scaled(32)));
  Image1->SetParent(this);
  Label2 = label("Label2", {248, 56, 22, 13}, "(TM)", {"MS Sans Serif", 11, false, kBlue});
  Label4 = label("Label4", {18, 40, 265, 16}, "for Windows 9/8/7/Vista/XP/2003/2008/2012",
                 {"Arial", 13, true, kTeal});
  Bevel1 = new TBevel(this, "Bevel1");
  Bevel1->SetBounds(4, 6, 281, 75);
  Bevel1->SetParent(this);
  Label6 = label("Label6", {40, 250, 203, 13}, "Made by the Velocane developers", notice);
  Label7 = label("Label7", {56, 267, 176, 13}, "All rights reserved.", notice);
  Label8 = label("Label8", {18, 174, 144, 13}, "Version 3.12 (Build 1680)", notice);
  Label9 = label("Label9", {18, 194, 249, 13}, "Technical Support: help@velocane.example", notice);
  Button1 = new TButton(this, "Button1");
  Button1->SetBounds(112, 219, 65, 25);
  Button1->SetCaption("OK");
  Button1->SetFont(FontDesc{"MS Sans Serif", 11, true, clWindowText});
  Button1->SetModalResult(mrOk);
  Button1->SetParent(this);
  // At another DPI the picture is drawn again at its new size.
  OnDpiChanged = [this](TComponent&) { Image1->SetPicture(ProductPicture(Scaled(32))); };
}

}  // namespace velocane
