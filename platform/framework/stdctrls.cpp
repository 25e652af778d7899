#include "platform/framework/stdctrls.h"

#include "platform/framework/forms.h"
#include "platform/framework/images.h"
#include "platform/framework/menus.h"

namespace velocane {

void TMemo::SetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  if (auto* peer = PeerAs<MemoPeer>()) peer->SetLines(lines_);
}

void TMemo::SetReadOnly(bool read_only) {
  if (read_only == read_only_) return;
  read_only_ = read_only;
  if (auto* peer = PeerAs<MemoPeer>()) peer->SetReadOnly(read_only_);
}

void TMemo::SetPopupMenu(TPopupMenu* menu) {
  popup_menu_ = menu;
  if (menu != nullptr) FreeNotification(menu);
  if (auto* peer = PeerAs<MemoPeer>()) peer->SetNoContextMenu(NoContextMenu());
}

bool TMemo::NoContextMenu() const { return popup_menu_ != nullptr && popup_menu_->Items().empty(); }

void TMemo::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popup_menu_) SetPopupMenu(nullptr);
}

std::unique_ptr<WidgetPeer> TMemo::CreatePeer(WidgetFactory& factory, WidgetPeer* parent) {
  return factory.CreateMemo(MemoDesc{Describe(), lines_, read_only_, NoContextMenu()}, *parent,
                            *this);
}

void TMemo::PeerTextEdited(const std::string& text) {
  // The window shows it already: only the model follows, split at its line breaks.
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  lines_ = std::move(lines);
}

void TComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  item_index_ = -1;
  if (auto* peer = PeerAs<ComboBoxPeer>()) peer->SetItems(items_);
}

void TComboBox::SetDropDownCount(int count) {
  if (count == dropdown_count_) return;
  dropdown_count_ = count;
  if (auto* peer = PeerAs<ComboBoxPeer>()) peer->SetDropDownCount(dropdown_count_);
}

void TComboBox::SetImages(TImageList* images) {
  images_ = images;
  if (images != nullptr) FreeNotification(images);
}

int TComboBox::ItemImageIndex(int item) const {
  if (images_ == nullptr || item < 0 || item >= static_cast<int>(items_.size())) return -1;
  return item < images_->Count() ? item : -1;
}

void TComboBox::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TComboBox::UserSelect(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  UserInput([&] {
    item_index_ = index;
    SetText(items_[index]);
    Fire(OnChange);
    Fire(OnSelect);
  });
}

void TComboBox::UserType(const std::string& text) {
  if (auto* peer = PeerAs<ComboBoxPeer>()) peer->SetText(text);
  PeerTextEdited(text);
}

void TComboBox::PeerTextEdited(const std::string& text) {
  if (text == Caption()) return;
  UserInput([&] {
    item_index_ = -1;
    StoreCaption(text);
    Fire(OnChange);
  });
}

std::unique_ptr<WidgetPeer> TComboBox::CreatePeer(WidgetFactory& factory, WidgetPeer* parent) {
  return factory.CreateComboBox(ComboBoxDesc{Describe(), items_, dropdown_count_}, *parent, *this);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (auto* peer = PeerAs<CheckBoxPeer>()) peer->SetChecked(checked_);
  Click();
}

std::unique_ptr<WidgetPeer> TCheckBox::CreatePeer(WidgetFactory& factory, WidgetPeer* parent) {
  return factory.CreateCheckBox(CheckBoxDesc{Describe(), checked_}, *parent, *this);
}

void TButton::Click() {
  // The form knows its result before the click's own action runs.
  if (modal_result_ != mrNone) {
    if (TForm* form = ParentForm()) form->SetModalResult(modal_result_);
  }
  TWinControl::Click();
}

std::unique_ptr<WidgetPeer> TButton::CreatePeer(WidgetFactory& factory, WidgetPeer* parent) {
  return factory.CreateButton(Describe(), *parent, *this);
}

void TPanel::SetBevelRaised(bool raised) {
  if (raised == bevel_raised_) return;
  bevel_raised_ = raised;
  if (Peer() != nullptr) Peer()->Invalidate();
}

std::unique_ptr<WidgetPeer> TPanel::CreatePeer(WidgetFactory& factory, WidgetPeer* parent) {
  return factory.CreatePanel(Describe(), *parent, *this);
}

void TPanel::PaintBackground(Canvas& canvas) {
  Rect area{0, 0, Width(), Height()};
  canvas.FillRect(area, BackColor());
  canvas.Edge(area, bevel_raised_);
}

}  // namespace velocane
