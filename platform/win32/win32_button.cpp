// Push buttons.
#include "platform/win32/win32_control.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

namespace {

class Win32Button final : public Win32Peer<WidgetPeer> {
 public:
  Win32Button(const ControlDesc& desc, HWND parent, ClickSink& sink)
      : Win32Peer<WidgetPeer>(desc), sink_(sink) {
    CreateHandle(0, "BUTTON", ChildStyle(desc) | WS_TABSTOP | BS_PUSHBUTTON, parent,
                 WindowRectFor(desc.bounds), false, desc.font);
  }

  std::optional<LRESULT> OnCommand(UINT code) override { return ClickCommand(code, sink_); }

 private:
  ClickSink& sink_;
};

}  // namespace

std::unique_ptr<WidgetPeer> CreateButtonPeer(const ControlDesc& desc, HWND parent,
                                             ClickSink& sink) {
  return std::make_unique<Win32Button>(desc, parent, sink);
}

}  // namespace velocane::win32
