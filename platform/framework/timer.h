#pragma once
// A window timer: OnTimer every Interval milliseconds while Enabled, delivered
// through the message loop of the user-interface thread.
#include "platform/framework/control.h"
#include "platform/types.h"

namespace velocane {

class TTimer : public TComponent {
 public:
  using TComponent::TComponent;
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);

  const TNotifyEvent& OnTimer() const { return on_timer_; }
  void SetOnTimer(TNotifyEvent handler);

 private:
  void UpdateTimer();
  void Tick();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  WindowHandle window_;  // message-only window that receives WM_TIMER
  bool running_ = false;
  TNotifyEvent on_timer_;
};

}  // namespace velocane
