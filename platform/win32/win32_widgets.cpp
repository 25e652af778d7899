#include "platform/win32/win32_widgets.h"

#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

int Win32Widgets::SystemDpi() { return win32::SystemDpi(); }

int Win32Widgets::SmallIconSize() { return GetSystemMetrics(SM_CXSMICON); }

namespace {

// The list view lives in the common controls, which are registered once.
void EnsureCommonControls() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                              ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)registered;
}

HWND ParentWindow(WidgetPeer& parent) { return ToHwnd(parent.Handle()); }

}  // namespace

std::unique_ptr<FormPeer> Win32Widgets::CreateForm(const FormDesc& desc, ContainerSink& container,
                                                   FormSink& form) {
  EnsureCommonControls();
  return CreateFormPeer(desc, container, form);
}

std::unique_ptr<WidgetPeer> Win32Widgets::CreatePanel(const ControlDesc& desc, WidgetPeer& parent,
                                                      ContainerSink& container) {
  return CreatePanelPeer(desc, ParentWindow(parent), container);
}

std::unique_ptr<MemoPeer> Win32Widgets::CreateMemo(const MemoDesc& desc, WidgetPeer& parent,
                                                   MemoSink& sink) {
  return CreateMemoPeer(desc, ParentWindow(parent), sink);
}

std::unique_ptr<ComboBoxPeer> Win32Widgets::CreateComboBox(const ComboBoxDesc& desc,
                                                           WidgetPeer& parent, ComboBoxSink& sink) {
  return CreateComboBoxPeer(desc, ParentWindow(parent), sink);
}

std::unique_ptr<ListViewPeer> Win32Widgets::CreateListView(const ListViewDesc& desc,
                                                           WidgetPeer& parent, ListViewSink& sink) {
  EnsureCommonControls();
  return CreateListViewPeer(desc, ParentWindow(parent), sink);
}

std::unique_ptr<CheckBoxPeer> Win32Widgets::CreateCheckBox(const CheckBoxDesc& desc,
                                                           WidgetPeer& parent, ClickSink& sink) {
  return CreateCheckBoxPeer(desc, ParentWindow(parent), sink);
}

std::unique_ptr<WidgetPeer> Win32Widgets::CreateButton(const ControlDesc& desc, WidgetPeer& parent,
                                                       ClickSink& sink) {
  return CreateButtonPeer(desc, ParentWindow(parent), sink);
}

}  // namespace velocane::win32
