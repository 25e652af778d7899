#include "components/LightTimer.h"

#include <map>

#include "platform/messages.h"

namespace velocane {

namespace {

// The shared window: the number of living timers, its handle, and the timers
// by key.
struct SharedWindow {
  Windowing* windowing = nullptr;
  std::uint32_t count = 0;
  WindowHandle window;
  std::map<std::uintptr_t, TLightTimer*> timers;
};

SharedWindow* shared = nullptr;

void AcquireTimerWindow(Windowing& windowing, TLightTimer& timer) {
  if (shared == nullptr) {
    shared = new SharedWindow{&windowing, 0, {}, {}};
    // A failure leaves the window null, and every timer idle (see StartTimer).
    shared->window = windowing
                         .CreateHiddenWindow("TLightTimerHandler", "", true,
                                             [](std::uint32_t msg, std::uintptr_t wparam,
                                                std::intptr_t) -> std::optional<std::intptr_t> {
                                               if (msg != wm::kTimer) return std::nullopt;
                                               TLightTimerHandler::Dispatch(wparam);
                                               return 0;
                                             })
                         .handle;
  }
  ++shared->count;
  shared->timers[timer.Key()] = &timer;
}

void ReleaseTimerWindow(TLightTimer& timer) {
  if (shared == nullptr) return;
  shared->timers.erase(timer.Key());
  if (shared->count > 0) --shared->count;
  if (shared->count > 0) return;
  SharedWindow* gone = shared;
  shared = nullptr;
  if (gone->window) gone->windowing->DestroyWindow(gone->window);
  delete gone;
}

}  // namespace

bool TLightTimerHandler::Exists() { return shared != nullptr; }

void TLightTimerHandler::Dispatch(std::uintptr_t key) {
  if (shared == nullptr) return;
  const auto it = shared->timers.find(key);
  if (it != shared->timers.end()) it->second->Tick();
}

WindowHandle TLightTimerHandler::Window() {
  return shared != nullptr ? shared->window : WindowHandle{};
}

TLightTimer::TLightTimer(Windowing& windowing) : windowing_(windowing) {
  AcquireTimerWindow(windowing_, *this);
}

TLightTimer::TLightTimer(Windowing& windowing, unsigned period_ms, TLightTimerEvent handler)
    : windowing_(windowing), period_ms_(period_ms), handler_(std::move(handler)) {
  AcquireTimerWindow(windowing_, *this);
}

TLightTimer::~TLightTimer() {
  if (running_) StopTimer(true);
  ReleaseTimerWindow(*this);
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
  const WindowHandle window = TLightTimerHandler::Window();
  if (!window || !windowing_.SetTimer(window, Key(), period_ms_).ok()) return false;
  running_ = true;
  return true;
}

bool TLightTimer::StopTimer(bool clear_running) {
  if (clear_running) running_ = false;
  const WindowHandle window = TLightTimerHandler::Window();
  return window && windowing_.KillTimer(window, Key());
}

void TLightTimer::Tick() {
  // A copy: the handler may replace itself.
  const TLightTimerEvent handler = handler_;
  if (handler) handler(*this);
}

}  // namespace velocane
