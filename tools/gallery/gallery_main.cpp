// gallery OUTDIR: renders every scene to OUTDIR/<scene>.png with this build's drawing.
#include <cstdio>
#include <string>

#include "tools/gallery/gallery_drawing.h"
#include "tools/gallery/scenes.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gallery OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  velocane::Drawing& gdi = velocane::gallery::GalleryDrawing();
  int failed = 0;
  for (const velocane::gallery::Scene& scene : velocane::gallery::Scenes()) {
    velocane::gallery::Rendered image(gdi, scene);
    const std::string path = dir + "/" + scene.name + ".png";
    if (!velocane::gallery::WritePng(image, scene, path)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      ++failed;
    }
  }
  std::printf("%s: %zu scenes written to %s\n", velocane::gallery::GalleryBackendName(),
              velocane::gallery::Scenes().size(), dir.c_str());
  return failed == 0 ? 0 : 1;
}
