// Check boxes: BUTTON controls that toggle themselves when clicked.
#include "platform/win32/win32_control.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

namespace {

class Win32CheckBox final : public Win32Peer<CheckBoxPeer> {
 public:
  Win32CheckBox(const CheckBoxDesc& desc, HWND parent, ClickSink& sink)
      : Win32Peer<CheckBoxPeer>(desc.control), sink_(sink) {
    CreateHandle(0, "BUTTON", ChildStyle(desc.control) | WS_TABSTOP | BS_AUTOCHECKBOX, parent,
                 WindowRectFor(desc.control.bounds), false, desc.control.font);
    SetChecked(desc.checked);
  }

  void SetChecked(bool checked) override {
    SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  std::optional<LRESULT> OnCommand(UINT code) override { return ClickCommand(code, sink_); }

 private:
  ClickSink& sink_;
};

}  // namespace

std::unique_ptr<CheckBoxPeer> CreateCheckBoxPeer(const CheckBoxDesc& desc, HWND parent,
                                                 ClickSink& sink) {
  return std::make_unique<Win32CheckBox>(desc, parent, sink);
}

}  // namespace velocane::win32
