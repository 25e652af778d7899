#pragma once
// The icon in the notification area: an image and a tip, an animation through
// the pictures of an image list, mouse events, a popup menu, minimizing the
// main window into the tray, and the icon put back when Explorer restarts.
// The shell's side is the icon's entry (NotifyIconEntry), what the
// notifications amount to its click tracker (TrayClickTracker); the icon runs
// the tracker's double-click wait and leave poll, and its animation, on three
// light timers.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "components/LightTimer.h"
#include "components/NotifyIconEntry.h"
#include "components/NotifyIconHandler.h"
#include "components/TrayClickTracker.h"
#include "platform/framework/component.h"
#include "platform/framework/control.h"
#include "platform/framework/images.h"
#include "platform/framework/menus.h"
#include "platform/notify_area.h"
#include "platform/platform.h"

namespace velocane {

enum class TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// A bit set: keys held down and the button a notification is about.
using TShiftState = std::uint8_t;
namespace shift {
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
}  // namespace shift

using TMouseEvent =
    std::function<void(TComponent& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent& sender, TShiftState shift, int x, int y)>;
using TCycleEvent = std::function<void(TComponent& sender, int next_index)>;
using TStartupEvent = std::function<void(TComponent& sender, bool& show_main_form)>;

class TNotifyAreaIcon : public TComponent {
 public:
  TNotifyAreaIcon(TComponent* owner, std::string name);
  ~TNotifyAreaIcon() override;

  // Stored only: it acts inside a form designer, which this program has none of.
  bool DesignPreview() const { return design_preview_; }
  void SetDesignPreview(bool on) { design_preview_ = on; }
  TImageList* IconList() const { return icon_list_; }
  void SetIconList(TImageList* list);
  bool CycleIcons() const { return cycle_icons_; }
  void SetCycleIcons(bool on);
  unsigned CycleInterval() const { return cycle_interval_; }
  void SetCycleInterval(unsigned milliseconds);
  // While false every mouse notification from the shell is ignored.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool on);
  TIcon& Icon() { return *icon_; }
  void SetIcon(const TPixelImage& picture);
  // The user's wish: the shell may not have the icon yet.
  bool IconVisible() const { return entry_->Wanted(); }
  void SetIconVisible(bool on);
  int IconIndex() const { return icon_index_; }
  void SetIconIndex(int index);
  TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TPopupMenu* menu);
  bool LeftPopup() const { return left_popup_; }
  void SetLeftPopup(bool on) { left_popup_ = on; }
  bool WantEnterExitEvents() const { return want_enter_exit_; }
  void SetWantEnterExitEvents(bool on);
  bool MinimizeToTray() const { return minimize_to_tray_; }
  void SetMinimizeToTray(bool on) { minimize_to_tray_ = on; }
  // 0: classic notifications, where the shell tells the keyboard as the
  // right button; 1: those of shell version 5, whose selects (the icon chosen
  // with Space or Enter) are clicks.
  int NotifyStyle() const { return notify_style_; }
  void SetNotifyStyle(int style);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow;
  TNotifyEvent OnBalloonHintHide;
  TNotifyEvent OnBalloonHintTimeout;
  TNotifyEvent OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

  void Loaded() override;

  // Consulted only by a designer's preview.
  bool DesignIconWanted() { return true; }
  // Each is true when the shell accepted the request.
  bool AddTrayEntry();
  bool DeleteTrayEntry();
  bool UpdateTrayEntry();

  void FireClick();
  void FireDblClick();
  void FireCycle(int next_index);
  void FireMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void FireMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void FireMouseMove(TShiftState shift, int x, int y);
  void FireMouseEnter();
  void FireMouseExit();
  void MinimizeMainWindowToTray();

  void HideMainWindow();
  void HideTaskbarButton();
  void ShowPopupMenuAtCursor();
  void ShowPopupMenuAt(int x, int y);

  // The identity the shell hands back as the callback's wParam.
  std::uint32_t Id() const { return entry_->Id(); }
  // The record as the next request would send it.
  const NotifyIconData& Record() const { return entry_->Record(); }
  // A notification from the shell (the callback's lParam).
  void HandleCallback(std::uint32_t notification);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TApplication& App() const;
  Platform& Os() const;
  // The balloons' events, which come whether the icon is enabled or not.
  bool RaiseBalloonEvent(std::uint32_t notification);
  // Whether the icon turns the notification into events while enabled.
  bool Reports(std::uint32_t notification) const;
  // The events of a reported notification, with the popup menu.
  void RaiseEvents(std::uint32_t notification, const TClickOutcome& told, TShiftState keys,
                   Point at);
  TShiftState ShiftFromKeyboard() const;
  Point CursorPos() const;
  void CycleStep();
  void ClickTimeout();
  void LeavePoll();
  void ApplicationWindowHook(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam);
  std::optional<std::intptr_t> OwnerWindowProc(std::uint32_t msg, std::uintptr_t wparam,
                                               std::intptr_t lparam);
  void SubclassOwner();

  bool design_preview_ = false;
  TImageList* icon_list_ = nullptr;  // refers to, does not own
  bool cycle_icons_ = false;
  unsigned cycle_interval_ = 0;
  bool enabled_ = true;
  std::string hint_;
  bool show_hint_ = true;
  std::unique_ptr<TIcon> icon_;
  int icon_index_ = 0;
  TPopupMenu* popup_menu_ = nullptr;  // refers to, does not own
  bool left_popup_ = false;
  bool want_enter_exit_ = false;
  bool minimize_to_tray_ = false;
  int notify_style_ = 0;

  std::unique_ptr<TNotifyIconEntry> entry_;
  TTrayClickTracker tracker_;
  std::unique_ptr<TLightTimer> cycle_timer_;
  std::unique_ptr<TLightTimer> click_timer_;
  std::unique_ptr<TLightTimer> leave_timer_;

  // The owner's window while it is subclassed, when the owner is a windowed control.
  TWinControl* owner_control_ = nullptr;
  WindowHandle owner_window_;
  SubclassHandle owner_subclass_;
  int application_hook_ = 0;
};

}  // namespace velocane
