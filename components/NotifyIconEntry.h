#pragma once
// An icon's entry in the shell's notification area: the record every request
// sends, the add that the shell refused tried again, and the icon made again
// when Explorer restarts. Whether the user wants the icon shown is kept here,
// as the shell may not have it yet, or no longer.
#include <cstdint>
#include <memory>
#include <string>

#include "components/LightTimer.h"
#include "components/NotifyIconHandler.h"
#include "platform/framework/images.h"
#include "platform/notify_area.h"
#include "platform/platform.h"

namespace velocane {

class TNotifyIconEntry {
 public:
  // `restart_listener`: the window that receives "TaskbarCreated";
  // `callback`: what the shell tells of the icon.
  TNotifyIconEntry(Platform& platform, TIcon& picture, WindowHandle restart_listener,
                   TTrayCallback callback);
  ~TNotifyIconEntry();
  TNotifyIconEntry(const TNotifyIconEntry&) = delete;
  TNotifyIconEntry& operator=(const TNotifyIconEntry&) = delete;

  // The identity the shell hands back as the callback's wParam.
  std::uint32_t Id() const { return record_.id; }
  // The record as the next request would send it.
  const NotifyIconData& Record() const { return record_; }
  // The user's wish.
  bool Wanted() const { return wanted_; }

  // The tip of the next requests: `hint`, as much of it as fits, or none.
  void SetTip(const std::string& hint, bool show);
  // The version of the shell's notifications to ask for: at once when the
  // icon is wanted, and after every add, as the shell forgets it with the icon.
  void SetVersion(std::uint32_t version);
  // Asks the shell for that version now.
  bool AskVersion();

  // Each is true when the shell accepted the request.
  bool Show();
  bool Hide();
  bool Update();
  // A message the restart listener received: after "TaskbarCreated" the
  // shell has lost every icon, and a wanted one is added again.
  void ListenerMessage(std::uint32_t msg);

 private:
  bool Request(NotifyCommand command);
  bool Add();
  void ScheduleRetry();
  void Retry();

  Platform& platform_;
  TIcon& picture_;
  std::shared_ptr<TNotifyIconHandler> handler_;
  NotifyIconData record_;
  bool wanted_ = false;
  // While the icon is wanted but the shell has not taken it (not up yet at
  // log-on), the add is tried again now and then.
  std::unique_ptr<TLightTimer> retry_timer_;
  int retries_left_ = 0;
};

}  // namespace velocane
