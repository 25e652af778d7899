#pragma once
// The application object: COM for the user-interface thread, the hidden
// application window that carries the title, the forms, the message loop and
// the error box for whatever escapes an event handler.
#include <deque>
#include <exception>
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

  // Initialises COM (single-threaded apartment) and creates the application
  // window. A failure of COM is kept for the features that need it.
  void Initialize();
  // The result of initialising COM; a COM user raises it with RequireCom.
  HResult ComStatus() const { return com_status_; }
  // Raises EOleSysError with the HRESULT when COM could not be initialised.
  void RequireCom() const;
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  WindowHandle Handle() const { return window_; }

  // Makes a form owned by the application, creates its windows, lets its
  // components take their settings (Loaded) and runs its OnCreate. The first
  // form made is the main form.
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
    form->LoadComponents();
    form->DoCreate();
    return *form;
  }
  TForm* MainForm() const { return main_form_; }

  // Shows the main form (unless told not to) and dispatches messages until
  // Terminate; returns the exit code the quit message carried.
  int Run();
  bool ShowMainForm() const { return show_main_form_; }
  void SetShowMainForm(bool show) { show_main_form_ = show; }

  // Observers of the application window's messages: each sees every message
  // before the application handles it, and none can consume one.
  using TWindowHook =
      std::function<void(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam)>;
  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int hook);
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages();

  // The application window carries the program's taskbar button: it is shown
  // with the main form (from the first start on), minimized with the
  // application and restored with it. Minimized is what the system says:
  // the user may have restored it from the taskbar meanwhile.
  void Minimize();
  void Restore();
  bool Minimized() const;

  // Runs `task` from the message loop once the current message is handled,
  // unless what `lifetime` belongs to has gone by then; an error is shown as
  // for any input.
  void Post(std::weak_ptr<const int> lifetime, std::function<void()> task);
  // Keys before the window they are for gets them: the keyboard navigation
  // of the form the window is on. True when the form used the key.
  bool PreviewKey(WindowHandle target, const KeyStroke& key);
  // The form whose window is `window` or holds it, or null.
  TForm* FormOf(WindowHandle window) const;

  // Runs `action`; an error of any kind that escapes it is shown in the error
  // box and swallowed.
  void Guard(const std::function<void()>& action);
  void ShowException(std::exception_ptr error);
  // The text the error box shows for an error that is no std::exception.
  static constexpr const char* kUnknownErrorText = "An unexpected error occurred.";
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

 private:
  friend class TForm;
  void FormDestroyed(TForm* form);
  void RunPosted();
  // The application window's message that runs one posted task.
  static constexpr std::uint32_t kRunPosted = 0x8000 + 1;  // WM_APP + 1
  // The main form is being shown: its taskbar button comes with it.
  void MainFormShowing();

  velocane::Platform& platform_;
  std::string title_;
  WindowHandle window_;
  bool com_initialized_ = false;
  HResult com_status_ = 0;
  bool terminated_ = false;
  bool show_main_form_ = true;
  std::vector<std::pair<int, TWindowHook>> hooks_;
  struct PostedTask {
    std::weak_ptr<const int> lifetime;
    std::function<void()> task;
  };
  std::deque<PostedTask> posted_;
  int next_hook_ = 1;
  TForm* main_form_ = nullptr;
};

}  // namespace velocane
