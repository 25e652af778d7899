#include "components/TrayClickTracker.h"

#include "platform/messages.h"
#include "platform/notify_area.h"

namespace velocane {

TClickOutcome TTrayClickTracker::Notify(std::uint32_t notification, const TClickContext& context,
                                        Point at) {
  // Followed also while the mouse is ignored, so a select after an ignored
  // button-up is not taken for a key.
  const bool after_left_up = after_left_up_;
  if (notification != wm::kMouseMove) after_left_up_ = notification == wm::kLButtonUp;
  TClickOutcome outcome;
  if (!context.enabled) return outcome;
  switch (notification) {
    case wm::kMouseMove:
      if (context.tells_enter_exit && pointer_gone_) {
        outcome.enter = true;
        pointer_gone_ = false;
      }
      last_pointer_ = at;
      break;
    case wm::kLButtonDown:
      outcome.start_wait = context.tells_double_click;
      button_down_seen_ = true;
      break;
    case wm::kLButtonUp:
      if (button_down_seen_) {
        // Without a wait running the click is told at once.
        click_ready_ = context.waiting;
        outcome.click = !context.waiting;
      }
      button_down_seen_ = false;
      break;
    case wm::kLButtonDblClk:
      click_ready_ = false;
      double_click_seen_ = true;
      outcome.double_click = true;
      break;
    case nin::kKeySelect:
      outcome.click = context.notify_style == 1;
      break;
    case nin::kSelect:
      outcome.click = context.notify_style == 1 && !after_left_up;
      break;
    default:
      break;
  }
  return outcome;
}

bool TTrayClickTracker::WaitEnded() {
  const bool click = !double_click_seen_ && click_ready_;
  if (click) click_ready_ = false;
  double_click_seen_ = false;
  return click;
}

bool TTrayClickTracker::Left(Point at) {
  if (pointer_gone_ || at == last_pointer_) return false;
  pointer_gone_ = true;
  return true;
}

}  // namespace velocane
