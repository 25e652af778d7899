#pragma once
// Pictures held in memory, icons made from them for the system, and image
// lists of equal-sized pictures.
#include <functional>
#include <vector>

#include "platform/framework/component.h"
#include "platform/notify_area.h"
#include "platform/types.h"

namespace velocane {

// Pixels 0x00BBGGRR, row by row from the top; clNone is a transparent pixel.
struct TPixelImage {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;
  bool Empty() const { return width <= 0 || height <= 0; }
  Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  friend bool operator==(const TPixelImage&, const TPixelImage&) = default;
};

// An icon picture; the system's icon is made from it when first asked for and
// freed with it.
class TIcon {
 public:
  explicit TIcon(NotifyArea& system) : system_(system) {}
  ~TIcon() { FreeHandle(); }
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  const TPixelImage& Picture() const { return picture_; }
  bool Empty() const { return picture_.Empty(); }
  // Takes a copy of the picture and tells OnChange.
  void Assign(const TPixelImage& picture);
  // The system's icon; null for an empty picture. Raises EReadError when the
  // system cannot make one.
  IconHandle Handle();

  // Called after every change of the picture.
  std::function<void()> OnChange;

 private:
  void FreeHandle();

  NotifyArea& system_;
  TPixelImage picture_;
  IconHandle handle_;
};

class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, std::string name, int width = 16, int height = 16)
      : TComponent(owner, std::move(name)), width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }
  // Adds a picture of the list's size; returns its index.
  int Add(const TPixelImage& image);
  const TPixelImage& Image(int index) const { return images_.at(index); }
  // Loads picture `index` into the icon; an index outside the list gives an
  // empty picture.
  void GetIcon(int index, TIcon& icon) const;

 private:
  int width_;
  int height_;
  std::vector<TPixelImage> images_;
};

}  // namespace velocane
