#pragma once
// Forms: top-level windows that host controls, with the create and close events.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/control.h"
#include "platform/framework/images.h"

namespace velocane {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseQueryEvent = std::function<void(TComponent& sender, bool& can_close)>;
using TCloseEvent = std::function<void(TComponent& sender, TCloseAction& action)>;

class TForm : public TWinControl, private FormSink {
 public:
  TForm(TApplication& application, std::string name);
  // A form owned by another component (a dialog owned by the main form),
  // freed with it unless freed first. Its window is made when first shown.
  TForm(TComponent* owner, std::string name);
  ~TForm() override;

  TApplication* Application() const override { return &application_; }

  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }
  // The client size at 96 DPI; the window takes it scaled to the form's DPI.
  void SetClientSize(int width, int height) {
    SetBounds(DesignBounds().left, DesignBounds().top, width, height);
  }
  // The DPI of the monitor the form is on (the system's until its window is
  // made); everything on the form is laid out and drawn at it.
  int FormDpi() const { return dpi_; }
  // Lays the form out at another DPI, as when it moves to a monitor of
  // another scale.
  void ChangeDpi(int dpi);
  // Runs after the form was laid out at another DPI: pictures made at a
  // size are made again.
  TNotifyEvent OnDpiChanged;
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  bool StayOnTop() const { return stay_on_top_; }
  void SetStayOnTop(bool on);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position);

  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control) { active_control_ = control; }

  // The keyboard. The controls the Tab key stops at now, in tab order: every
  // shown and enabled tab stop, windowless ones included, through the
  // controls that hold them.
  std::vector<TControl*> TabStops() const;
  // The control that has the keyboard focus, windowless ones included, or null.
  TControl* FocusedControl() const;
  // Moves the focus to the next (or previous) tab stop, round the end.
  void SelectNext(bool forward);
  // The keys the form handles before the focused window gets them: Tab and
  // Shift+Tab, Space and Enter on a windowless control, Enter for the
  // focused or default button, Escape in a modal form, Alt and a control's
  // access key. True when it used the key.
  bool PreviewKey(const KeyStroke& key);
  // Focus rectangles and underlined access keys show once the keyboard was
  // used, as the system shows them; a mouse user sees none.
  bool KeyboardCues() const { return keyboard_cues_; }
  void ShowKeyboardCues();
  // Whether `window` is the form's window or one of its controls'.
  bool Holds(WindowHandle window) const;

  // The icon of the caption; an empty picture leaves the class's own.
  TIcon& Icon() { return *icon_; }

  // Shows the form and returns only when it is closed again: meanwhile the
  // form that owns it (or the main form) is disabled, and the user works in
  // this one. The result is what ended it: a button's modal result,
  // mrCancel for the close box or the end of the program. Raises
  // EInvalidOperation for a form already shown.
  TModalResult ShowModal();
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modal_result_; }
  // Ends a modal showing with this result once the current message is handled.
  void SetModalResult(TModalResult result) { modal_result_ = result; }

  TNotifyEvent OnCreate;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;

  // Runs OnCreate; an error that escapes it is shown and creation goes on.
  void DoCreate();
  // Asks OnCloseQuery; true when the form may close.
  bool CloseQuery();
  // The close box: asks, then closes. Closing the main form ends the program;
  // a modal form ends its showing with mrCancel.
  void Close();

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;
  bool IsTopLevel() const override { return true; }
  void Notification(TComponent* component, TOperation operation) override;
  // A form first shown gets its window then.
  void VisibleChanged() override;
  // A form keeps its place on the screen; its size scales.
  Rect ScaleBounds(const Rect& design) const override;

 private:
  void PeerCloseRequested() override {
    UserInput([this] { Close(); });
  }
  bool PeerQueryEndSession() override;
  void PeerDpiChanged(int dpi, const Rect& suggested) override;
  // The window the form is centred over with poMainFormCenter.
  WindowHandle CenterOver() const;
  // The form whose window owns this one's and is disabled while it is modal.
  TForm* OwnerForm() const;
  WindowHandle OwnerWindow() const;
  // The first control in tab order that can take the focus.
  TWinControl* FirstTabStop(const TWinControl& container) const;
  // The arrows' move to the next (or previous) windowless tab stop of the
  // same parent, round the end.
  void MoveWithinRow(TControl& from, bool forward);
  // A modal showing ends: asks OnCloseQuery and OnClose; false keeps it open.
  bool CloseModal();

  TApplication& application_;
  std::unique_ptr<TIcon> icon_;
  bool modal_ = false;
  TModalResult modal_result_ = mrNone;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
  bool stay_on_top_ = false;
  TPosition position_ = TPosition::poDesigned;
  TWinControl* active_control_ = nullptr;
  bool keyboard_cues_ = false;
  int dpi_ = kDesignDpi;
};

}  // namespace velocane
