#pragma once
// Forms: top-level windows that host controls, with the create and close events.
#include <functional>
#include <string>

#include "platform/framework/control.h"

namespace velocane {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseQueryEvent = std::function<void(TComponent& sender, bool& can_close)>;
using TCloseEvent = std::function<void(TComponent& sender, TCloseAction& action)>;

class TForm : public TWinControl {
 public:
  TForm(TApplication& application, std::string name);
  ~TForm() override;

  TApplication* Application() const override { return &application_; }

  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }
  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  bool ToolWindow() const { return tool_window_; }
  void SetToolWindow(bool on) { tool_window_ = on; }
  bool StayOnTop() const { return stay_on_top_; }
  void SetStayOnTop(bool on) { stay_on_top_ = on; }
  bool Centered() const { return centered_; }
  void SetCentered(bool on) { centered_ = on; }

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
  WidgetDesc Describe() const override;
  void Notification(TComponent* component, TOperation operation) override;
  void PeerCloseRequested() override {
    UserInput([this] { Close(); });
  }
  bool PeerQueryEndSession() override;

 private:
  TApplication& application_;
  bool tool_window_ = false;
  bool stay_on_top_ = false;
  bool centered_ = false;
  TWinControl* active_control_ = nullptr;
};

}  // namespace velocane
