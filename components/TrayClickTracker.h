#pragma once
// What the shell's notifications on an icon amount to: a click, a double
// click, the pointer coming onto the icon and leaving it. It keeps only what
// it has seen and asks nothing of the system: the icon reads the cursor, runs
// the double-click wait and the leave poll, and hands in what they tell.
#include <cstdint>

#include "platform/types.h"

namespace velocane {

// The icon's wishes, and its double-click wait, as a notification comes.
struct TClickContext {
  bool enabled = true;              // false: the mouse is ignored
  bool tells_double_click = false;  // a click waits to be told apart from a double click
  bool waiting = false;             // that wait runs now
  bool tells_enter_exit = false;
  int notify_style = 0;  // 1: the shell sends the notifications of its version 5
};

struct TClickOutcome {
  bool start_wait = false;  // start the double-click wait (again) now
  bool enter = false;
  bool click = false;
  bool double_click = false;
  friend bool operator==(const TClickOutcome&, const TClickOutcome&) = default;
};

class TTrayClickTracker {
 public:
  // One notification; `at` is where the cursor is now.
  TClickOutcome Notify(std::uint32_t notification, const TClickContext& context, Point at);
  // The double-click wait ran out: true when a single click is left to tell.
  bool WaitEnded();
  // The pointer is off the icon, as far as the notifications tell.
  bool PointerGone() const { return pointer_gone_; }
  // The leave poll found the cursor at `at`: true when the pointer has left.
  bool Left(Point at);

 private:
  bool button_down_seen_ = false;
  bool click_ready_ = false;
  bool double_click_seen_ = false;
  bool pointer_gone_ = true;
  Point last_pointer_;
  // The shell follows a left button-up with a select of its own (version 3
  // and later): that select is the same click, not another one.
  bool after_left_up_ = false;
};

}  // namespace velocane
