#include "components/NotifyAreaIcon.h"

#include <algorithm>

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"
#include "platform/messages.h"

namespace velocane {

namespace {

constexpr unsigned kLeavePollMs = 20;

}  // namespace

TNotifyAreaIcon::TNotifyAreaIcon(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {
  Platform& os = Os();
  TApplication& app = App();
  icon_ = std::make_unique<TIcon>(os.notify_area);
  entry_ = std::make_unique<TNotifyIconEntry>(
      os, *icon_, app.Handle(),
      [this](std::uint32_t notification) { HandleCallback(notification); });
  entry_->SetTip(hint_, show_hint_);
  icon_->OnChange = [this] { UpdateTrayEntry(); };
  cycle_timer_ =
      std::make_unique<TLightTimer>(os.windowing, 1000, [this](TLightTimer&) { CycleStep(); });
  click_timer_ =
      std::make_unique<TLightTimer>(os.windowing, 1000, [this](TLightTimer&) { ClickTimeout(); });
  leave_timer_ = std::make_unique<TLightTimer>(os.windowing, kLeavePollMs,
                                               [this](TLightTimer&) { LeavePoll(); });
  application_hook_ =
      app.HookMainWindow([this](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
        ApplicationWindowHook(msg, wparam, lparam);
      });
  owner_control_ = dynamic_cast<TWinControl*>(owner);
  SubclassOwner();
}

TNotifyAreaIcon::~TNotifyAreaIcon() {
  SetIconVisible(false);
  cycle_timer_.reset();
  click_timer_.reset();
  leave_timer_.reset();
  try {
    icon_.reset();
  } catch (...) {
    // The rest of the destruction runs whatever the image did.
  }
  if (application_hook_ != 0) {
    if (TApplication* app = Application()) app->UnhookMainWindow(application_hook_);
  }
  if (owner_subclass_) Os().windowing.RemoveSubclass(owner_window_, owner_subclass_);
  entry_.reset();
}

TApplication& TNotifyAreaIcon::App() const {
  TApplication* app = Application();
  if (app == nullptr) throw EInvalidOperation("Component '" + Name() + "' has no application");
  return *app;
}

Platform& TNotifyAreaIcon::Os() const { return App().Platform(); }

void TNotifyAreaIcon::SubclassOwner() {
  // The owner's window may come only after its components (a form's does).
  if (owner_subclass_ || owner_control_ == nullptr || !owner_control_->Handle()) return;
  owner_window_ = owner_control_->Handle();
  owner_subclass_ = Os().windowing.Subclass(
      owner_window_, [this](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
        return OwnerWindowProc(msg, wparam, lparam);
      });
}

void TNotifyAreaIcon::Loaded() {
  TComponent::Loaded();
  SubclassOwner();
  if (owner_control_ != nullptr && OnStartup) {
    bool show_main_form = true;
    OnStartup(*this, show_main_form);
    if (!show_main_form) {
      App().SetShowMainForm(false);
      HideMainWindow();
    }
  }
  UpdateTrayEntry();
  // The stored values take effect (an icon stored invisible gets a delete
  // request that the shell refuses harmlessly).
  SetIconVisible(IconVisible());
  SetCycleIcons(cycle_icons_);
  SetWantEnterExitEvents(want_enter_exit_);
  entry_->AskVersion();
}

void TNotifyAreaIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == icon_list_) SetIconList(nullptr);
  if (component == popup_menu_) popup_menu_ = nullptr;
}

void TNotifyAreaIcon::SetIconList(TImageList* list) {
  icon_list_ = list;
  if (list != nullptr) FreeNotification(list);
  SetIconIndex(0);
}

void TNotifyAreaIcon::SetPopupMenu(TPopupMenu* menu) {
  popup_menu_ = menu;
  if (menu != nullptr) FreeNotification(menu);
}

void TNotifyAreaIcon::SetCycleIcons(bool on) {
  cycle_icons_ = on;
  if (on) {
    SetIconIndex(0);
    cycle_timer_->SetPeriod(cycle_interval_);
    cycle_timer_->SetRunning(true);
  } else {
    cycle_timer_->SetRunning(false);
  }
}

void TNotifyAreaIcon::SetCycleInterval(unsigned milliseconds) {
  if (milliseconds == cycle_interval_) return;
  cycle_interval_ = milliseconds;
  SetCycleIcons(cycle_icons_);  // a running animation starts again at image 0
}

void TNotifyAreaIcon::SetHint(const std::string& hint) {
  hint_ = hint;
  entry_->SetTip(hint_, show_hint_);
  UpdateTrayEntry();
}

void TNotifyAreaIcon::SetShowHint(bool on) {
  show_hint_ = on;
  entry_->SetTip(hint_, show_hint_);
  UpdateTrayEntry();
}

void TNotifyAreaIcon::SetIcon(const TPixelImage& picture) {
  // One update for the new picture, not one for the copy and one after it.
  std::function<void()> notice = std::move(icon_->OnChange);
  icon_->OnChange = nullptr;
  icon_->Assign(picture);
  icon_->OnChange = std::move(notice);
  UpdateTrayEntry();
}

void TNotifyAreaIcon::SetIconVisible(bool on) {
  if (on) {
    AddTrayEntry();
  } else {
    DeleteTrayEntry();
  }
}

void TNotifyAreaIcon::SetIconIndex(int index) {
  if (icon_list_ != nullptr) {
    icon_index_ = index;
    // Clamped from above only: an empty list gives -1, and an empty picture.
    if (icon_index_ >= icon_list_->Count()) icon_index_ = icon_list_->Count() - 1;
    icon_list_->GetIcon(icon_index_, *icon_);
  } else {
    icon_index_ = 0;
  }
  UpdateTrayEntry();
}

void TNotifyAreaIcon::SetWantEnterExitEvents(bool on) {
  want_enter_exit_ = on;
  leave_timer_->SetRunning(on);
}

void TNotifyAreaIcon::SetNotifyStyle(int style) {
  notify_style_ = style;
  entry_->SetVersion(style == 1 ? kNotifyIconVersion : 0);
}

bool TNotifyAreaIcon::AddTrayEntry() { return entry_->Show(); }

bool TNotifyAreaIcon::DeleteTrayEntry() { return entry_->Hide(); }

bool TNotifyAreaIcon::UpdateTrayEntry() { return entry_->Update(); }

TShiftState TNotifyAreaIcon::ShiftFromKeyboard() const {
  Windowing& windowing = Os().windowing;
  TShiftState state = 0;
  if (windowing.IsKeyDown(vk::kShift)) state |= shift::ssShift;
  if (windowing.IsKeyDown(vk::kMenu)) state |= shift::ssAlt;
  if (windowing.IsKeyDown(vk::kControl)) state |= shift::ssCtrl;
  return state;
}

Point TNotifyAreaIcon::CursorPos() const {
  Point at;
  Os().windowing.GetCursorPos(&at);
  return at;
}

void TNotifyAreaIcon::HandleCallback(std::uint32_t notification) {
  if (RaiseBalloonEvent(notification)) return;
  const TClickContext context{enabled_, static_cast<bool>(OnDblClick), click_timer_->Running(),
                              want_enter_exit_, notify_style_};
  if (!enabled_ || !Reports(notification)) {
    // The tracker still learns the order: a select that follows an ignored
    // button-up is that button's, not the keyboard's.
    tracker_.Notify(notification, context, Point{});
    return;
  }
  const Point at = CursorPos();
  const TShiftState keys = ShiftFromKeyboard();
  RaiseEvents(notification, tracker_.Notify(notification, context, at), keys, at);
}

bool TNotifyAreaIcon::RaiseBalloonEvent(std::uint32_t notification) {
  const TNotifyEvent* event = nullptr;
  switch (notification) {
    case nin::kBalloonShow:
      event = &OnBalloonHintShow;
      break;
    case nin::kBalloonHide:
      event = &OnBalloonHintHide;
      break;
    case nin::kBalloonTimeout:
      event = &OnBalloonHintTimeout;
      break;
    case nin::kBalloonUserClick:
      event = &OnBalloonHintClick;
      break;
    default:
      return false;
  }
  if (*event) (*event)(*this);
  return true;
}

bool TNotifyAreaIcon::Reports(std::uint32_t notification) const {
  switch (notification) {
    case wm::kMouseMove:
    case wm::kLButtonDown:
    case wm::kLButtonUp:
    case wm::kLButtonDblClk:
    case wm::kRButtonDown:
    case wm::kMButtonDown:
    case wm::kMButtonUp:
      return true;
    case wm::kRButtonUp:
      return notify_style_ == 0;
    // The right button's up of version 5, and the icon chosen without it.
    case wm::kContextMenu:
    case nin::kSelect:
    case nin::kKeySelect:
      return notify_style_ == 1;
    default:
      return false;  // right and middle double clicks among them
  }
}

void TNotifyAreaIcon::RaiseEvents(std::uint32_t notification, const TClickOutcome& told,
                                  TShiftState keys, Point at) {
  if (told.start_wait) {
    click_timer_->SetPeriod(Os().windowing.GetDoubleClickTime());
    click_timer_->SetRunning(true);  // restarts its countdown
  }
  if (told.enter) FireMouseEnter();
  const bool popup_ready = popup_menu_ != nullptr && popup_menu_->AutoPopup();
  switch (notification) {
    case wm::kMouseMove:
      FireMouseMove(keys, at.x, at.y);
      break;
    case wm::kLButtonDown:
      FireMouseDown(TMouseButton::mbLeft, keys | shift::ssLeft, at.x, at.y);
      if (left_popup_ && popup_ready) ShowPopupMenuAtCursor();
      break;
    case wm::kLButtonUp:
      if (told.click) FireClick();
      FireMouseUp(TMouseButton::mbLeft, keys | shift::ssLeft, at.x, at.y);
      break;
    case wm::kLButtonDblClk:
      FireDblClick();
      if (popup_ready && !left_popup_) {
        const auto& items = popup_menu_->Items();
        const auto it = std::find_if(items.begin(), items.end(),
                                     [](const TMenuItem& item) { return item.Default; });
        if (it != items.end()) popup_menu_->ClickItem(static_cast<int>(it - items.begin()));
      }
      break;
    case wm::kRButtonDown:
      FireMouseDown(TMouseButton::mbRight, keys | shift::ssRight, at.x, at.y);
      if (popup_ready) ShowPopupMenuAtCursor();
      break;
    case wm::kRButtonUp:
    case wm::kContextMenu:
      FireMouseUp(TMouseButton::mbRight, keys | shift::ssRight, at.x, at.y);
      break;
    case nin::kSelect:
    case nin::kKeySelect:
      // The icon chosen with the keyboard, or with Enter: what a click does.
      if (told.click) FireClick();
      break;
    case wm::kMButtonDown:
      FireMouseDown(TMouseButton::mbMiddle, keys | shift::ssMiddle, at.x, at.y);
      break;
    case wm::kMButtonUp:
      FireMouseUp(TMouseButton::mbMiddle, keys | shift::ssMiddle, at.x, at.y);
      break;
    default:
      break;
  }
}

void TNotifyAreaIcon::ClickTimeout() {
  click_timer_->SetRunning(false);
  if (tracker_.WaitEnded()) FireClick();
}

void TNotifyAreaIcon::LeavePoll() {
  if (tracker_.PointerGone()) return;
  Point at;
  if (!Os().windowing.GetCursorPos(&at)) return;
  if (tracker_.Left(at)) FireMouseExit();
}

void TNotifyAreaIcon::CycleStep() {
  if (icon_list_ == nullptr) return;
  icon_list_->GetIcon(icon_index_, *icon_);
  const int next = icon_index_ + 1 < icon_list_->Count() ? icon_index_ + 1 : 0;
  FireCycle(next);
  SetIconIndex(next);
}

void TNotifyAreaIcon::FireClick() {
  if (OnClick) OnClick(*this);
}

void TNotifyAreaIcon::FireDblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TNotifyAreaIcon::FireCycle(int next_index) {
  if (OnCycle) OnCycle(*this, next_index);
}

void TNotifyAreaIcon::FireMouseDown(TMouseButton button, TShiftState keys, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, keys, x, y);
}

void TNotifyAreaIcon::FireMouseUp(TMouseButton button, TShiftState keys, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, keys, x, y);
}

void TNotifyAreaIcon::FireMouseMove(TShiftState keys, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, keys, x, y);
}

void TNotifyAreaIcon::FireMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TNotifyAreaIcon::FireMouseExit() {
  if (OnMouseExit) OnMouseExit(*this);
}

void TNotifyAreaIcon::MinimizeMainWindowToTray() {
  HideMainWindow();
  SetIconVisible(true);
}

void TNotifyAreaIcon::HideMainWindow() {
  TApplication& app = App();
  if (owner_control_ == nullptr || app.MainForm() == nullptr) return;
  app.MainForm()->Hide();
  HideTaskbarButton();
}

void TNotifyAreaIcon::HideTaskbarButton() {
  TApplication& app = App();
  Windowing& windowing = Os().windowing;
  if (windowing.IsWindowVisible(app.Handle())) windowing.ShowWindow(app.Handle(), showcmd::kHide);
}

void TNotifyAreaIcon::ShowPopupMenuAtCursor() {
  Point at;
  if (Os().windowing.GetCursorPos(&at)) ShowPopupMenuAt(at.x, at.y);
}

void TNotifyAreaIcon::ShowPopupMenuAt(int x, int y) {
  if (popup_menu_ == nullptr) return;
  Windowing& windowing = Os().windowing;
  // A tray menu closes when the user clicks elsewhere only if its process is
  // in the foreground.
  windowing.SetForegroundWindow(TNotifyIconHandler::Window());
  App().ProcessMessages();
  popup_menu_->SetPopupComponent(this);
  popup_menu_->Popup(x, y);
  // Lets the menu's window go, as the system wants after a tray menu.
  if (owner_window_) windowing.PostMessage(owner_window_, wm::kNull, 0, 0);
}

void TNotifyAreaIcon::ApplicationWindowHook(std::uint32_t msg, std::uintptr_t wparam,
                                            std::intptr_t) {
  TApplication& app = App();
  if (msg == wm::kSize && wparam == sizekind::kMinimized && minimize_to_tray_) {
    MinimizeMainWindowToTray();
  }
  if (msg == wm::kSysCommand && (wparam & 0xFFF0) == sc::kRestore && app.MainForm() != nullptr) {
    TForm* main = app.MainForm();
    Windowing& windowing = Os().windowing;
    if (windowing.IsIconic(main->Handle())) windowing.ShowWindow(main->Handle(), showcmd::kRestore);
    main->Show();
  }
  entry_->ListenerMessage(msg);  // "TaskbarCreated" among them
}

std::optional<std::intptr_t> TNotifyAreaIcon::OwnerWindowProc(std::uint32_t msg,
                                                              std::uintptr_t wparam,
                                                              std::intptr_t lparam) {
  Windowing& windowing = Os().windowing;
  TApplication& app = App();
  if (msg == wm::kShowWindow && wparam == 1 && lparam == 0) {
    windowing.SetForegroundWindow(app.Handle());
    windowing.SetForegroundWindow(owner_window_);
    return std::nullopt;
  }
  const bool minimizing =
      (msg == wm::kShowWindow && wparam == 0 && lparam == kSwParentClosing && !app.Terminated()) ||
      (msg == wm::kSysCommand && (wparam & 0xFFF0) == sc::kMinimize);
  if (minimizing && minimize_to_tray_ && OnMinimizeToTray) {
    OnMinimizeToTray(*this);
    MinimizeMainWindowToTray();
    return 1;
  }
  return std::nullopt;
}

}  // namespace velocane
