#include "components/uShellWindowObserver.h"

#include "components/ShellWindowScan.h"
#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/process_wide.h"
#include "platform/framework/timer.h"
#include "platform/messages.h"

namespace velocane {

// What the observers of the process share, made by the first and released
// with the last: the collection (none before the first poll, or while the
// shell does not answer) and the browser under examination.
struct TShellWindowsShared {
  ShellWindowsRef shell_windows;
  BrowserRef current_browser;
  // Polls in a row at which the collection's Count failed.
  int failed_counts = 0;
};

namespace {

using Shared = TProcessWide<TShellWindowsShared>;

}  // namespace

ShellWindowsRef TShellWindowObserver::ShellWindowsObject() {
  const TShellWindowsShared* shared = Shared::Current();
  return shared != nullptr ? shared->shell_windows : nullptr;
}

BrowserRef TShellWindowObserver::CurrentBrowser() {
  const TShellWindowsShared* shared = Shared::Current();
  return shared != nullptr ? shared->current_browser : nullptr;
}

BrowserRef& TShellWindowObserver::CurrentBrowserSlot() { return shared_->current_browser; }

TShellWindowObserver::TShellWindowObserver(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)),
      shared_(Shared::Acquire([] { return std::make_shared<TShellWindowsShared>(); })) {
  LoggingDirs = false;
  Delimiter = ',';
  sys_command_ = sc::kClose;
  poll_timer_ = new TTimer(this, "PollTimer");
  poll_timer_->SetInterval(kPollInterval);
  poll_timer_->SetEnabled(true);
  poll_timer_->SetOnTimer([this](TComponent& sender) { TimerTick(sender); });
}

TShellWindowObserver::~TShellWindowObserver() {
  entry_log_.clear();
  window_list_.clear();
  delete poll_timer_;
}

void TShellWindowObserver::ConnectShellWindows() {
  TShellWindowsShared& shared = *shared_;
  if (shared.shell_windows) return;
  TApplication* app = Application();
  if (app == nullptr) return;
  // Without a shell the observer still works: the list stays empty until one answers.
  try {
    app->RequireCom();
    shared.shell_windows = app->Platform().shell.CreateShellWindows();
    shared.failed_counts = 0;
  } catch (const EOleSysError&) {
  }
}

void TShellWindowObserver::DropShellWindows() {
  TShellWindowsShared& shared = *shared_;
  shared.shell_windows.reset();
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
  TShellWindowsShared& shared = *shared_;
  if (!shared.shell_windows) {
    ConnectShellWindows();
    if (!shared.shell_windows) {
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
