#pragma once
// Controls: TControl keeps a control's state (place, visibility, enabled state,
// caption, font, colour); TWinControl adds a peer, the system's window for it,
// and the children it hosts. Windowless controls paint on their parent.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/accessibility.h"
#include "platform/canvas.h"
#include "platform/framework/component.h"
#include "platform/widgets.h"
#include "platform/windowing.h"

namespace velocane {

class TWinControl;
class TForm;

// The DPI the form descriptions are given at.
constexpr int kDesignDpi = 96;

// An event slot: called synchronously when assigned, skipped when empty.
using TNotifyEvent = std::function<void(TComponent& sender)>;

// How a modal form ended, with the values of the system's dialog results.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

class TControl : public TComponent {
 public:
  TControl(TComponent* owner, std::string name);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  TForm* ParentForm() const;

  // Places are given at 96 dots per inch, as the form descriptions hold
  // them; on its window the control takes them scaled to its form's DPI.
  // BoundsRect and the sizes below are the scaled ones, in the parent's
  // client pixels; DesignBounds what was given.
  const Rect& BoundsRect() const { return bounds_; }
  const Rect& DesignBounds() const { return design_bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  void SetBounds(int left, int top, int width, int height);
  // The DPI of the control's form (96 without one), and a length given at 96
  // DPI scaled to it, as Windows scales (MulDiv).
  int Dpi() const;
  int Scaled(int length) const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // The font as given, its height at 96 DPI; ScaledFont the one it is drawn with.
  const FontDesc& Font() const { return font_; }
  FontDesc ScaledFont() const;
  void SetFont(const FontDesc& font);
  Color BackColor() const { return color_; }
  void SetColor(Color color);

  TNotifyEvent OnClick;
  // Performs the click: runs the control's click action, also when it is hidden.
  virtual void Click();

  virtual bool IsWindowed() const { return false; }
  // Windowless controls paint themselves on their parent's canvas, in the parent's coordinates.
  virtual void Paint(Canvas& /*canvas*/) {}
  virtual void MouseDown(Point /*at*/) {}
  virtual void MouseUp(Point /*at*/) {}
  // Asks for a repaint of the control's area.
  void Invalidate();

  // The keyboard. Whether the Tab key stops at the control.
  virtual bool TabStop() const { return false; }
  // The place in its parent's tab order (-1 without a parent); the order the
  // children were put on the parent unless set.
  int TabOrder() const;
  void SetTabOrder(int order);
  // The control and every parent are shown and enabled.
  bool CanFocus() const;
  // Raises EInvalidOperation when the control, or a parent, is hidden or disabled.
  virtual void SetFocus();
  // The keyboard's input goes to this control now.
  virtual bool Focused() const;
  // Keys for a windowless control that has the focus; true when it used them.
  virtual bool KeyDown(const KeyStroke& /*key*/) { return false; }
  virtual bool KeyUp(const KeyStroke& /*key*/) { return false; }
  // The letter that Alt reaches the control with, underlined in its caption
  // while the keyboard is in use; 0 for none.
  char Accelerator() const { return accelerator_; }
  void SetAccelerator(char letter);

  // What assistive technology is told of a windowless control; nothing for
  // one it need not know (a frame, a picture).
  virtual std::optional<AccElement> Accessible() const { return std::nullopt; }
  // A windowless control tells assistive technology of its change.
  void AccNotify(AccEvent event) const;
  // Expires when the control goes: work posted for later checks it first.
  std::weak_ptr<const int> Lifetime() const { return lifetime_; }

 protected:
  // Each setter calls the matching hook after changing the state, so the
  // windowed controls can mirror it into their peers.
  virtual void BoundsChanged() { Invalidate(); }
  // The DPI changed, or the control came onto a form of another: places and
  // fonts follow; controls with lengths of their own scale them too.
  virtual void ScaleChanged();
  // The place on the window for `design`: each edge scaled.
  virtual Rect ScaleBounds(const Rect& design) const;
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void CaptionChanged();
  virtual void FontChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  // Calls an event slot if assigned. Errors pass on to the caller, as they
  // would through a performed click.
  void Fire(const TNotifyEvent& event);
  // The user's input arrives here, as a message would: an error that escapes
  // the action is shown in the error box and the program goes on.
  void UserInput(const std::function<void()>& action);
  void InvalidateParentArea();
  // Takes a caption the peer already shows (the user typed it): no hooks run.
  void StoreCaption(const std::string& caption) { caption_ = caption; }
  // The state bits every element has: unavailable, invisible, focusable, focused.
  std::uint32_t AccState() const;

 private:
  friend class TWinControl;  // passes a change of scale down to its children
  TWinControl* parent_ = nullptr;
  Rect design_bounds_;
  Rect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  FontDesc font_;
  Color color_ = clBtnFace;
  char accelerator_ = 0;
  std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};

class TWinControl : public TControl, protected ContainerSink, private AccessibleContent {
 public:
  TWinControl(TComponent* owner, std::string name);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }
  // Children, lowest in the stacking order first.
  const std::vector<TControl*>& Controls() const { return controls_; }
  bool HandleAllocated() const { return peer_ != nullptr; }
  WidgetPeer* Peer() const { return peer_.get(); }
  WindowHandle Handle() const;

  // Creates the peer for this control and every visible windowed child (in
  // stacking order). A child control gets one once its parent has one; a
  // hidden child once it is shown, or with CreateHiddenHandles.
  void CreateHandle();
  // Creates the peers still missing below this control, hidden ones included.
  void CreateHiddenHandles();
  void SetFocus() override;
  bool Focused() const override;
  // Children in tab order.
  const std::vector<TControl*>& TabList() const { return tab_list_; }
  // The windowless child that has the focus while this control's window has
  // it, or null.
  TControl* FocusedChild() const { return focused_child_; }

 protected:
  // Makes this kind's peer: on `parent`, or top-level when `parent` is null
  // (forms only). Raises EOSError when the system refuses.
  virtual std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) = 0;
  virtual bool IsTopLevel() const { return false; }
  // What every kind's peer is made with.
  ControlDesc Describe() const;
  // The peer as the kind that CreatePeer made, or null without one.
  template <class P>
  P* PeerAs() const {
    return static_cast<P*>(peer_.get());
  }
  void BoundsChanged() override;
  void ScaleChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void CaptionChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  // Paints the control's own face before its windowless children.
  virtual void PaintBackground(Canvas& /*canvas*/) {}

  // ContainerSink: forms and panels paint their windowless children and hand
  // them the mouse. Errors are shown as for any other input.
  void PeerPaint(Canvas& canvas) override;
  void PeerMouseDown(Point at) override;
  void PeerMouseUp(Point at) override;
  void PeerFocus(bool focused) override;

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Makes `child` (windowless, or null) the one that has the focus within this control.
  void SetFocusedChild(TControl* child);

  // AccessibleContent: the windowless children that assistive technology is told of.
  std::vector<const TControl*> AccChildren() const;
  int AccChildCount() const override;
  AccElement AccChild(int index) const override;
  int AccFocusedChild() const override;
  int AccChildAt(Point at) const override;
  bool AccDoDefaultAction(int index) override;
  bool AccFocus(int index) override;
  int AccIndexOf(const TControl* child) const;
  void DestroyPeer();
  // The window of the nearest sibling above this control that has one.
  WindowHandle HigherSiblingWindow() const;
  // This control's window and every one missing below it, hidden ones too.
  void CreateAllHandles();
  TControl* WindowlessAt(Point at) const;

  std::vector<TControl*> controls_;
  std::vector<TControl*> tab_list_;
  std::unique_ptr<WidgetPeer> peer_;
  TControl* captured_ = nullptr;       // windowless child that took the mouse down
  TControl* focused_child_ = nullptr;  // windowless child the keyboard reaches
  bool has_focus_ = false;             // this control's window has the keyboard focus
};

}  // namespace velocane
