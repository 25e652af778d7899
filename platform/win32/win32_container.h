#pragma once
// Forms and panels: windows of our own classes that paint their windowless
// children, hand them the mouse, and reflect the notifications of the
// standard controls on them back to those controls' peers.
#include <optional>

#include "platform/win32/win32_control.h"

namespace velocane::win32 {

// The window procedure of every container class.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

// WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR* and deferred messages, answered by the
// control they are about; nothing when they are about none of ours.
std::optional<LRESULT> ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam);

// Paints the client area through the sink, off screen first so nothing flickers.
void PaintContainer(HWND hwnd, Color background, ContainerSink& sink);

// The messages every container answers itself: painting, the mouse, the
// keyboard focus, and what assistive technology asks of its windowless children.
std::optional<LRESULT> ContainerMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                                        Color background, ContainerSink& sink);

template <class Interface>
class Win32Container : public Win32Peer<Interface> {
 public:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wparam, LPARAM lparam) override {
    if (std::optional<LRESULT> reflected = ReflectToChild(msg, wparam, lparam)) return reflected;
    return ContainerMessage(this->hwnd(), msg, wparam, lparam, this->color_, sink_);
  }

 protected:
  Win32Container(const ControlDesc& desc, ContainerSink& sink)
      : Win32Peer<Interface>(desc), sink_(sink) {}

  ContainerSink& sink_;
};

}  // namespace velocane::win32
