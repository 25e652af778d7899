#include "platform/framework/control.h"

#include <algorithm>

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"

namespace velocane {

TControl::TControl(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

TControl::~TControl() {
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_ != nullptr) parent_->InsertControl(this);
}

TForm* TControl::ParentForm() const {
  const TControl* control = this;
  while (control->parent_ != nullptr) control = control->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Rect bounds{left, top, left + width, top + height};
  if (bounds == bounds_) return;
  InvalidateParentArea();
  bounds_ = bounds;
  BoundsChanged();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  CaptionChanged();
}

void TControl::SetFont(const FontDesc& font) {
  if (font == font_) return;
  font_ = font;
  FontChanged();
}

void TControl::SetColor(Color color) {
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void TControl::Click() { Fire(OnClick); }

void TControl::Fire(const TNotifyEvent& event) {
  if (event) event(*this);
}

void TControl::UserInput(const std::function<void()>& action) {
  TApplication* app = Application();
  if (app == nullptr) {
    action();
    return;
  }
  app->Guard(action);
}

void TControl::Invalidate() {
  if (!visible_) return;
  InvalidateParentArea();
}

void TControl::InvalidateParentArea() {
  if (parent_ != nullptr && parent_->Peer() != nullptr) parent_->Peer()->Invalidate();
}

TWinControl::TWinControl(TComponent* owner, std::string name) : TControl(owner, std::move(name)) {}

TWinControl::~TWinControl() {
  // Children outlive nothing of ours: detach them before the peer goes.
  for (TControl* child : std::vector<TControl*>(controls_)) child->SetParent(nullptr);
  peer_.reset();
}

WindowHandle TWinControl::Handle() const { return peer_ ? peer_->Handle() : WindowHandle{}; }

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  // Put on a window that exists: it gets all its windows at once.
  if (peer_ != nullptr && control->IsWindowed()) {
    static_cast<TWinControl*>(control)->CreateAllHandles();
  }
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  if (captured_ == control) captured_ = nullptr;
  std::erase(controls_, control);
  if (control->IsWindowed()) static_cast<TWinControl*>(control)->peer_.reset();
  if (peer_ != nullptr) peer_->Invalidate();
}

ControlDesc TWinControl::Describe() const {
  return ControlDesc{Name(),    BoundsRect(), Caption(),   Visible(),
                     Enabled(), Font(),       BackColor(), HigherSiblingWindow()};
}

void TWinControl::CreateHandle() {
  if (peer_ != nullptr) return;
  TApplication* app = Application();
  if (app == nullptr) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  WidgetPeer* parent_peer = Parent() != nullptr ? Parent()->Peer() : nullptr;
  if (parent_peer == nullptr && !IsTopLevel()) return;  // made with the parent's handle
  peer_ = CreatePeer(app->Platform().widgets, parent_peer);
  for (TControl* child : controls_) {
    if (child->IsWindowed() && child->Visible()) static_cast<TWinControl*>(child)->CreateHandle();
  }
}

void TWinControl::CreateHiddenHandles() {
  if (peer_ == nullptr) return;
  for (TControl* child : controls_) {
    if (child->IsWindowed()) static_cast<TWinControl*>(child)->CreateAllHandles();
  }
}

void TWinControl::CreateAllHandles() {
  CreateHandle();
  CreateHiddenHandles();
}

WindowHandle TWinControl::HigherSiblingWindow() const {
  if (Parent() == nullptr) return {};
  const std::vector<TControl*>& siblings = Parent()->Controls();
  auto it = std::find(siblings.begin(), siblings.end(), this);
  if (it == siblings.end()) return {};
  for (++it; it != siblings.end(); ++it) {
    if ((*it)->IsWindowed() && static_cast<TWinControl*>(*it)->HandleAllocated()) {
      return static_cast<TWinControl*>(*it)->Handle();
    }
  }
  return {};
}

bool TWinControl::CanFocus() const {
  for (const TControl* control = this; control != nullptr; control = control->Parent()) {
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (TForm* form = ParentForm()) form->SetActiveControl(this);
  if (peer_ != nullptr) peer_->SetFocus();
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  int order = 0;
  for (const TControl* sibling : Parent()->Controls()) {
    if (sibling == this) return order;
    if (sibling->IsWindowed()) ++order;
  }
  return -1;
}

void TWinControl::BoundsChanged() {
  if (peer_ != nullptr) peer_->SetBounds(BoundsRect());
}

void TWinControl::VisibleChanged() {
  if (peer_ != nullptr) {
    peer_->SetVisible(Visible());
  } else if (Visible()) {
    CreateAllHandles();  // a child made hidden gets its windows when shown
  }
}

void TWinControl::EnabledChanged() {
  if (peer_ != nullptr) peer_->SetEnabled(Enabled());
}

void TWinControl::CaptionChanged() {
  if (peer_ != nullptr) peer_->SetText(Caption());
}

void TWinControl::FontChanged() {
  if (peer_ != nullptr) peer_->SetFont(Font());
}

void TWinControl::ColorChanged() {
  if (peer_ != nullptr) peer_->SetColor(BackColor());
}

void TWinControl::PeerPaint(Canvas& canvas) {
  UserInput([&] {
    PaintBackground(canvas);
    for (TControl* child : controls_) {
      if (!child->IsWindowed() && child->Visible()) child->Paint(canvas);
    }
  });
}

TControl* TWinControl::WindowlessAt(Point at) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* child = *it;
    if (!child->IsWindowed() && child->Visible() && child->BoundsRect().Contains(at)) return child;
  }
  return nullptr;
}

void TWinControl::PeerMouseDown(Point at) {
  captured_ = WindowlessAt(at);
  UserInput([&] {
    if (captured_ != nullptr && captured_->Enabled()) captured_->MouseDown(at);
  });
}

void TWinControl::PeerMouseUp(Point at) {
  TControl* target = captured_;
  captured_ = nullptr;
  UserInput([&] {
    if (target != nullptr && target->Enabled()) {
      target->MouseUp(at);
    } else if (target == nullptr) {
      Click();
    }
  });
}

}  // namespace velocane
