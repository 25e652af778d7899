#pragma once
// TShellWindowObserver follows the windows of the shell's window collection: it
// polls the collection every 75 ms, keeps one numbered entry per top-level
// browser window, notices new windows, changed addresses and closed windows,
// reports them through two events and keeps a log line per reported entry.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/component.h"
#include "platform/shell.h"

namespace velocane {

class TTimer;
struct TShellWindowsShared;

enum class TShellMessage { smClose, smMaximize, smMinimize, smRestore };

// One observed browser window.
struct TShellWindow {
  std::int32_t Number = 0;  // 1-based position, rewritten by every purge
  WindowHandle Hwnd;        // the entry's identity
  std::string URL;          // with every "%20" made a blank
  std::string Title;
  BrowserRef Browser;  // the browser through which the window was first seen
};
// Entries are shared with the views that show them: an entry taken out of the
// list stays valid until the last view that refers to it has rebuilt.
using TShellWindowRef = std::shared_ptr<TShellWindow>;

using TOnAddedEntry =
    std::function<void(TComponent& Sender, TShellWindow& ShellWindow, const std::string& Str)>;
using TOnChangedNumber = std::function<void(TComponent& Sender, int Number)>;

class TShellWindowObserver : public TComponent {
 public:
  // The poll interval; fixed, not a property.
  static constexpr unsigned kPollInterval = 75;
  // The log keeps the most recent lines only: with two tabs of one window at
  // different addresses it would otherwise grow by two lines every poll.
  static constexpr std::size_t kEntryLogLimit = 1000;
  // The collection is made at the first poll, not at construction: making it
  // takes a while and would hold up the main window. Without one (no shell
  // yet, or the shell went away) the observer tries again after this many
  // poll intervals, 40 × 75 ms = 3 s, and its timer waits them out in one
  // tick: a program without a shell wakes up every 3 s, not every 75 ms.
  static constexpr int kReconnectTicks = 40;
  static constexpr unsigned kReconnectInterval = kReconnectTicks * kPollInterval;
  // A collection whose Count fails at every poll for 3 s (40 polls in a row)
  // is dropped and made again like a missing one, instead of costing a
  // failing call into the shell's process every 75 ms for ever. One that
  // does not implement its calls at all is dropped at once.
  static constexpr int kFailedCountsBeforeDrop = 40;

  explicit TShellWindowObserver(TComponent* owner, std::string name = {});
  ~TShellWindowObserver() override;

  // Properties in their stored order.
  bool LoggingDirs = false;
  TOnAddedEntry OnAddedEntry;
  TOnChangedNumber OnChangedNumber;
  char Delimiter = ',';
  bool Active = false;
  TShellMessage SendAMessage() const { return send_a_message_; }
  void SetSendAMessage(TShellMessage value);

  // The WM_SYSCOMMAND command that goes with SendAMessage.
  std::uint16_t SysCommand() const { return sys_command_; }
  // The entries in the order they were found. The owner reads them; only the observer changes them.
  const std::vector<TShellWindowRef>& WindowList() const { return window_list_; }
  int WindowCount() const { return static_cast<int>(window_list_.size()); }
  // One line per reported entry, oldest first.
  const std::deque<std::string>& EntryLog() const { return entry_log_; }

  // The poll timer's handler: one scan when Active.
  void TimerTick(TComponent& sender);

  // The process-wide collection and the browser under examination, shared by
  // every observer; released when the last observer goes. There is no
  // collection before the first poll.
  static ShellWindowsRef ShellWindowsObject();
  static BrowserRef CurrentBrowser();

 private:
  friend class TShellWindowScanSteps;
  // Creates the collection unless the process has one. A failure leaves it
  // without; the poll kReconnectInterval later tries again.
  void ConnectShellWindows();
  // The collection will not answer: drop it and connect again later.
  void DropShellWindows();
  // Written by every item a scan visits.
  BrowserRef& CurrentBrowserSlot();

  // Held from construction, so the collection lives while any observer does;
  // released after the entries, whose browsers came from it.
  std::shared_ptr<TShellWindowsShared> shared_;
  TShellMessage send_a_message_ = TShellMessage::smClose;
  std::uint16_t sys_command_ = 0;
  std::deque<std::string> entry_log_;
  std::vector<TShellWindowRef> window_list_;
  TTimer* poll_timer_ = nullptr;  // owned (component ownership)
};

}  // namespace velocane
