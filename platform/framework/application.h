#pragma once
// The application object: COM for the user-interface thread, the hidden
// application window that carries the title, the forms, the message loop and
// the error box for whatever escapes an event handler.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/component.h"
#include "platform/platform.h"

namespace velocane {

class TForm;

class TApplication : public TComponent {
 public:
  // The window class of the application window; the same in every copy of the program.
  static constexpr const char* kWindowClass = "TVelocaneApplication";

  explicit TApplication(velocane::Platform& platform);
  ~TApplication() override;

  velocane::Platform& Platform() const { return platform_; }
  TApplication* Application() const override { return const_cast<TApplication*>(this); }

  // Initialises COM (single-threaded apartment) and creates the application window.
  void Initialize();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  WindowHandle Handle() const { return window_; }

  // Makes a form owned by the application, creates its windows and runs its
  // OnCreate. The first form made is the main form.
  template <class F, class... Args>
  F& CreateForm(Args&&... args) {
    F* form = new F(*this, std::forward<Args>(args)...);
    if (main_form_ == nullptr) main_form_ = form;
    try {
      form->CreateHandle();
    } catch (...) {
      delete form;
      throw;
    }
    form->DoCreate();
    return *form;
  }
  TForm* MainForm() const { return main_form_; }

  // Shows the main form and dispatches messages until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages();

  void Minimize();
  void Restore();
  bool Minimized() const { return minimized_; }

  // Runs `action`; an error that escapes it is shown in the error box and swallowed.
  void Guard(const std::function<void()>& action);
  void ShowException(const std::exception& error);
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

 private:
  friend class TForm;
  void FormDestroyed(TForm* form);

  velocane::Platform& platform_;
  std::string title_;
  WindowHandle window_;
  bool com_initialized_ = false;
  bool terminated_ = false;
  bool minimized_ = false;
  TForm* main_form_ = nullptr;
};

}  // namespace velocane
