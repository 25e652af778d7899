#include "platform/framework/application.h"

#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"
#include "platform/messages.h"

namespace velocane {

TApplication::TApplication(velocane::Platform& platform)
    : TComponent(nullptr), platform_(platform) {
  platform_.windowing.SetErrorHandler([this](std::exception_ptr error) { ShowException(error); });
}

TApplication::~TApplication() {
  // Forms and components first: they may still talk to the platform.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (window_) platform_.windowing.DestroyWindow(window_);
  platform_.windowing.SetErrorHandler(nullptr);
  if (window_) platform_.windowing.SetKeyPreview(nullptr);
  if (com_initialized_) platform_.com.Uninitialize();
}

void TApplication::Initialize() {
  if (window_) return;
  com_status_ = platform_.com.Initialize();
  // S_OK and S_FALSE (already initialised) both need a matching uninitialise.
  com_initialized_ = com_status_ >= 0;
  CreateWindowResult created = platform_.windowing.CreateHiddenWindow(
      kWindowClass, title_, false,
      [this](std::uint32_t msg, std::uintptr_t wparam,
             std::intptr_t lparam) -> std::optional<std::intptr_t> {
        // A copy: a hook may remove itself.
        const auto hooks = hooks_;
        for (const auto& hook : hooks) hook.second(msg, wparam, lparam);
        if (msg == kRunPosted) {
          RunPosted();
          return 0;
        }
        // The main form answers the end of the session in its own window.
        return std::nullopt;
      });
  if (!created.handle) {
    throw EOSError(created.error, platform_.process.SystemErrorText(created.error));
  }
  window_ = created.handle;
  platform_.windowing.SetKeyPreview(
      [this](WindowHandle target, const KeyStroke& key) { return PreviewKey(target, key); });
}

void TApplication::Post(std::weak_ptr<const int> lifetime, std::function<void()> task) {
  posted_.push_back(PostedTask{std::move(lifetime), std::move(task)});
  platform_.windowing.PostMessage(window_, kRunPosted, 0, 0);
}

void TApplication::RunPosted() {
  // One message, one task: a message that another program posts runs at
  // most one of ours early, and none when none waits.
  if (posted_.empty()) return;
  PostedTask posted = std::move(posted_.front());
  posted_.pop_front();
  if (!posted.lifetime.expired()) Guard(posted.task);
}

namespace {

TForm* FindForm(const TComponent& owner, WindowHandle window) {
  for (int i = 0; i < owner.ComponentCount(); ++i) {
    TComponent* component = owner.Components(i);
    if (auto* form = dynamic_cast<TForm*>(component)) {
      if (form->HandleAllocated() && form->Holds(window)) return form;
    }
    if (TForm* inner = FindForm(*component, window)) return inner;
  }
  return nullptr;
}

}  // namespace

TForm* TApplication::FormOf(WindowHandle window) const {
  return window ? FindForm(*this, window) : nullptr;
}

bool TApplication::PreviewKey(WindowHandle target, const KeyStroke& key) {
  TForm* form = FormOf(target);
  return form != nullptr && form->PreviewKey(key);
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (window_) platform_.windowing.SetWindowText(window_, title_);
}

void TApplication::RequireCom() const {
  if (com_status_ < 0) {
    throw EOleSysError(com_status_,
                       platform_.process.SystemErrorText(static_cast<unsigned>(com_status_)));
  }
}

int TApplication::Run() {
  // A quit posted before the loop runs (a second copy ending itself) is still
  // waiting in the queue; the loop shows the form and then takes it.
  if (main_form_ != nullptr && show_main_form_) main_form_->Show();
  const int exit_code = platform_.windowing.RunMessageLoop();
  terminated_ = true;
  return exit_code;
}

int TApplication::HookMainWindow(TWindowHook hook) {
  const int id = next_hook_++;
  hooks_.emplace_back(id, std::move(hook));
  return id;
}

void TApplication::UnhookMainWindow(int hook) {
  std::erase_if(hooks_, [&](const auto& entry) { return entry.first == hook; });
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  platform_.windowing.PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
  if (!platform_.windowing.ProcessPendingMessages()) terminated_ = true;
}

void TApplication::Minimize() {
  if (window_ && !Minimized()) platform_.windowing.ShowWindow(window_, showcmd::kMinimize);
}

void TApplication::Restore() {
  if (Minimized()) platform_.windowing.ShowWindow(window_, showcmd::kRestore);
}

bool TApplication::Minimized() const { return window_ && platform_.windowing.IsIconic(window_); }

void TApplication::MainFormShowing() {
  // Not activated: the main form is the window the user works in.
  if (window_ && !platform_.windowing.IsWindowVisible(window_)) {
    platform_.windowing.ShowWindow(window_, showcmd::kShowNoActivate);
  }
}

void TApplication::Guard(const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    ShowException(std::current_exception());
  }
}

void TApplication::ShowException(std::exception_ptr error) {
  std::string text = kUnknownErrorText;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& known) {
    text = known.what();
  } catch (...) {
  }
  MessageBox(text, title_, mb::kOk | mb::kIconError);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  WindowHandle owner =
      main_form_ != nullptr && main_form_->Visible() ? main_form_->Handle() : WindowHandle{};
  return platform_.windowing.MessageBox(owner, text, caption, flags);
}

void TApplication::FormDestroyed(TForm* form) {
  if (form == main_form_) main_form_ = nullptr;
}

}  // namespace velocane
