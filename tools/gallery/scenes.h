#pragma once
// The gallery's scenes: the drawing components on small surfaces, each first
// filled with the panel colour. The gallery writes them as PNG files; a test
// renders them on the simulation and on the real GDI and compares.
#include <functional>
#include <string>
#include <vector>

#include "app/appearance.h"
#include "components/vex/vexenhancedclass.h"

namespace velocane::gallery {

struct Scene {
  std::string name;  // the file name without ".png"
  int width;
  int height;
  std::function<void(TVexDc)> draw;
  // Where text is drawn (font engines differ): left out of comparisons.
  std::function<std::vector<Rect>(Drawing&, DcHandle)> text_boxes;
};

std::vector<Scene> Scenes();

// A surface of a scene's size, filled with the panel colour and drawn.
class Rendered {
 public:
  Rendered(Drawing& gdi, const Scene& scene);
  Rendered(const Rendered&) = delete;
  Rendered& operator=(const Rendered&) = delete;
  DcHandle Dc() const { return surface_.Dc(); }
  Color At(int x, int y) const { return gdi_.GetPixel(surface_.Dc(), x, y); }

 private:
  Drawing& gdi_;
  TMemoryDc surface_;
};

// Writes a rendered scene as a PNG file; false when the file cannot be written.
bool WritePng(const Rendered& image, const Scene& scene, const std::string& path);

}  // namespace velocane::gallery
