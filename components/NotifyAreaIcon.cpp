#include "components/NotifyAreaIcon.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"
#include "platform/messages.h"

namespace velocane {

namespace {

// Shell notifications that are no mouse messages.
constexpr std::uint32_t kNinSelect = 0x0400;
constexpr std::uint32_t kNinKeySelect = 0x0401;
constexpr std::uint32_t kNinBalloonShow = 0x0402;
constexpr std::uint32_t kNinBalloonHide = 0x0403;
constexpr std::uint32_t kNinBalloonTimeout = 0x0404;
constexpr std::uint32_t kNinBalloonUserClick = 0x0405;

// The first common controls whose shell broadcasts "TaskbarCreated": 4.71.
constexpr std::uint32_t kTaskbarCreatedVersion = 4u << 16 | 71u;

constexpr unsigned kLeavePollMs = 20;
// A refused add is tried again every 2 s for a minute; after that the
// shell's "TaskbarCreated" brings the icon back once it is up.
constexpr unsigned kAddRetryMs = 2000;
constexpr int kAddRetries = 30;

// The shared handler window: the number of living icons, its handle, and the
// icons by the id the shell hands back.
struct SharedHandler {
  Windowing* windowing = nullptr;
  std::uint32_t count = 0;
  WindowHandle window;
  std::map<std::uint32_t, TNotifyAreaIcon*> icons;
  std::uint32_t next_id = 1;
  // The registered "TaskbarCreated", 0 where the shell does not send it.
  std::uint32_t taskbar_created = 0;
};

SharedHandler* handler = nullptr;

std::optional<std::intptr_t> HandlerProc(std::uint32_t msg, std::uintptr_t wparam,
                                         std::intptr_t lparam) {
  switch (msg) {
    case kTrayCallbackMessage: {
      // Only for a living icon; never to the default handling. The shell's
      // id and notification are 32-bit values: a wider wParam or lParam
      // comes from elsewhere and names neither, cut short as it may be.
      constexpr std::uint32_t kMax = 0xFFFFFFFFu;
      if (static_cast<std::uintmax_t>(wparam) > kMax || lparam < 0 ||
          static_cast<std::uintmax_t>(lparam) > kMax) {
        return 0;
      }
      if (TNotifyAreaIcon* icon = TNotifyIconHandler::Find(static_cast<std::uint32_t>(wparam))) {
        icon->HandleCallback(static_cast<std::uint32_t>(lparam));
      }
      return 0;
    }
    case wm::kDestroy:
    case wm::kClose:
    case wm::kQueryEndSession:
    case wm::kQuit:
    case wm::kEndSession:
    case wm::kNcDestroy:
      return 1;
    default:
      return std::nullopt;
  }
}

std::uint32_t AcquireTrayWindow(Platform& platform, TNotifyAreaIcon* icon) {
  if (handler == nullptr) {
    Windowing& windowing = platform.windowing;
    handler = new SharedHandler{&windowing, 0, {}, {}, 1, 0};
    handler->window =
        windowing.CreateHiddenWindow("TNotifyIconHandler", "", false, HandlerProc).handle;
    // Only common controls recent enough come with a shell that tells of its restart.
    if (platform.notify_area.CommonControlsVersion() >= kTaskbarCreatedVersion) {
      handler->taskbar_created = windowing.RegisterWindowMessage("TaskbarCreated");
    }
  }
  ++handler->count;
  // The shell's id is 32 bits wide: a number of our own stands for the icon.
  const std::uint32_t id = handler->next_id++;
  handler->icons[id] = icon;
  return id;
}

void ReleaseTrayWindow(std::uint32_t id) {
  if (handler == nullptr) return;
  handler->icons.erase(id);
  if (handler->count > 0) --handler->count;
  if (handler->count > 0) return;
  SharedHandler* gone = handler;
  handler = nullptr;
  if (gone->window) gone->windowing->DestroyWindow(gone->window);
  delete gone;
}

template <std::size_t N>
void Clear(std::array<char, N>& text) {
  text.fill(0);
}

}  // namespace

bool TNotifyIconHandler::Exists() { return handler != nullptr; }

WindowHandle TNotifyIconHandler::Window() {
  return handler != nullptr ? handler->window : WindowHandle{};
}

TNotifyAreaIcon* TNotifyIconHandler::Find(std::uint32_t id) {
  if (handler == nullptr) return nullptr;
  const auto it = handler->icons.find(id);
  return it == handler->icons.end() ? nullptr : it->second;
}

std::uint32_t TNotifyIconHandler::TaskbarCreatedMessage() {
  return handler != nullptr ? handler->taskbar_created : 0;
}

TNotifyAreaIcon::TNotifyAreaIcon(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {
  Platform& os = Os();
  record_.id = AcquireTrayWindow(os, this);
  mdi_check_pending_ = true;
  enabled_ = true;
  show_hint_ = true;
  preview_in_progress_ = false;
  icon_ = std::make_unique<TIcon>(os.notify_area);
  icon_->OnChange = [this] { UpdateTrayEntry(); };
  record_.window = TNotifyIconHandler::Window();
  record_.flags = nif::kMessage | nif::kIcon | nif::kTip;
  record_.callback_message = kTrayCallbackMessage;
  cycle_timer_ =
      std::make_unique<TLightTimer>(os.windowing, 1000, [this](TLightTimer&) { CycleStep(); });
  click_timer_ =
      std::make_unique<TLightTimer>(os.windowing, 1000, [this](TLightTimer&) { ClickTimeout(); });
  leave_timer_ = std::make_unique<TLightTimer>(os.windowing, kLeavePollMs,
                                               [this](TLightTimer&) { LeavePoll(); });
  pointer_gone_ = true;
  TApplication& app = App();
  application_hook_ =
      app.HookMainWindow([this](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
        ApplicationWindowHook(msg, wparam, lparam);
      });
  // An Explorer with fewer rights than ours may still tell us it restarted.
  if (const std::uint32_t message = TNotifyIconHandler::TaskbarCreatedMessage();
      message != 0 && app.Handle()) {
    os.windowing.AllowMessageFromLowerRights(app.Handle(), message);
  }
  owner_control_ = dynamic_cast<TWinControl*>(owner);
  SubclassOwner();
}

TNotifyAreaIcon::~TNotifyAreaIcon() {
  SetIconVisible(false);
  design_preview_ = false;
  retry_timer_.reset();
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
  ReleaseTrayWindow(record_.id);
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
  SetIconVisible(icon_visible_);
  SetCycleIcons(cycle_icons_);
  SetWantEnterExitEvents(want_enter_exit_);
  record_.timeout_or_version = notify_style_ == 1 ? kNotifyIconVersion : 0;
  Request(NotifyCommand::kSetVersion);
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
  UpdateTrayEntry();
}

void TNotifyAreaIcon::SetShowHint(bool on) {
  show_hint_ = on;
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

bool TNotifyAreaIcon::PrepareIconData() {
  try {
    record_.icon = icon_->Handle();
  } catch (const EReadError&) {
    record_.icon = IconHandle{};
  }
  Clear(record_.tip);
  if (!hint_.empty() && show_hint_) {
    const std::size_t length = std::min<std::size_t>(hint_.size(), record_.tip.size() - 1);
    std::memcpy(record_.tip.data(), hint_.data(), length);
  }
  return true;
}

bool TNotifyAreaIcon::Request(NotifyCommand command) {
  return Os().notify_area.ShellNotifyIcon(command, record_);
}

bool TNotifyAreaIcon::AddTrayEntry() {
  if (!preview_in_progress_) icon_visible_ = true;
  PrepareIconData();
  const bool added = Request(NotifyCommand::kAdd);
  // A refused add of an icon that is already there is no failure; only an
  // absent one is tried again.
  if (!added && !Request(NotifyCommand::kModify)) ScheduleAddRetry();
  return added;
}

bool TNotifyAreaIcon::DeleteTrayEntry() {
  if (!preview_in_progress_) icon_visible_ = false;
  retry_timer_.reset();
  PrepareIconData();
  return Request(NotifyCommand::kDelete);
}

bool TNotifyAreaIcon::UpdateTrayEntry() {
  PrepareIconData();
  return Request(NotifyCommand::kModify);
}

void TNotifyAreaIcon::ScheduleAddRetry() {
  if (retry_timer_) return;
  retries_left_ = kAddRetries;
  retry_timer_ = std::make_unique<TLightTimer>(Os().windowing, kAddRetryMs,
                                               [this](TLightTimer&) { RetryAdd(); });
  retry_timer_->SetRunning(true);
}

void TNotifyAreaIcon::RetryAdd() {
  if (!icon_visible_) {
    retry_timer_.reset();
    return;
  }
  PrepareIconData();
  const bool there = Request(NotifyCommand::kAdd) || Request(NotifyCommand::kModify);
  if (there || --retries_left_ <= 0) retry_timer_.reset();
}

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
  const auto mouse = [&](auto&& action) {
    if (!enabled_) return;
    const Point at = CursorPos();
    action(ShiftFromKeyboard(), at);
  };
  const auto popup_ready = [&] { return popup_menu_ != nullptr && popup_menu_->AutoPopup(); };
  switch (notification) {
    case wm::kMouseMove:
      mouse([&](TShiftState keys, Point at) {
        if (want_enter_exit_ && pointer_gone_) {
          FireMouseEnter();
          pointer_gone_ = false;
        }
        FireMouseMove(keys, at.x, at.y);
        last_pointer_ = at;
      });
      break;
    case wm::kLButtonDown:
      mouse([&](TShiftState keys, Point at) {
        if (OnDblClick) {
          click_timer_->SetPeriod(Os().windowing.GetDoubleClickTime());
          click_timer_->SetRunning(true);
        }
        FireMouseDown(TMouseButton::mbLeft, keys | shift::ssLeft, at.x, at.y);
        button_down_seen_ = true;
        if (left_popup_ && popup_ready()) {
          Os().windowing.SetForegroundWindow(TNotifyIconHandler::Window());
          ShowPopupMenuAtCursor();
        }
      });
      break;
    case wm::kLButtonUp:
      mouse([&](TShiftState keys, Point at) {
        if (button_down_seen_) click_ready_ = true;
        if (button_down_seen_ && !click_timer_->Running()) {
          button_down_seen_ = false;
          click_ready_ = false;
          FireClick();
        }
        button_down_seen_ = false;
        FireMouseUp(TMouseButton::mbLeft, keys | shift::ssLeft, at.x, at.y);
      });
      break;
    case wm::kLButtonDblClk:
      mouse([&](TShiftState, Point) {
        click_ready_ = false;
        double_click_seen_ = true;
        FireDblClick();
        if (popup_ready() && !left_popup_) {
          const auto& items = popup_menu_->Items();
          const auto it = std::find_if(items.begin(), items.end(),
                                       [](const TMenuItem& item) { return item.Default; });
          if (it != items.end()) popup_menu_->ClickItem(static_cast<int>(it - items.begin()));
        }
      });
      break;
    case wm::kRButtonDown:
      mouse([&](TShiftState keys, Point at) {
        FireMouseDown(TMouseButton::mbRight, keys | shift::ssRight, at.x, at.y);
        if (popup_ready()) {
          Os().windowing.SetForegroundWindow(TNotifyIconHandler::Window());
          ShowPopupMenuAtCursor();
        }
      });
      break;
    case wm::kRButtonUp:
      if (notify_style_ == 0) {
        mouse([&](TShiftState keys, Point at) {
          FireMouseUp(TMouseButton::mbRight, keys | shift::ssRight, at.x, at.y);
        });
      }
      break;
    case wm::kContextMenu:
    case kNinSelect:
    case kNinKeySelect:
      if (notify_style_ == 1) {
        mouse([&](TShiftState keys, Point at) {
          FireMouseUp(TMouseButton::mbRight, keys | shift::ssRight, at.x, at.y);
        });
      }
      break;
    case wm::kMButtonDown:
      mouse([&](TShiftState keys, Point at) {
        FireMouseDown(TMouseButton::mbMiddle, keys | shift::ssMiddle, at.x, at.y);
      });
      break;
    case wm::kMButtonUp:
      mouse([&](TShiftState keys, Point at) {
        FireMouseUp(TMouseButton::mbMiddle, keys | shift::ssMiddle, at.x, at.y);
      });
      break;
    case kNinBalloonShow:
      if (OnBalloonHintShow) OnBalloonHintShow(*this);
      break;
    case kNinBalloonHide:
      if (OnBalloonHintHide) OnBalloonHintHide(*this);
      break;
    case kNinBalloonTimeout:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(*this);
      break;
    case kNinBalloonUserClick:
      if (OnBalloonHintClick) OnBalloonHintClick(*this);
      break;
    default:
      break;  // right and middle double clicks among them
  }
}

void TNotifyAreaIcon::ClickTimeout() {
  click_timer_->SetRunning(false);
  if (!double_click_seen_ && click_ready_) {
    click_ready_ = false;
    FireClick();
  }
  double_click_seen_ = false;
}

void TNotifyAreaIcon::LeavePoll() {
  if (pointer_gone_) return;
  Point at;
  if (!Os().windowing.GetCursorPos(&at)) return;
  if (at != last_pointer_) {
    pointer_gone_ = true;
    FireMouseExit();
  }
}

void TNotifyAreaIcon::CycleStep() {
  if (icon_list_ == nullptr) return;
  icon_list_->GetIcon(icon_index_, *icon_);
  FireCycle();
  SetIconIndex(icon_index_ < icon_list_->Count() - 1 ? icon_index_ + 1 : 0);
}

void TNotifyAreaIcon::FireClick() {
  if (OnClick) OnClick(*this);
}

void TNotifyAreaIcon::FireDblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TNotifyAreaIcon::FireCycle() {
  const int next =
      icon_list_ != nullptr && icon_index_ + 1 < icon_list_->Count() ? icon_index_ + 1 : 0;
  if (OnCycle) OnCycle(*this, next);
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
  if (msg == wm::kWindowPosChanged && mdi_check_pending_ && app.MainForm() != nullptr) {
    // The framework's forms are never MDI parents: the check ends here.
    mdi_check_pending_ = false;
  }
  if (msg == wm::kSysCommand && (wparam & 0xFFF0) == sc::kRestore && app.MainForm() != nullptr) {
    TForm* main = app.MainForm();
    Windowing& windowing = Os().windowing;
    if (windowing.IsIconic(main->Handle())) windowing.ShowWindow(main->Handle(), showcmd::kRestore);
    main->Show();
  }
  const std::uint32_t taskbar_created = TNotifyIconHandler::TaskbarCreatedMessage();
  if (taskbar_created != 0 && msg == taskbar_created && icon_visible_) {
    AddTrayEntry();  // the shell has lost all icons
  }
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
