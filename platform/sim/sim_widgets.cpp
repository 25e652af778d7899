#include "platform/sim/sim_widgets.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/sim/sim_errors.h"

namespace velocane::sim {

SimWindow::SimWindow(SimWidgets& widgets, const ControlDesc& desc, WindowHandle handle,
                     bool top_level)
    : control(desc), widgets_(widgets), handle_(handle), top_level_(top_level) {
  ++widgets_.live_;
  widgets_.windows_[handle_.value] = this;
}

SimWindow::~SimWindow() {
  if (surface_) {
    widgets_.drawing_.DeleteDc(surface_);
    widgets_.drawing_.DeleteBitmap(surface_bitmap_);
  }
  widgets_.windowing_.DestroyWindow(handle_);
  widgets_.Unstack(handle_);
  if (widgets_.Focus() == handle_) widgets_.windowing_.SetFocusedWindow(WindowHandle{});
  widgets_.windows_.erase(handle_.value);
  --widgets_.live_;
}

DcHandle SimWindow::Surface() {
  const Point size{control.bounds.Width(), control.bounds.Height()};
  // A window without area has nothing to draw on, as GetDC gives nothing visible.
  if (size.x <= 0 || size.y <= 0) return DcHandle{};
  if (surface_ && size != surface_size_) {
    widgets_.drawing_.DeleteDc(surface_);
    widgets_.drawing_.DeleteBitmap(surface_bitmap_);
    surface_ = DcHandle{};
  }
  if (!surface_) {
    surface_ = widgets_.drawing_.CreateMemoryDc();
    surface_bitmap_ = widgets_.drawing_.CreateBitmap(size.x, size.y);
    widgets_.drawing_.SelectBitmap(surface_, surface_bitmap_);
    surface_size_ = size;
  }
  return surface_;
}

void SimWindow::ApplyVisible(bool visible) {
  control.visible = visible;
  if (!top_level_) return;
  widgets_.windowing_.ShowWindow(handle_, visible ? showcmd::kShow : showcmd::kHide);
  // A window shown is activated, and the keyboard goes to it, as with the system's.
  if (visible) ApplyFocus();
}

void SimWindow::ApplyText(const std::string& text) {
  control.text = text;
  if (top_level_) widgets_.windowing_.SetWindowText(handle_, text);
}

bool SimWindow::ApplyFocus() {
  if (!control.visible || !control.enabled) return false;
  const WindowHandle previous = widgets_.Focus();
  if (previous == handle_) return true;
  widgets_.windowing_.SetFocusedWindow(handle_);
  // As WM_KILLFOCUS and WM_SETFOCUS tell the two windows.
  if (const auto old = widgets_.windows_.find(previous.value); old != widgets_.windows_.end()) {
    old->second->FocusChanged(false);
  }
  FocusChanged(true);
  return true;
}

SimDrawing& SimWindow::Gdi() { return widgets_.drawing_; }

void SimWindow::Deliver(const std::function<void()>& input) { widgets_.windowing_.Deliver(input); }

template <class Interface>
void SimContainer<Interface>::Render() {
  SimDrawing& drawing = this->Gdi();
  const DcHandle dc = this->Surface();
  if (!dc) return;
  drawing.FillRect(dc, Rect{0, 0, this->control.bounds.Width(), this->control.bounds.Height()},
                   this->control.color);
  Canvas canvas(drawing, dc);
  this->Deliver([&] { sink_.PeerPaint(canvas); });
}

template <class Interface>
void SimContainer<Interface>::MouseClick(Point at) {
  this->Deliver([&] {
    sink_.PeerMouseDown(at);
    sink_.PeerMouseUp(at);
  });
}

template <class Interface>
void SimContainer<Interface>::FocusChanged(bool focused) {
  this->Deliver([&] { sink_.PeerFocus(focused); });
}

template class SimContainer<FormPeer>;
template class SimContainer<WidgetPeer>;

SimForm::SimForm(SimWidgets& widgets, const FormDesc& desc, WindowHandle handle,
                 ContainerSink& sink, FormSink& form, int monitor_dpi)
    : SimContainer<FormPeer>(widgets, desc.control, handle, true, sink),
      border_style(desc.border_style),
      stay_on_top(desc.stay_on_top),
      position(desc.position),
      center_over(desc.center_over),
      owner(desc.owner),
      icon(desc.icon),
      dpi(monitor_dpi),
      form_(form) {}

void SimForm::MoveToMonitor(int new_dpi, const Rect& suggested) {
  dpi = new_dpi;
  placed_at = suggested;
  Deliver([&] { form_.PeerDpiChanged(new_dpi, suggested); });
}

SimMemo::SimMemo(SimWidgets& widgets, const MemoDesc& desc, WindowHandle handle, MemoSink& sink)
    : SimPeer<MemoPeer>(widgets, desc.control, handle, false),
      lines(desc.lines),
      read_only(desc.read_only),
      no_context_menu(desc.no_context_menu),
      sink_(sink) {}

void SimMemo::Type(const std::string& text) {
  if (read_only || !control.enabled) return;
  Deliver([&] { sink_.PeerTextEdited(text); });
}

SimComboBox::SimComboBox(SimWidgets& widgets, const ComboBoxDesc& desc, WindowHandle handle,
                         ComboBoxSink& sink)
    : SimPeer<ComboBoxPeer>(widgets, desc.control, handle, false),
      items(desc.items),
      dropdown_count(desc.dropdown_count),
      sink_(sink) {}

void SimComboBox::Pick(int index) {
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  control.text = items[index];
  Deliver([&] { sink_.PeerSelected(index); });
}

void SimComboBox::Type(const std::string& text) {
  control.text = text;
  Deliver([&] { sink_.PeerTextEdited(text); });
}

SimListView::SimListView(SimWidgets& widgets, const ListViewDesc& desc, WindowHandle handle,
                         ListViewSink& sink)
    : SimPeer<ListViewPeer>(widgets, desc.control, handle, false),
      columns(desc.columns),
      grid_lines(desc.grid_lines),
      row_select(desc.row_select),
      hide_selection(desc.hide_selection),
      sink_(sink) {}

void SimListView::ClearRows() {
  rows.clear();
  selected.clear();
  ++clears;
}

void SimListView::SetRowSelected(int row, bool on) {
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  if (on) {
    selected.insert(row);
  } else {
    selected.erase(row);
  }
}

void SimListView::ClickRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  // One selection at a time, as the real list tells it: the old row first.
  const std::set<int> before = selected;
  selected = {row};
  Deliver([&] {
    for (int old : before) {
      if (old != row) sink_.PeerRowSelected(old, false);
    }
    if (!before.contains(row)) sink_.PeerRowSelected(row, true);
  });
}

SimCheckBox::SimCheckBox(SimWidgets& widgets, const CheckBoxDesc& desc, WindowHandle handle,
                         ClickSink& sink)
    : SimPeer<CheckBoxPeer>(widgets, desc.control, handle, false),
      checked(desc.checked),
      sink_(sink) {}

void SimCheckBox::Click() {
  if (!control.enabled) return;
  checked = !checked;  // the box toggles itself before it tells
  Deliver([&] { sink_.PeerClicked(); });
}

void SimButton::Click() {
  if (!control.enabled) return;
  Deliver([&] { sink_.PeerClicked(); });
}

void SimCheckBox::KeyReached(const KeyStroke& key) {
  if (key.key == vk::kSpace && !key.down) Click();
}

void SimButton::KeyReached(const KeyStroke& key) {
  if (key.key == vk::kSpace && !key.down) Click();
}

void SimWidgets::PressKey(int key, bool shift, bool alt) {
  KeyStrokeReached(KeyStroke{key, true, alt, shift, false});
  KeyStrokeReached(KeyStroke{key, false, alt, shift, false});
}

void SimWidgets::KeyStrokeReached(const KeyStroke& key) {
  const WindowHandle target = Focus();
  if (windowing_.PreviewKey(target, key)) return;
  if (const auto window = windows_.find(target.value); window != windows_.end()) {
    window->second->KeyReached(key);
  }
}

void SimWidgets::CheckFailure() {
  if (fail_next_create_ == 0) return;
  const unsigned error = fail_next_create_;
  fail_next_create_ = 0;
  ThrowOSError(error);
}

WindowHandle SimWidgets::ChildHandle(const ControlDesc& desc, WidgetPeer& parent) {
  CheckFailure();
  const WindowHandle handle = windowing_.CreateHiddenWindow(desc.name, desc.text, true, {}).handle;
  std::vector<WindowHandle>& siblings = children_[parent.Handle().value];
  const auto below = std::find(siblings.begin(), siblings.end(), desc.below);
  siblings.insert(below == siblings.end() ? siblings.begin() : below + 1, handle);
  return handle;
}

void SimWidgets::Unstack(WindowHandle child) {
  children_.erase(child.value);
  for (auto& [parent, siblings] : children_) std::erase(siblings, child);
}

std::vector<WindowHandle> SimWidgets::Children(WindowHandle parent) const {
  const auto found = children_.find(parent.value);
  return found == children_.end() ? std::vector<WindowHandle>{} : found->second;
}

std::unique_ptr<FormPeer> SimWidgets::CreateForm(const FormDesc& desc, ContainerSink& container,
                                                 FormSink& form) {
  CheckFailure();
  // The close box and the end of the session reach the form as on the desktop.
  const WindowHandle handle = windowing_.AddWindow(
      "T" + desc.control.name, desc.control.text,
      [&form](std::uint32_t msg, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
        if (msg == wm::kClose) {
          form.PeerCloseRequested();
          return 0;
        }
        if (msg == wm::kQueryEndSession) return form.PeerQueryEndSession() ? 1 : 0;
        return std::nullopt;
      },
      desc.owner);
  windowing_.ShowWindow(handle, desc.control.visible ? showcmd::kShow : showcmd::kHide);
  return std::make_unique<SimForm>(*this, desc, handle, container, form, dpi);
}

std::unique_ptr<WidgetPeer> SimWidgets::CreatePanel(const ControlDesc& desc, WidgetPeer& parent,
                                                    ContainerSink& container) {
  return std::make_unique<SimPanel>(*this, desc, ChildHandle(desc, parent), false, container);
}

std::unique_ptr<MemoPeer> SimWidgets::CreateMemo(const MemoDesc& desc, WidgetPeer& parent,
                                                 MemoSink& sink) {
  return std::make_unique<SimMemo>(*this, desc, ChildHandle(desc.control, parent), sink);
}

std::unique_ptr<ComboBoxPeer> SimWidgets::CreateComboBox(const ComboBoxDesc& desc,
                                                         WidgetPeer& parent, ComboBoxSink& sink) {
  return std::make_unique<SimComboBox>(*this, desc, ChildHandle(desc.control, parent), sink);
}

std::unique_ptr<ListViewPeer> SimWidgets::CreateListView(const ListViewDesc& desc,
                                                         WidgetPeer& parent, ListViewSink& sink) {
  return std::make_unique<SimListView>(*this, desc, ChildHandle(desc.control, parent), sink);
}

std::unique_ptr<CheckBoxPeer> SimWidgets::CreateCheckBox(const CheckBoxDesc& desc,
                                                         WidgetPeer& parent, ClickSink& sink) {
  return std::make_unique<SimCheckBox>(*this, desc, ChildHandle(desc.control, parent), sink);
}

std::unique_ptr<WidgetPeer> SimWidgets::CreateButton(const ControlDesc& desc, WidgetPeer& parent,
                                                     ClickSink& sink) {
  return std::make_unique<SimButton>(*this, desc, ChildHandle(desc, parent), sink);
}

}  // namespace velocane::sim
