#pragma once
// Forms: top-level windows that host controls, with the create and close events.
#include <functional>
#include <string>

#include "platform/framework/control.h"

namespace velocane {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseQueryEvent = std::function<void(TComponent& sender, bool& can_close)>;
using TCloseEvent = std::function<void(TComponent& sender, TCloseAction& action)>;

class TForm : public TWinControl, private FormSink {
 public:
  TForm(TApplication& application, std::string name);
  ~TForm() override;

  TApplication* Application() const override { return &application_; }

  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }
  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  bool StayOnTop() const { return stay_on_top_; }
  void SetStayOnTop(bool on);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position);

  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control) { active_control_ = control; }

  TNotifyEvent OnCreate;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;

  // Runs OnCreate; an error that escapes it is shown and creation goes on.
  void DoCreate();
  // Asks OnCloseQuery; true when the form may close.
  bool CloseQuery();
  // The close box: asks, then closes. Closing the main form ends the program.
  void Close();

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;
  bool IsTopLevel() const override { return true; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void PeerCloseRequested() override {
    UserInput([this] { Close(); });
  }
  bool PeerQueryEndSession() override;
  // The window the form is centred over with poMainFormCenter.
  WindowHandle CenterOver() const;

  TApplication& application_;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
  bool stay_on_top_ = false;
  TPosition position_ = TPosition::poDesigned;
  TWinControl* active_control_ = nullptr;
};

}  // namespace velocane
