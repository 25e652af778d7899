#include "platform/framework/forms.h"

#include "platform/framework/application.h"

namespace velocane {

TForm::TForm(TApplication& application, std::string name)
    : TWinControl(&application, std::move(name)), application_(application) {
  SetVisible(false);
  SetColor(clBtnFace);
}

TForm::~TForm() { application_.FormDestroyed(this); }

void TForm::DoCreate() {
  if (OnCreate) application_.Guard([this] { OnCreate(*this); });
}

bool TForm::CloseQuery() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(*this, can_close);
  return can_close;
}

void TForm::Close() {
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

WidgetDesc TForm::Describe() const {
  WidgetDesc desc = TWinControl::Describe();
  desc.kind = WidgetKind::Form;
  desc.tool_window = tool_window_;
  desc.stay_on_top = stay_on_top_;
  desc.centered = centered_;
  desc.owner = application_.Handle();
  return desc;
}

}  // namespace velocane
