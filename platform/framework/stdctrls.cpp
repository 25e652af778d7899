#include "platform/framework/stdctrls.h"

#include "platform/framework/menus.h"

namespace velocane {

void TMemo::SetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  if (Peer() != nullptr) Peer()->SetLines(lines_);
}

void TMemo::SetPopupMenu(TPopupMenu* menu) {
  popup_menu_ = menu;
  if (menu != nullptr) FreeNotification(menu);
}

void TMemo::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popup_menu_) popup_menu_ = nullptr;
}

WidgetDesc TMemo::Describe() const {
  WidgetDesc desc = TWinControl::Describe();
  desc.kind = WidgetKind::Memo;
  desc.lines = lines_;
  // A menu without entries means: no menu at all on a right click.
  desc.no_context_menu = popup_menu_ != nullptr && popup_menu_->Items().empty();
  return desc;
}

void TComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  item_index_ = -1;
  if (Peer() != nullptr) Peer()->SetLines(items_);
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
  if (Peer() != nullptr) Peer()->SetText(text);
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

WidgetDesc TComboBox::Describe() const {
  WidgetDesc desc = TWinControl::Describe();
  desc.kind = WidgetKind::ComboBox;
  desc.lines = items_;
  desc.dropdown_count = dropdown_count_;
  return desc;
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (Peer() != nullptr) Peer()->SetChecked(checked_);
  Click();
}

WidgetDesc TCheckBox::Describe() const {
  WidgetDesc desc = TWinControl::Describe();
  desc.kind = WidgetKind::CheckBox;
  desc.checked = checked_;
  return desc;
}

WidgetDesc TButton::Describe() const {
  WidgetDesc desc = TWinControl::Describe();
  desc.kind = WidgetKind::Button;
  return desc;
}

WidgetDesc TPanel::Describe() const {
  WidgetDesc desc = TWinControl::Describe();
  desc.kind = WidgetKind::Panel;
  return desc;
}

void TPanel::PaintBackground(Canvas& canvas) {
  Rect area{0, 0, Width(), Height()};
  canvas.FillRect(area, BackColor());
  canvas.Edge(area, bevel_raised_);
}

}  // namespace velocane
