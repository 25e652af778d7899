#include "tools/gallery/scenes.h"

#include "tools/gallery/scene_sets.h"

// stb is a C library of headers; its implementation lives in this file only.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace velocane::gallery {

Rect CaptionBox(Drawing& gdi, DcHandle dc, const Rect& area, const std::string& text,
                const FontDesc& font, int spread) {
  const Point e = gdi.TextExtent(dc, text, font);
  const int left = area.left + (area.Width() - e.x) / 2;
  const int top = area.top + (area.Height() - e.y) / 2;
  return Rect{left - spread, top - spread, left + e.x + spread, top + e.y + spread};
}

std::vector<Scene> Scenes() {
  std::vector<Scene> scenes;
  for (auto set : {ComponentScenes, ShapeScenes, BackgroundScenes}) {
    for (Scene& scene : set()) scenes.push_back(std::move(scene));
  }
  return scenes;
}

Rendered::Rendered(Drawing& gdi, const Scene& scene)
    : gdi_(gdi), surface_(gdi, scene.width, scene.height) {
  gdi_.FillRect(surface_.Dc(), Rect{0, 0, scene.width, scene.height}, kSlate);
  scene.draw(surface_.Target());
}

bool WritePng(const Rendered& image, const Scene& scene, const std::string& path) {
  std::vector<unsigned char> rgb(static_cast<std::size_t>(scene.width) * scene.height * 3);
  for (int y = 0; y < scene.height; ++y) {
    for (int x = 0; x < scene.width; ++x) {
      const Color c = image.At(x, y);
      unsigned char* p = &rgb[(static_cast<std::size_t>(y) * scene.width + x) * 3];
      p[0] = static_cast<unsigned char>(c & 0xFF);
      p[1] = static_cast<unsigned char>((c >> 8) & 0xFF);
      p[2] = static_cast<unsigned char>((c >> 16) & 0xFF);
    }
  }
  return stbi_write_png(path.c_str(), scene.width, scene.height, 3, rgb.data(), scene.width * 3) !=
         0;
}

}  // namespace velocane::gallery
