#pragma once
// Active Accessibility for the windowless parts of our windows.
#include <optional>

#include "platform/accessibility.h"
#include "platform/win32/windows_clean.h"

namespace velocane::win32 {

class Win32Accessibility : public Accessibility {
 public:
  void Publish(WindowHandle window, AccessibleContent* content) override;
  void Notify(WindowHandle window, AccEvent event, int index) override;
};

// The answer of a window of ours to WM_GETOBJECT: an IAccessible over the
// content published for it when the client area is asked for; nothing when
// none is published (the system's own object then answers).
std::optional<LRESULT> AccessibleObjectFor(HWND hwnd, WPARAM wparam, LPARAM lparam);

}  // namespace velocane::win32
