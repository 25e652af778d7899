#include "app/tray_images.h"

#include <cstdlib>
#include <functional>

namespace velocane {

namespace {

// The shapes are described on the 16 x 16 grid they were designed on; each
// pixel of a picture of any size takes the colour of the shape its centre
// falls in there, so edges stay hard at every size and 16 gives the design.
// A centre is handed over as its place on that grid times the size, a whole
// number, so that centres on an edge fall the same way on both sides.
using Shape = std::function<Color(int x, int y, int size)>;

TPixelImage Draw(int size, const Shape& shape) {
  TPixelImage image{size, size, std::vector<Color>(static_cast<std::size_t>(size) * size, clNone)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      image.pixels[static_cast<std::size_t>(y) * size + x] =
          shape((2 * x + 1) * 8 - 8 * size, (2 * y + 1) * 8 - 8 * size, size);
    }
  }
  return image;
}

// A rounded square with an arrow pointing up: the program speeds things up.
// Places are from the middle of the grid.
TPixelImage ArrowBadge(int size, Color field, Color arrow, Color rim) {
  return Draw(size, [=](int x, int y, int s) {
    const bool side_x = std::abs(x) > 7 * s;
    const bool side_y = std::abs(y) > 7 * s;
    if (side_x && side_y) return clNone;  // the corners are cut
    // The head widens by one pixel each side per row from row 3 to row 8;
    // the shaft, four wide, runs from row 9 to row 12.
    const bool head = y >= -5 * s && y < 1 * s && std::abs(x) < y + 6 * s;
    const bool shaft = y >= 1 * s && y < 5 * s && std::abs(x) < 2 * s;
    if (head || shaft) return arrow;
    return side_x || side_y ? rim : field;
  });
}

}  // namespace

TPixelImage FlagImage(int index, int size) {
  return index == 0 ? ArrowBadge(size, Rgb(24, 150, 56), clWhite, Rgb(8, 72, 24))
                    : ArrowBadge(size, Rgb(200, 32, 32), Rgb(255, 224, 0), Rgb(96, 8, 8));
}

TPixelImage StoredTrayImage(int size) {
  return Draw(size, [](int x, int y, int s) {
    // A disc 15 across: (x / s)^2 + (y / s)^2 <= 7.5^2.
    return 4 * (x * x + y * y) <= 225 * s * s ? Rgb(128, 128, 128) : clNone;
  });
}

}  // namespace velocane
