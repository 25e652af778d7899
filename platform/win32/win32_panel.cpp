// Panels: child windows of our own class that host other controls.
#include "platform/win32/win32_container.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

namespace {

constexpr char kPanelClass[] = "TVelocanePanel";

class Win32Panel final : public Win32Container<WidgetPeer> {
 public:
  Win32Panel(const ControlDesc& desc, HWND parent, ContainerSink& sink)
      : Win32Container<WidgetPeer>(desc, sink) {
    if (!EnsureWindowClass(kPanelClass, ContainerProc, CS_DBLCLKS)) ThrowLastError();
    CreateHandle(0, kPanelClass, ChildStyle(desc) | WS_CLIPCHILDREN, parent,
                 WindowRectFor(desc.bounds), true, desc.font);
  }
};

}  // namespace

std::unique_ptr<WidgetPeer> CreatePanelPeer(const ControlDesc& desc, HWND parent,
                                            ContainerSink& container) {
  return std::make_unique<Win32Panel>(desc, parent, container);
}

}  // namespace velocane::win32
