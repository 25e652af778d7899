#include "platform/framework/images.h"

#include "platform/framework/exceptions.h"

namespace velocane {

void TIcon::Assign(const TPixelImage& picture) {
  FreeHandle();
  picture_ = picture;
  if (OnChange) OnChange();
}

IconHandle TIcon::Handle() {
  if (handle_ || picture_.Empty()) return handle_;
  handle_ = system_.CreateIcon(picture_.width, picture_.height, picture_.pixels, clNone);
  if (!handle_) throw EReadError("The icon picture could not be made");
  return handle_;
}

void TIcon::FreeHandle() {
  if (handle_) system_.DestroyIcon(handle_);
  handle_ = IconHandle{};
}

int TImageList::Add(const TPixelImage& image) {
  if (image.width != width_ || image.height != height_) {
    throw EInvalidOperation("Invalid image size");
  }
  images_.push_back(image);
  return Count() - 1;
}

void TImageList::GetIcon(int index, TIcon& icon) const {
  icon.Assign(index >= 0 && index < Count() ? images_[index] : TPixelImage{});
}

}  // namespace velocane
