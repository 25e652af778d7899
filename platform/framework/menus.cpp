#include "platform/framework/menus.h"

#include "platform/framework/application.h"

namespace velocane {

void TPopupMenu::Popup(int x, int y) {
  TApplication* app = Application();
  if (app == nullptr) return;
  std::vector<MenuItem> shown;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem& item = items_[i];
    // Ids start at 1: 0 is what the system answers when nothing was chosen.
    shown.push_back(item.Caption == "-" ? MenuItem{}
                                        : MenuItem{static_cast<int>(i) + 1, item.Caption,
                                                   item.Default, item.Enabled});
  }
  const int chosen = app->Platform().windowing.TrackPopupMenu(app->Handle(), shown, Point{x, y});
  if (chosen > 0) ClickItem(chosen - 1);
}

void TPopupMenu::ClickItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  // A copy: the handler may change the items.
  const TNotifyEvent handler = items_[index].OnClick;
  if (handler) handler(*this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popup_component_) {
    popup_component_ = nullptr;
  }
}

}  // namespace velocane
