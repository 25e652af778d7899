#pragma once
// The peer of each control kind, one file each; the factory hands them out.
#include <memory>

#include "platform/widgets.h"
#include "platform/win32/win32_common.h"

namespace velocane::win32 {

std::unique_ptr<FormPeer> CreateFormPeer(const FormDesc& desc, ContainerSink& container,
                                         FormSink& form);
std::unique_ptr<WidgetPeer> CreatePanelPeer(const ControlDesc& desc, HWND parent,
                                            ContainerSink& container);
std::unique_ptr<MemoPeer> CreateMemoPeer(const MemoDesc& desc, HWND parent, MemoSink& sink);
std::unique_ptr<ComboBoxPeer> CreateComboBoxPeer(const ComboBoxDesc& desc, HWND parent,
                                                 ComboBoxSink& sink);
std::unique_ptr<ListViewPeer> CreateListViewPeer(const ListViewDesc& desc, HWND parent,
                                                 ListViewSink& sink);
std::unique_ptr<CheckBoxPeer> CreateCheckBoxPeer(const CheckBoxDesc& desc, HWND parent,
                                                 ClickSink& sink);
std::unique_ptr<WidgetPeer> CreateButtonPeer(const ControlDesc& desc, HWND parent, ClickSink& sink);

}  // namespace velocane::win32
