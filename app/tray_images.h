#pragma once
// The pictures of the tray icon: the two frames of its animation (also the
// language boxes' image list) and the icon it is stored with.
#include "platform/framework/images.h"

namespace velocane {

// 16 x 16: 0 a white arrow up on green, 1 a yellow arrow up on red.
TPixelImage FlagImage(int index);
// 16 x 16: the stored picture of the tray icon, a grey disc.
TPixelImage StoredTrayImage();

}  // namespace velocane
