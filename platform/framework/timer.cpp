#include "platform/framework/timer.h"

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/messages.h"

namespace velocane {

namespace {
constexpr std::uintptr_t kTimerId = 1;
}

TTimer::~TTimer() {
  if (!window_) return;
  Windowing& windowing = Application()->Platform().windowing;
  if (running_) windowing.KillTimer(window_, kTimerId);
  windowing.DestroyWindow(window_);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  TApplication* app = Application();
  if (app == nullptr) return;
  Windowing& windowing = app->Platform().windowing;
  if (running_) {
    windowing.KillTimer(window_, kTimerId);
    running_ = false;
  }
  if (!enabled_ || interval_ == 0 || !on_timer_) return;
  if (!window_) {
    CreateWindowResult created =
        windowing.CreateHiddenWindow("TVelocaneTimer", "", true,
                                     [this](std::uint32_t msg, std::uintptr_t wparam,
                                            std::intptr_t) -> std::optional<std::intptr_t> {
                                       if (msg != wm::kTimer || wparam != kTimerId)
                                         return std::nullopt;
                                       Tick();
                                       return 0;
                                     });
    if (!created.handle) {
      throw EOSError(created.error, app->Platform().process.SystemErrorText(created.error));
    }
    window_ = created.handle;
  }
  if (const SysResult set = windowing.SetTimer(window_, kTimerId, interval_); !set.ok()) {
    throw EOSError(set.error, app->Platform().process.SystemErrorText(set.error));
  }
  running_ = true;
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  on_timer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Tick() {
  if (!on_timer_) return;
  Application()->Guard([this] { on_timer_(*this); });
}

}  // namespace velocane
