#include "components/LightTimer.h"

#include <map>
#include <memory>

#include "platform/framework/process_wide.h"
#include "platform/messages.h"

namespace velocane {

// The window every light timer shares, and the timers by key. Each timer
// holds it; it goes, with its window, when the last timer does.
class TLightTimerWindow {
 public:
  explicit TLightTimerWindow(Windowing& windowing) : windowing_(windowing) {
    // A failure leaves the window null, and every timer idle (see StartTimer).
    window_ = windowing
                  .CreateHiddenWindow("TLightTimerHandler", "", true,
                                      [](std::uint32_t msg, std::uintptr_t wparam,
                                         std::intptr_t) -> std::optional<std::intptr_t> {
                                        if (msg != wm::kTimer) return std::nullopt;
                                        TLightTimerHandler::Dispatch(wparam);
                                        return 0;
                                      })
                  .handle;
  }
  ~TLightTimerWindow() {
    if (window_) windowing_.DestroyWindow(window_);
  }
  TLightTimerWindow(const TLightTimerWindow&) = delete;
  TLightTimerWindow& operator=(const TLightTimerWindow&) = delete;

  WindowHandle Handle() const { return window_; }
  std::map<std::uintptr_t, TLightTimer*> timers;

 private:
  Windowing& windowing_;
  WindowHandle window_;
};

namespace {

using SharedTimerWindow = TProcessWide<TLightTimerWindow>;

std::shared_ptr<TLightTimerWindow> AcquireTimerWindow(Windowing& windowing, TLightTimer& timer) {
  std::shared_ptr<TLightTimerWindow> shared =
      SharedTimerWindow::Acquire([&] { return std::make_shared<TLightTimerWindow>(windowing); });
  shared->timers[timer.Key()] = &timer;
  return shared;
}

}  // namespace

bool TLightTimerHandler::Exists() { return SharedTimerWindow::Current() != nullptr; }

void TLightTimerHandler::Dispatch(std::uintptr_t key) {
  TLightTimerWindow* shared = SharedTimerWindow::Current();
  if (shared == nullptr) return;
  const auto it = shared->timers.find(key);
  if (it != shared->timers.end()) it->second->Tick();
}

WindowHandle TLightTimerHandler::Window() {
  const TLightTimerWindow* shared = SharedTimerWindow::Current();
  return shared != nullptr ? shared->Handle() : WindowHandle{};
}

TLightTimer::TLightTimer(Windowing& windowing)
    : windowing_(windowing), window_(AcquireTimerWindow(windowing, *this)) {}

TLightTimer::TLightTimer(Windowing& windowing, unsigned period_ms, TLightTimerEvent handler)
    : windowing_(windowing),
      period_ms_(period_ms),
      handler_(std::move(handler)),
      window_(AcquireTimerWindow(windowing, *this)) {}

TLightTimer::~TLightTimer() {
  if (running_) StopTimer(true);
  window_->timers.erase(Key());
}

void TLightTimer::SetRunning(bool running) {
  if (running) {
    StartTimer();
  } else {
    StopTimer(true);
  }
}

void TLightTimer::SetPeriod(unsigned period_ms) {
  if (period_ms == period_ms_) return;
  period_ms_ = period_ms;
  if (!running_) return;
  if (period_ms_ != 0) {
    StartTimer();
  } else {
    StopTimer(false);
  }
}

void TLightTimer::SetTickHandler(TLightTimerEvent handler) {
  handler_ = std::move(handler);
  if (!handler_ && running_) StopTimer(false);
}

bool TLightTimer::StartTimer() {
  if (period_ms_ == 0) return false;
  if (running_) StopTimer(true);
  // Given no window, the system makes a thread timer under an id of its own:
  // its ticks would name no timer here, and nothing could kill it.
  const WindowHandle window = window_->Handle();
  if (!window || !windowing_.SetTimer(window, Key(), period_ms_).ok()) return false;
  running_ = true;
  return true;
}

bool TLightTimer::StopTimer(bool clear_running) {
  if (clear_running) running_ = false;
  const WindowHandle window = window_->Handle();
  return window && windowing_.KillTimer(window, Key());
}

void TLightTimer::Tick() {
  // A copy: the handler may replace itself.
  const TLightTimerEvent handler = handler_;
  if (handler) handler(*this);
}

}  // namespace velocane
