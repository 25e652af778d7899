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

std::unique_ptr<WidgetPeer> TForm::CreatePeer(WidgetFactory& factory, WidgetPeer*) {
  FormDesc desc{Describe(), border_style_, stay_on_top_,
                position_,  CenterOver(),  application_.Handle()};
  return factory.CreateForm(desc, *this, *this);
}

}  // namespace velocane
