#include "platform/framework/control.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"
#include "platform/framework/rounding.h"

namespace velocane {

TControl::TControl(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

TControl::~TControl() {
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  // On a form of another DPI, before its window is made.
  if (parent_ != nullptr && ScaleBounds(design_bounds_) != bounds_) ScaleChanged();
  if (parent_ != nullptr) parent_->InsertControl(this);
}

int TControl::Dpi() const {
  const TForm* form = ParentForm();
  return form != nullptr ? form->FormDpi() : kDesignDpi;
}

int TControl::Scaled(int length) const { return MulDiv(length, Dpi(), kDesignDpi); }

Rect TControl::ScaleBounds(const Rect& design) const {
  const int dpi = Dpi();
  return Rect{MulDiv(design.left, dpi, kDesignDpi), MulDiv(design.top, dpi, kDesignDpi),
              MulDiv(design.right, dpi, kDesignDpi), MulDiv(design.bottom, dpi, kDesignDpi)};
}

FontDesc TControl::ScaledFont() const {
  FontDesc font = font_;
  font.height = Scaled(font_.height);
  return font;
}

void TControl::ScaleChanged() {
  const Rect scaled = ScaleBounds(design_bounds_);
  if (scaled != bounds_) {
    InvalidateParentArea();
    bounds_ = scaled;
    BoundsChanged();
  }
  FontChanged();
}

TForm* TControl::ParentForm() const {
  const TControl* control = this;
  while (control->parent_ != nullptr) control = control->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  design_bounds_ = Rect{left, top, left + width, top + height};
  const Rect bounds = ScaleBounds(design_bounds_);
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

namespace {

// Controls that take a place in the tab order: the windowed ones, and the
// windowless ones the Tab key stops at; labels and pictures take none.
bool InTabOrder(const TControl* control) { return control->IsWindowed() || control->TabStop(); }

}  // namespace

int TControl::TabOrder() const {
  if (parent_ == nullptr) return -1;
  int order = 0;
  for (const TControl* sibling : parent_->tab_list_) {
    if (sibling == this) return order;
    if (InTabOrder(sibling)) ++order;
  }
  return -1;
}

void TControl::SetTabOrder(int order) {
  if (parent_ == nullptr) return;
  std::vector<TControl*>& list = parent_->tab_list_;
  std::erase(list, this);
  auto at = list.begin();
  for (int seen = 0; at != list.end() && (seen < order || !InTabOrder(*at)); ++at) {
    if (InTabOrder(*at)) ++seen;
  }
  list.insert(at, this);
}

bool TControl::CanFocus() const {
  for (const TControl* control = this; control != nullptr; control = control->Parent()) {
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return true;
}

void TControl::SetFocus() {
  if (!CanFocus() || parent_ == nullptr) {
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  // The keyboard reaches a windowless control through its parent's window.
  parent_->SetFocusedChild(this);
  parent_->TWinControl::SetFocus();
}

bool TControl::Focused() const {
  return parent_ != nullptr && parent_->focused_child_ == this && parent_->has_focus_;
}

void TControl::SetAccelerator(char letter) {
  accelerator_ = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  Invalidate();
}

void TControl::AccNotify(AccEvent event) const {
  if (IsWindowed() || parent_ == nullptr || !parent_->HandleAllocated()) return;
  const int index = parent_->AccIndexOf(this);
  TApplication* app = Application();
  if (index >= 0 && app != nullptr) {
    app->Platform().accessibility.Notify(parent_->Handle(), event, index);
  }
}

std::uint32_t TControl::AccState() const {
  std::uint32_t state = accstate::kNormal;
  if (!Enabled()) state |= accstate::kUnavailable;
  bool shown = true;
  for (const TControl* control = this; control != nullptr; control = control->Parent()) {
    shown = shown && control->Visible();
  }
  if (!shown) state |= accstate::kInvisible;
  if (TabStop() && CanFocus()) state |= accstate::kFocusable;
  if (Focused()) state |= accstate::kFocused;
  return state;
}

void TControl::VisibleChanged() {
  InvalidateParentArea();
  AccNotify(visible_ ? AccEvent::kShow : AccEvent::kHide);
}

void TControl::EnabledChanged() {
  Invalidate();
  AccNotify(AccEvent::kStateChange);
}

void TControl::CaptionChanged() {
  Invalidate();
  AccNotify(AccEvent::kNameChange);
}

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
  DestroyPeer();
}

void TWinControl::DestroyPeer() {
  if (peer_ == nullptr) return;
  // What a client still holds stops reaching these children before they go.
  if (TApplication* app = Application()) app->Platform().accessibility.Publish(Handle(), nullptr);
  peer_.reset();
  has_focus_ = false;
}

WindowHandle TWinControl::Handle() const { return peer_ ? peer_->Handle() : WindowHandle{}; }

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  tab_list_.push_back(control);
  // Put on a window that exists: it gets all its windows at once.
  if (peer_ != nullptr && control->IsWindowed()) {
    static_cast<TWinControl*>(control)->CreateAllHandles();
  }
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  if (captured_ == control) captured_ = nullptr;
  if (focused_child_ == control) focused_child_ = nullptr;
  std::erase(controls_, control);
  std::erase(tab_list_, control);
  if (control->IsWindowed()) static_cast<TWinControl*>(control)->DestroyPeer();
  if (peer_ != nullptr) peer_->Invalidate();
}

ControlDesc TWinControl::Describe() const {
  return ControlDesc{Name(),    BoundsRect(), Caption(),   Visible(),
                     Enabled(), ScaledFont(), BackColor(), HigherSiblingWindow()};
}

void TWinControl::CreateHandle() {
  if (peer_ != nullptr) return;
  TApplication* app = Application();
  if (app == nullptr) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  WidgetPeer* parent_peer = Parent() != nullptr ? Parent()->Peer() : nullptr;
  if (parent_peer == nullptr && !IsTopLevel()) return;  // made with the parent's handle
  peer_ = CreatePeer(app->Platform().widgets, parent_peer);
  // A window with parts of its own that have no window tells assistive
  // technology of them; the others keep the system's own answer.
  if (!AccChildren().empty()) app->Platform().accessibility.Publish(Handle(), this);
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

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (TForm* form = ParentForm()) form->SetActiveControl(this);
  if (peer_ != nullptr) peer_->SetFocus();
}

bool TWinControl::Focused() const { return has_focus_ && focused_child_ == nullptr; }

void TWinControl::SetFocusedChild(TControl* child) {
  if (child == focused_child_) return;
  TControl* previous = std::exchange(focused_child_, child);
  if (previous != nullptr) previous->Invalidate();
  if (child != nullptr) {
    child->Invalidate();
    // Moving within a window that has the focus already: no focus message follows.
    if (has_focus_) child->AccNotify(AccEvent::kFocus);
  }
}

void TWinControl::PeerFocus(bool focused) {
  has_focus_ = focused;
  if (focused_child_ == nullptr) return;
  focused_child_->Invalidate();
  if (focused) focused_child_->AccNotify(AccEvent::kFocus);
}

std::vector<const TControl*> TWinControl::AccChildren() const {
  std::vector<const TControl*> children;
  for (const TControl* child : controls_) {
    if (!child->IsWindowed() && child->Accessible()) children.push_back(child);
  }
  return children;
}

int TWinControl::AccChildCount() const { return static_cast<int>(AccChildren().size()); }

AccElement TWinControl::AccChild(int index) const {
  const std::vector<const TControl*> children = AccChildren();
  if (index < 0 || index >= static_cast<int>(children.size())) return {};
  return *children[static_cast<std::size_t>(index)]->Accessible();
}

int TWinControl::AccFocusedChild() const {
  return has_focus_ && focused_child_ != nullptr ? AccIndexOf(focused_child_) : -1;
}

int TWinControl::AccChildAt(Point at) const {
  const std::vector<const TControl*> children = AccChildren();
  for (int i = static_cast<int>(children.size()) - 1; i >= 0; --i) {
    const TControl* child = children[static_cast<std::size_t>(i)];
    if (child->Visible() && child->BoundsRect().Contains(at)) return i;
  }
  return -1;
}

bool TWinControl::AccDoDefaultAction(int index) {
  const std::vector<const TControl*> children = AccChildren();
  if (index < 0 || index >= static_cast<int>(children.size())) return false;
  auto* child = const_cast<TControl*>(children[static_cast<std::size_t>(index)]);
  TApplication* app = Application();
  if (app == nullptr || child->Accessible()->default_action.empty() || !child->CanFocus()) {
    return false;
  }
  // After the client's call: a command may run for seconds or open a box.
  app->Post(child->Lifetime(), [app, child] {
    if (child->CanFocus()) app->Guard([child] { child->Click(); });
  });
  return true;
}

bool TWinControl::AccFocus(int index) {
  const std::vector<const TControl*> children = AccChildren();
  if (index < 0 || index >= static_cast<int>(children.size())) return false;
  auto* child = const_cast<TControl*>(children[static_cast<std::size_t>(index)]);
  if (!child->TabStop() || !child->CanFocus()) return false;
  child->SetFocus();
  return true;
}

int TWinControl::AccIndexOf(const TControl* child) const {
  const std::vector<const TControl*> children = AccChildren();
  const auto it = std::find(children.begin(), children.end(), child);
  return it == children.end() ? -1 : static_cast<int>(it - children.begin());
}

void TWinControl::ScaleChanged() {
  TControl::ScaleChanged();
  for (TControl* child : controls_) child->ScaleChanged();
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
  if (peer_ != nullptr) peer_->SetFont(ScaledFont());
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
