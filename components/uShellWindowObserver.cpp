#include "components/uShellWindowObserver.h"

#include "components/ShellWindowScan.h"
#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/timer.h"
#include "platform/messages.h"

namespace velocane {

namespace {

// What the observers of the process share.
struct SharedState {
  ShellWindowsRef shell_windows;
  bool shell_windows_exists = false;
  BrowserRef current_browser;
  int observers = 0;
  // Polls in a row at which the collection's Count failed.
  int failed_counts = 0;
};

SharedState& Shared() {
  static SharedState state;
  return state;
}

}  // namespace

ShellWindowsRef TShellWindowObserver::ShellWindowsObject() { return Shared().shell_windows; }

BrowserRef TShellWindowObserver::CurrentBrowser() { return Shared().current_browser; }

BrowserRef& TShellWindowObserver::CurrentBrowserSlot() { return Shared().current_browser; }

TShellWindowObserver::TShellWindowObserver(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {
  ++Shared().observers;
  try {
    LoggingDirs = false;
    Delimiter = ',';
    sys_command_ = sc::kClose;
    window_count_ = 0;
    poll_timer_ = new TTimer(this, "PollTimer");
    poll_timer_->SetInterval(kPollInterval);
    poll_timer_->SetEnabled(true);
    poll_timer_->SetOnTimer([this](TComponent& sender) { TimerTick(sender); });
  } catch (...) {
    --Shared().observers;
    throw;
  }
}

TShellWindowObserver::~TShellWindowObserver() {
  entry_log_.clear();
  window_list_.clear();
  delete poll_timer_;
  SharedState& shared = Shared();
  if (--shared.observers == 0) {
    shared.current_browser.reset();
    shared.shell_windows.reset();
    shared.shell_windows_exists = false;
    shared.failed_counts = 0;
  }
}

void TShellWindowObserver::ConnectShellWindows() {
  SharedState& shared = Shared();
  if (shared.shell_windows_exists) return;
  TApplication* app = Application();
  if (app == nullptr) return;
  // Without a shell the observer still works: the list stays empty until one answers.
  try {
    app->RequireCom();
    shared.shell_windows = app->Platform().shell.CreateShellWindows();
    shared.shell_windows_exists = true;
    shared.failed_counts = 0;
  } catch (const EOleSysError&) {
  }
}

void TShellWindowObserver::DropShellWindows() {
  SharedState& shared = Shared();
  shared.shell_windows.reset();
  shared.shell_windows_exists = false;
  shared.failed_counts = 0;
  poll_timer_->SetInterval(kReconnectInterval);
}

void TShellWindowObserver::SetSendAMessage(TShellMessage value) {
  if (value == send_a_message_) return;
  switch (value) {
    case TShellMessage::smClose:
      sys_command_ = sc::kClose;
      break;
    case TShellMessage::smMaximize:
      sys_command_ = sc::kMaximize;
      break;
    case TShellMessage::smMinimize:
      sys_command_ = sc::kMinimize;
      break;
    case TShellMessage::smRestore:
      sys_command_ = sc::kRestore;
      break;
  }
  send_a_message_ = value;
}

void TShellWindowObserver::TimerTick(TComponent&) {
  if (!Active) return;
  SharedState& shared = Shared();
  if (!shared.shell_windows_exists) {
    ConnectShellWindows();
    if (!shared.shell_windows_exists) {
      poll_timer_->SetInterval(kReconnectInterval);
      return;
    }
  }
  poll_timer_->SetInterval(kPollInterval);
  // Held for the whole scan, whatever the events do meanwhile.
  const ShellWindowsRef collection = shared.shell_windows;
  const TPollEnd end = TShellWindowScan(*this).Scan(*collection);
  // An event handler may have polled too, and dropped it or made another.
  if (shared.shell_windows != collection) return;
  switch (end) {
    case TPollEnd::kRead:
      shared.failed_counts = 0;
      break;
    case TPollEnd::kCountFailed:
      if (++shared.failed_counts >= kFailedCountsBeforeDrop) DropShellWindows();
      break;
    case TPollEnd::kUnusable:
      DropShellWindows();
      break;
  }
}

}  // namespace velocane
