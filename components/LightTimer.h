#pragma once
// Light timers: periodic callbacks that need no form and no owner. Every
// light timer of the process shares one hidden message window, made by the
// first timer and destroyed with the last; the system timer's id is the
// timer's own identity, so a tick finds its timer directly.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/windowing.h"

namespace velocane {

class TLightTimer;
class TLightTimerWindow;

using TLightTimerEvent = std::function<void(TLightTimer& sender)>;

class TLightTimer {
 public:
  explicit TLightTimer(Windowing& windowing);
  TLightTimer(Windowing& windowing, unsigned period_ms, TLightTimerEvent handler);
  ~TLightTimer();
  TLightTimer(const TLightTimer&) = delete;
  TLightTimer& operator=(const TLightTimer&) = delete;

  // The timer's identity, used as the system timer's id.
  std::uintptr_t Key() const { return reinterpret_cast<std::uintptr_t>(this); }

  bool Running() const { return running_; }
  void SetRunning(bool running);
  unsigned PeriodMs() const { return period_ms_; }
  // A new period restarts a running timer's countdown; 0 stops the ticks but
  // keeps the wish to run for a later non-zero period.
  void SetPeriod(unsigned period_ms);
  const TLightTimerEvent& TickHandler() const { return handler_; }
  // An empty handler stops the ticks but keeps the wish to run.
  void SetTickHandler(TLightTimerEvent handler);

  // Starts (or restarts) the countdown; false with period 0 or when the
  // system refuses.
  bool StartTimer();
  // Kills the system timer; false when there was none under the key.
  bool StopTimer(bool clear_running);

 private:
  friend class TLightTimerHandler;
  void Tick();

  Windowing& windowing_;
  bool running_ = false;
  unsigned period_ms_ = 1000;
  TLightTimerEvent handler_;
  // Held from construction: the window lives while any timer does.
  std::shared_ptr<TLightTimerWindow> window_;
};

// The window shared by every light timer of the process.
class TLightTimerHandler {
 public:
  // Whether the shared window exists now (it is made by the first timer).
  static bool Exists();
  static WindowHandle Window();
  // A tick of the system timer with this key: the timer's handler, if the key
  // names a living timer that has one.
  static void Dispatch(std::uintptr_t key);
};

}  // namespace velocane
