#pragma once
// Popup menus. The main window's memos carry one without entries, which takes
// the place of the edit control's own menu; the tray icon pops one up.
#include <string>
#include <vector>

#include "platform/framework/control.h"

namespace velocane {

struct TMenuItem {
  std::string Caption;  // "-" is a separator line
  bool Default = false;
  bool Enabled = true;
  TNotifyEvent OnClick;
};

class TPopupMenu : public TComponent {
 public:
  using TComponent::TComponent;
  const std::vector<TMenuItem>& Items() const { return items_; }
  void SetItems(std::vector<TMenuItem> items) { items_ = std::move(items); }
  // Whether the controls that carry the menu pop it up by themselves.
  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool on) { auto_popup_ = on; }
  // The component that popped the menu up last.
  TComponent* PopupComponent() const { return popup_component_; }
  void SetPopupComponent(TComponent* component) {
    popup_component_ = component;
    if (component != nullptr) FreeNotification(component);
  }

  // Pops the menu up at a point of the screen, returns when it closes, and
  // runs the chosen item's OnClick.
  void Popup(int x, int y);
  // Runs the OnClick of item `index`.
  void ClickItem(int index);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::vector<TMenuItem> items_;
  bool auto_popup_ = true;
  TComponent* popup_component_ = nullptr;  // refers to, does not own
};

}  // namespace velocane
