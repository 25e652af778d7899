#pragma once
#include "platform/widgets.h"

namespace velocane::win32 {

// Hands out the peer of each control kind (win32_<kind>.cpp).
class Win32Widgets : public WidgetFactory {
 public:
  int SystemDpi() override;
  int SmallIconSize() override;
  std::unique_ptr<FormPeer> CreateForm(const FormDesc& desc, ContainerSink& container,
                                       FormSink& form) override;
  std::unique_ptr<WidgetPeer> CreatePanel(const ControlDesc& desc, WidgetPeer& parent,
                                          ContainerSink& container) override;
  std::unique_ptr<MemoPeer> CreateMemo(const MemoDesc& desc, WidgetPeer& parent,
                                       MemoSink& sink) override;
  std::unique_ptr<ComboBoxPeer> CreateComboBox(const ComboBoxDesc& desc, WidgetPeer& parent,
                                               ComboBoxSink& sink) override;
  std::unique_ptr<ListViewPeer> CreateListView(const ListViewDesc& desc, WidgetPeer& parent,
                                               ListViewSink& sink) override;
  std::unique_ptr<CheckBoxPeer> CreateCheckBox(const CheckBoxDesc& desc, WidgetPeer& parent,
                                               ClickSink& sink) override;
  std::unique_ptr<WidgetPeer> CreateButton(const ControlDesc& desc, WidgetPeer& parent,
                                           ClickSink& sink) override;
};

}  // namespace velocane::win32
