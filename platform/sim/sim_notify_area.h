#pragma once
// A notification area that keeps its icons as the shell does, can refuse
// requests and can restart as Explorer does; icons keep their pixels so a
// test can see which picture is shown.
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/notify_area.h"
#include "platform/sim/sim_windowing.h"

namespace velocane::sim {

class SimNotifyArea : public NotifyArea {
 public:
  explicit SimNotifyArea(SimWindowing& windowing) : windowing_(windowing) {}

  bool ShellNotifyIcon(NotifyCommand command, const NotifyIconData& data) override;
  IconHandle CreateIcon(int width, int height, const std::vector<Color>& pixels,
                        Color transparent) override;
  void DestroyIcon(IconHandle icon) override;
  std::uint32_t CommonControlsVersion() override { return common_controls_version; }

  // Test side.
  struct Shown {
    NotifyIconData data;
    std::uint32_t version = 0;
  };
  // The icon the shell shows for (window, id), if any.
  const Shown* Find(WindowHandle window, std::uint32_t id) const;
  int IconCount() const { return static_cast<int>(icons_.size()); }
  // The pixels of an icon made by CreateIcon (empty once destroyed).
  std::vector<Color> Pixels(IconHandle icon) const;
  int LiveIcons() const { return static_cast<int>(pixels_.size()); }
  // The user's mouse on an icon: its callback with each notification in turn.
  void Notify(WindowHandle window, std::uint32_t id, const std::vector<std::uint32_t>& events);
  // What the user does to an icon, from the keyboard (Win+B, the arrows, then
  // a key) or with the mouse.
  enum class Act {
    kLeftClick,
    kRightClick,
    kKeySelect,          // Space or Enter on the icon the keyboard chose
    kEnterAfterPointer,  // Enter on the icon chosen with the mouse
    kMenuKey,            // Shift+F10 or the menu key on the icon
  };
  // The notifications the shell sends for `act`, by the version the icon
  // asked for: 0 (none) as Windows 95 did, 3 as since Windows 2000. With 3 a
  // button's up is followed by the select or the context menu, as Wine does.
  static std::vector<std::uint32_t> NotificationsFor(Act act, std::uint32_t version);
  // `act` on the icon, told through its callback for the version it asked for.
  void Perform(WindowHandle window, std::uint32_t id, Act act);
  // Explorer ends and comes back: every icon is gone, then "TaskbarCreated" is
  // broadcast to the top-level windows.
  void RestartShell();
  // The shell is not up yet: it refuses every request until Accept().
  void Refuse() { refusing_ = true; }
  void Accept() { refusing_ = false; }
  struct Request {
    NotifyCommand command;
    NotifyIconData data;
    bool accepted;
  };
  const std::vector<Request>& Requests() const { return requests_; }
  std::uint32_t common_controls_version = 0x00050051;  // 5.81, as Wine reports

 private:
  SimWindowing& windowing_;
  std::map<std::pair<std::uintptr_t, std::uint32_t>, Shown> icons_;
  std::map<std::uintptr_t, std::vector<Color>> pixels_;
  std::uintptr_t next_icon_ = 0x5000;
  bool refusing_ = false;
  std::vector<Request> requests_;
};

}  // namespace velocane::sim
