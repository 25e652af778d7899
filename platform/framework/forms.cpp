#include "platform/framework/forms.h"

#include <algorithm>

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/rounding.h"
#include "platform/messages.h"

namespace velocane {

namespace {

TApplication& ApplicationOf(const TComponent* owner) {
  TApplication* app = owner != nullptr ? owner->Application() : nullptr;
  if (app == nullptr) throw EInvalidOperation("A form needs an owner in the application");
  return *app;
}

}  // namespace

TForm::TForm(TApplication& application, std::string name)
    : TWinControl(&application, std::move(name)),
      application_(application),
      icon_(std::make_unique<TIcon>(application.Platform().notify_area)),
      dpi_(application.Platform().widgets.SystemDpi()) {
  SetVisible(false);
  SetColor(clBtnFace);
  icon_->OnChange = [this] {
    if (auto* peer = PeerAs<FormPeer>()) peer->SetIcon(icon_->Handle());
  };
}

TForm::TForm(TComponent* owner, std::string name)
    : TWinControl(owner, std::move(name)),
      application_(ApplicationOf(owner)),
      icon_(std::make_unique<TIcon>(application_.Platform().notify_area)),
      dpi_(application_.Platform().widgets.SystemDpi()) {
  SetVisible(false);
  SetColor(clBtnFace);
  icon_->OnChange = [this] {
    if (auto* peer = PeerAs<FormPeer>()) peer->SetIcon(icon_->Handle());
  };
}

TForm::~TForm() {
  // The window lets go of the icon before the icon goes.
  if (auto* peer = PeerAs<FormPeer>()) peer->SetIcon(IconHandle{});
  application_.FormDestroyed(this);
}

void TForm::DoCreate() {
  if (OnCreate) application_.Guard([this] { OnCreate(*this); });
}

bool TForm::CloseQuery() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(*this, can_close);
  return can_close;
}

void TForm::Close() {
  if (modal_) {
    // The modal loop asks and closes.
    modal_result_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action =
      application_.MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
  if (OnClose) OnClose(*this, action);
  if (action == TCloseAction::caNone) return;
  if (application_.MainForm() == this) {
    application_.Terminate();
  } else if (action == TCloseAction::caMinimize) {
    application_.Minimize();
  } else {
    Hide();
  }
}

bool TForm::PeerQueryEndSession() {
  // The session ends whatever the handler meets; an error is shown first.
  bool can_close = true;
  UserInput([&] { can_close = CloseQuery(); });
  return can_close;
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == active_control_) active_control_ = nullptr;
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  if (auto* peer = PeerAs<FormPeer>()) peer->SetBorderStyle(style);
}

void TForm::SetStayOnTop(bool on) {
  if (on == stay_on_top_) return;
  stay_on_top_ = on;
  if (auto* peer = PeerAs<FormPeer>()) peer->SetStayOnTop(on);
}

void TForm::SetPosition(TPosition position) {
  if (position == position_) return;
  position_ = position;
  if (auto* peer = PeerAs<FormPeer>()) peer->SetPosition(position, CenterOver());
}

WindowHandle TForm::CenterOver() const {
  const TForm* main = application_.MainForm();
  return main != nullptr && main != this ? main->Handle() : WindowHandle{};
}

TForm* TForm::OwnerForm() const {
  if (auto* owner = dynamic_cast<TForm*>(Owner())) return owner;
  TForm* main = application_.MainForm();
  return main != this ? main : nullptr;
}

WindowHandle TForm::OwnerWindow() const {
  // Owned by the form that owns it, it stays above that one, also above a
  // form that stays on top.
  const auto* owner = dynamic_cast<const TForm*>(Owner());
  return owner != nullptr && owner->HandleAllocated() ? owner->Handle() : application_.Handle();
}

std::unique_ptr<WidgetPeer> TForm::CreatePeer(WidgetFactory& factory, WidgetPeer*) {
  FormDesc desc{Describe(),   border_style_, stay_on_top_,   position_,
                CenterOver(), OwnerWindow(), icon_->Handle()};
  std::unique_ptr<FormPeer> peer = factory.CreateForm(desc, *this, *this);
  // Made on a monitor of another DPI than the system's: laid out at its
  // DPI before the controls get their windows.
  if (const int dpi = peer->Dpi(); dpi > 0 && dpi != dpi_) {
    dpi_ = dpi;
    ScaleChanged();
    peer->SetBounds(BoundsRect());
    peer->SetFont(ScaledFont());
    Fire(OnDpiChanged);
  }
  return peer;
}

Rect TForm::ScaleBounds(const Rect& design) const {
  return Rect{design.left, design.top, design.left + MulDiv(design.Width(), dpi_, kDesignDpi),
              design.top + MulDiv(design.Height(), dpi_, kDesignDpi)};
}

void TForm::ChangeDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  ScaleChanged();
  Fire(OnDpiChanged);
}

void TForm::PeerDpiChanged(int dpi, const Rect&) {
  UserInput([&] { ChangeDpi(dpi); });
}

void TForm::VisibleChanged() {
  if (Visible() && !HandleAllocated()) CreateHandle();
  if (Visible() && application_.MainForm() == this) application_.MainFormShowing();
  TWinControl::VisibleChanged();
  if (Visible()) {
    // The window is painted before its hidden controls get theirs, so it shows
    // complete as early as it can.
    PeerAs<FormPeer>()->Update();
    CreateHiddenHandles();
  }
}

TWinControl* TForm::FirstTabStop(const TWinControl& container) const {
  for (TControl* child : container.TabList()) {
    auto* windowed = child->IsWindowed() ? static_cast<TWinControl*>(child) : nullptr;
    if (windowed == nullptr || !windowed->CanFocus()) continue;
    if (windowed->TabStop()) return windowed;
    if (TWinControl* inner = FirstTabStop(*windowed)) return inner;
  }
  return nullptr;
}

bool TForm::CloseModal() {
  if (!CloseQuery()) return false;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(*this, action);
  return action != TCloseAction::caNone;
}

TModalResult TForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  TForm* owner = OwnerForm();
  const bool disable_owner = owner != nullptr && owner->Enabled();
  // Whatever happens from here on, the owner comes back and this form goes.
  struct Restore {
    TForm& form;
    TForm* owner;
    bool enable_owner;
    // The owner first: hidden while it is still disabled, the form would
    // hand the activation to some other program.
    ~Restore() {
      form.modal_ = false;
      if (enable_owner) owner->SetEnabled(true);
      form.Hide();
    }
  } restore{*this, owner, disable_owner};
  if (disable_owner) owner->SetEnabled(false);
  modal_ = true;
  modal_result_ = mrNone;
  Show();
  if (active_control_ == nullptr) active_control_ = FirstTabStop(*this);
  if (active_control_ != nullptr && active_control_->CanFocus()) active_control_->SetFocus();
  Windowing& windowing = application_.Platform().windowing;
  for (;;) {
    const bool ended = windowing.RunModalLoop(Handle(), [this] { return modal_result_ != mrNone; });
    if (!ended) {
      // The program ends, or nothing is left that could close the form.
      if (modal_result_ == mrNone) modal_result_ = mrCancel;
      application_.Guard([this] { CloseModal(); });
      break;
    }
    bool close = true;
    application_.Guard([&] { close = CloseModal(); });
    if (close) break;
    modal_result_ = mrNone;
  }
  return modal_result_;
}

namespace {

void CollectTabStops(const TWinControl& container, std::vector<TControl*>& stops) {
  for (TControl* child : container.TabList()) {
    if (!child->Visible() || !child->Enabled()) continue;
    if (child->TabStop()) stops.push_back(child);
    if (child->IsWindowed()) CollectTabStops(*static_cast<TWinControl*>(child), stops);
  }
}

const TWinControl* FindWindowed(const TWinControl& container, WindowHandle window) {
  if (container.HandleAllocated() && container.Handle() == window) return &container;
  for (const TControl* child : container.Controls()) {
    if (!child->IsWindowed()) continue;
    if (const TWinControl* found = FindWindowed(*static_cast<const TWinControl*>(child), window)) {
      return found;
    }
  }
  return nullptr;
}

// The control of `container` or below it whose access key is `letter`.
TControl* FindAccelerator(const TWinControl& container, char letter) {
  for (TControl* child : container.TabList()) {
    if (!child->Visible() || !child->Enabled()) continue;
    if (child->Accelerator() == letter) return child;
    if (child->IsWindowed()) {
      if (TControl* inner = FindAccelerator(*static_cast<TWinControl*>(child), letter)) {
        return inner;
      }
    }
  }
  return nullptr;
}

void InvalidateAll(const TWinControl& container) {
  if (container.Peer() != nullptr) container.Peer()->Invalidate();
  for (const TControl* child : container.Controls()) {
    if (child->IsWindowed()) InvalidateAll(*static_cast<const TWinControl*>(child));
  }
}

}  // namespace

std::vector<TControl*> TForm::TabStops() const {
  std::vector<TControl*> stops;
  CollectTabStops(*this, stops);
  return stops;
}

bool TForm::Holds(WindowHandle window) const { return FindWindowed(*this, window) != nullptr; }

TControl* TForm::FocusedControl() const {
  const WindowHandle focused = application_.Platform().windowing.FocusedWindow();
  const TWinControl* holder = focused ? FindWindowed(*this, focused) : nullptr;
  if (holder == nullptr) return nullptr;
  if (TControl* child = holder->FocusedChild()) return child;
  return const_cast<TWinControl*>(holder);
}

void TForm::SelectNext(bool forward) {
  const std::vector<TControl*> stops = TabStops();
  if (stops.empty()) return;
  const auto at = std::find(stops.begin(), stops.end(), FocusedControl());
  std::size_t next = 0;
  if (at == stops.end()) {
    next = forward ? 0 : stops.size() - 1;
  } else {
    const std::size_t index = static_cast<std::size_t>(at - stops.begin());
    next = forward ? (index + 1) % stops.size() : (index + stops.size() - 1) % stops.size();
  }
  stops[next]->SetFocus();
}

void TForm::MoveWithinRow(TControl& from, bool forward) {
  std::vector<TControl*> row;
  for (TControl* stop : TabStops()) {
    if (!stop->IsWindowed() && stop->Parent() == from.Parent()) row.push_back(stop);
  }
  const auto at = std::find(row.begin(), row.end(), &from);
  if (at == row.end()) return;
  const std::size_t index = static_cast<std::size_t>(at - row.begin());
  const std::size_t next =
      forward ? (index + 1) % row.size() : (index + row.size() - 1) % row.size();
  UserInput([&] { row[next]->SetFocus(); });
}

void TForm::ShowKeyboardCues() {
  if (keyboard_cues_) return;
  keyboard_cues_ = true;
  if (auto* peer = PeerAs<FormPeer>()) peer->ShowKeyboardCues();
  InvalidateAll(*this);
}

bool TForm::PreviewKey(const KeyStroke& key) {
  if (key.key == vk::kMenu || key.key == vk::kTab || key.key == vk::kLeft ||
      key.key == vk::kRight || key.key == vk::kUp || key.key == vk::kDown) {
    if (key.down) ShowKeyboardCues();
  }
  if (key.key == vk::kTab && !key.alt && !key.control) {
    if (key.down) UserInput([&] { SelectNext(!key.shift); });
    return true;
  }
  TControl* focused = FocusedControl();
  if (focused != nullptr && !focused->IsWindowed() && !key.alt) {
    // The arrows move along a row of windowless controls, as on a toolbar.
    const bool back = key.key == vk::kLeft || key.key == vk::kUp;
    if (back || key.key == vk::kRight || key.key == vk::kDown) {
      if (key.down) MoveWithinRow(*focused, !back);
      return true;
    }
    bool used = false;
    UserInput([&] { used = key.down ? focused->KeyDown(key) : focused->KeyUp(key); });
    if (used) return true;
  }
  if (!key.down) return false;
  if (key.key == vk::kEscape && modal_ && !key.alt) {
    modal_result_ = mrCancel;
    return true;
  }
  if (key.alt && !key.control && key.key >= 'A' && key.key <= 'Z') {
    TControl* target = FindAccelerator(*this, static_cast<char>(key.key));
    if (target == nullptr) return false;
    ShowKeyboardCues();
    UserInput([target] {
      target->SetFocus();
      target->Click();
    });
    return true;
  }
  return false;
}

}  // namespace velocane
