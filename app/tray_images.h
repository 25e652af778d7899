#pragma once
// The pictures of the tray icon: the two frames of its animation (also the
// language boxes' image list) and the icon it is stored with.
#include "platform/framework/images.h"

namespace velocane {

// `size` x `size` (16 the picture as designed; other sizes drawn again from
// the same shapes, not stretched): 0 a white arrow up on green, 1 a yellow
// arrow up on red.
TPixelImage FlagImage(int index, int size = 16);
// The stored picture of the tray icon, a grey disc.
TPixelImage StoredTrayImage(int size = 16);

}  // namespace velocane
