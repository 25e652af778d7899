#pragma once
// What assistive technology (a screen reader) learns of the parts of a window
// that have no window of their own: each is an element with a role, a name,
// a state and a place, and the window announces their changes. On Windows
// the window answers WM_GETOBJECT for its client area with an IAccessible
// over these elements and raises WinEvents (NotifyWinEvent).
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace velocane {

// Roles, with the values Active Accessibility gives them.
enum class AccRole : std::uint32_t {
  kClient = 0x0A,
  kGraphic = 0x28,
  kStaticText = 0x29,
  kPushButton = 0x2B,
  kProgressBar = 0x30,
};

// State bits, with Active Accessibility's values.
namespace accstate {
constexpr std::uint32_t kNormal = 0;
constexpr std::uint32_t kUnavailable = 0x1;
constexpr std::uint32_t kFocused = 0x4;
constexpr std::uint32_t kPressed = 0x8;
constexpr std::uint32_t kReadOnly = 0x40;
constexpr std::uint32_t kInvisible = 0x8000;
constexpr std::uint32_t kFocusable = 0x100000;
}  // namespace accstate

// One element, as a client asks for it.
struct AccElement {
  AccRole role = AccRole::kStaticText;
  std::string name;   // what is read out; for a button, its caption
  std::string value;  // a progress bar's value ("45%"); empty for none
  std::uint32_t state = accstate::kNormal;
  Rect bounds;                 // in the window's client coordinates
  std::string default_action;  // "Press" for a button; empty for none
  std::string shortcut;        // "Alt+S"; empty for none
  friend bool operator==(const AccElement&, const AccElement&) = default;
};

// Changes a window announces, with WinEvent's values.
enum class AccEvent : std::uint32_t {
  kShow = 0x8002,
  kHide = 0x8003,
  kFocus = 0x8005,
  kStateChange = 0x800A,
  kLocationChange = 0x800B,
  kNameChange = 0x800C,
  kValueChange = 0x800E,
};

// The elements of one window, provided by the program. Indices run from 0;
// a client sees element i as child id i + 1.
class AccessibleContent {
 public:
  virtual ~AccessibleContent() = default;
  virtual int AccChildCount() const = 0;
  virtual AccElement AccChild(int index) const = 0;
  // The element that has the keyboard focus, or -1.
  virtual int AccFocusedChild() const = 0;
  // The element at a point of the client area, or -1.
  virtual int AccChildAt(Point at) const = 0;
  // Performs the element's default action after the client's call has
  // returned (a command may run for seconds or open a modal box); false when
  // it has none or cannot now.
  virtual bool AccDoDefaultAction(int index) = 0;
  // Moves the keyboard focus to the element; false when it cannot take it.
  virtual bool AccFocus(int index) = 0;
};

class Accessibility {
 public:
  virtual ~Accessibility() = default;
  // From now on `window` answers for its client area with `content`; null
  // withdraws it (the window's own answer again; objects handed out before
  // answer "disconnected" from then on).
  virtual void Publish(WindowHandle window, AccessibleContent* content) = 0;
  // Tells listening clients of a change of element `index` of `window`'s
  // client area; -1 for the client area itself.
  virtual void Notify(WindowHandle window, AccEvent event, int index) = 0;
};

}  // namespace velocane
