#include "app/tray_images.h"

namespace velocane {

namespace {

constexpr int kSize = 16;

TPixelImage Blank() { return TPixelImage{kSize, kSize, std::vector<Color>(kSize * kSize, clNone)}; }

void Put(TPixelImage& image, int x, int y, Color color) {
  if (x >= 0 && y >= 0 && x < image.width && y < image.height) {
    image.pixels[static_cast<std::size_t>(y) * image.width + x] = color;
  }
}

// A rounded square with an arrow pointing up: the program speeds things up.
TPixelImage ArrowBadge(Color field, Color arrow, Color rim) {
  TPixelImage image = Blank();
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool corner = (x == 0 || x == kSize - 1) && (y == 0 || y == kSize - 1);
      if (corner) continue;
      const bool edge = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
      Put(image, x, y, edge ? rim : field);
    }
  }
  // The head: rows 3..8 widen by one pixel each side; the shaft below it.
  for (int row = 0; row < 6; ++row) {
    for (int x = 7 - row; x <= 8 + row; ++x) Put(image, x, 3 + row, arrow);
  }
  for (int y = 9; y <= 12; ++y) {
    for (int x = 6; x <= 9; ++x) Put(image, x, y, arrow);
  }
  return image;
}

}  // namespace

TPixelImage FlagImage(int index) {
  return index == 0 ? ArrowBadge(Rgb(24, 150, 56), clWhite, Rgb(8, 72, 24))
                    : ArrowBadge(Rgb(200, 32, 32), Rgb(255, 224, 0), Rgb(96, 8, 8));
}

TPixelImage StoredTrayImage() {
  TPixelImage image = Blank();
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int dx = 2 * x - 15;
      const int dy = 2 * y - 15;
      if (dx * dx + dy * dy <= 15 * 15) Put(image, x, y, Rgb(128, 128, 128));
    }
  }
  return image;
}

}  // namespace velocane
