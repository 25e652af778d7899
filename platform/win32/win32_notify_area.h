#pragma once
#include "platform/notify_area.h"

namespace velocane::win32 {

// Shell_NotifyIconA, icons from pixels (CreateIconIndirect), and the common
// controls' version from its file (version.dll).
class Win32NotifyArea : public NotifyArea {
 public:
  bool ShellNotifyIcon(NotifyCommand command, const NotifyIconData& data) override;
  IconHandle CreateIcon(int width, int height, const std::vector<Color>& pixels,
                        Color transparent) override;
  void DestroyIcon(IconHandle icon) override;
  std::uint32_t CommonControlsVersion() override;
};

}  // namespace velocane::win32
