#pragma once
// A simulated shell: browser windows that a test opens, navigates, retitles and
// closes, listed in a window collection; items that are no browser; any single
// call made to fail with either error kind, also on one window's objects; the
// shell going away and coming back; and a count and, on request, a journal of
// every call, for the cost of a poll.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/shell.h"
#include "platform/sim/sim_windowing.h"

namespace velocane::sim {

// The places where the program calls the shell.
enum class ShellCall {
  kCreateShellWindows,
  kCount,
  kItem,
  kQueryBrowser,
  kLocationURL,
  kLocationName,
  kHwnd,
  kNavigate,
  kVisible,
  kCreateBrowser,
};
constexpr std::size_t kShellCallKinds = 10;
const char* ShellCallName(ShellCall call);

class SimShell : public Shell {
 public:
  explicit SimShell(SimWindowing& windowing);
  ~SimShell() override;
  SimShell(const SimShell&) = delete;
  SimShell& operator=(const SimShell&) = delete;

  ShellWindowsRef CreateShellWindows() override;
  BrowserRef CreateBrowser() override;

  // Test side. Windows are named by the id these calls return.
  // A browser window joins the end of the collection: a visible top-level
  // window of its own, or one more item that reports `shared_hwnd` (tabs of one window).
  int Open(const std::u16string& url, const std::u16string& title = {},
           WindowHandle shared_hwnd = {});
  // Items that are no browser window: one without IWebBrowser2, and a nil one.
  int AddForeignItem();
  int AddNilItem();
  // The page changes, as a user's navigation changes it.
  void Navigate(int id, const std::u16string& url, const std::u16string& title);
  void Retitle(int id, const std::u16string& title);
  // The window closes and leaves the collection; its browser objects answer
  // RPC_E_DISCONNECTED from then on.
  void Close(int id);
  WindowHandle HwndOf(int id) const;
  bool IsOpen(int id) const;
  bool IsVisible(int id) const;
  // The addresses the window's browser received through Navigate, in order.
  const std::vector<std::u16string>& NavigationsOf(int id) const;
  // The ids of the collection's items, in its order.
  std::vector<int> Ids() const;

  // The `nth` next call at `call` fails with `hr`; with a description the
  // object supplies it as its error information (the OLE exception).
  void FailCall(ShellCall call, HResult hr, std::string description = {}, int nth = 1);
  // The same for the calls on the objects of window `id` only: QueryBrowser
  // on its item, and the calls on its browser objects.
  void FailCallOn(int id, ShellCall call, HResult hr, std::string description = {}, int nth = 1);
  // Failures asked for that have not happened yet; and forgetting them.
  int PendingFailures() const;
  void ClearFailures();
  // Every collection's Count and Item answer `hr` from now on (0: they work
  // again), as Wine's own collection answers E_NOTIMPL to both.
  void AnswerCollectionCalls(HResult hr) { collection_answer_ = hr; }
  // The shell goes away: every collection made so far answers
  // RPC_S_SERVER_UNAVAILABLE for good, and none can be made until StartServer.
  void StopServer();
  void StartServer();

  int Calls(ShellCall call) const { return calls_[static_cast<std::size_t>(call)]; }
  int TotalCalls() const;
  // Also empties the journal.
  void ResetCalls();
  // Every call in order with the window it went to or, for Item, asked for
  // (0 for Count, an index out of range and making objects), kept while `on`.
  struct CallRecord {
    ShellCall call;
    int id;
    bool operator==(const CallRecord&) const = default;
  };
  void KeepJournal(bool on) { keep_journal_ = on; }
  const std::vector<CallRecord>& Journal() const { return journal_; }
  // The window of a browser object this shell handed out; 0 for null or another object.
  static int IdOf(const ShellBrowser* browser);
  // Browser objects handed out and still referenced.
  int LiveBrowsers() const { return live_browsers_; }
  // Runs while a new browser is being made, as the system may run other
  // input while the program waits for it.
  std::function<void()> on_create_browser;

 private:
  friend class SimShellWindows;
  friend class SimShellItem;
  friend class SimBrowser;
  struct Window {
    int id = 0;
    enum class Kind { kBrowser, kForeign, kNil } kind = Kind::kBrowser;
    std::u16string url;
    std::u16string title;
    WindowHandle hwnd;
    bool own_hwnd = false;  // the shell made the top-level window and destroys it on close
    bool visible = true;
    bool open = true;
    std::vector<std::u16string> navigations;
  };
  struct Failure {
    int countdown;
    HResult hr;
    std::string description;
  };
  using Failures = std::array<std::deque<Failure>, kShellCallKinds>;
  struct WindowFailures {
    int id;
    Failures failures;
  };
  // Counts the call and raises the failure a test asked for, if it is due.
  void Enter(ShellCall call, int id = 0);
  // Counts down the failures of `pending`; the first that is due is taken out and returned.
  static std::optional<Failure> Due(std::deque<Failure>& pending);
  [[noreturn]] void Raise(HResult hr, const std::string& description = {}) const;
  int AddItem(std::shared_ptr<Window> window);
  WindowHandle MakeTopLevel(int id, bool visible);
  const Window& Find(int id) const;
  Window& Find(int id);

  SimWindowing& windowing_;
  std::vector<std::shared_ptr<Window>> items_;  // the collection's order
  std::vector<std::shared_ptr<Window>> closed_;
  int next_id_ = 1;
  bool server_running_ = true;
  HResult collection_answer_ = 0;
  int server_generation_ = 0;  // a collection of an earlier generation is dead
  std::array<int, kShellCallKinds> calls_{};
  Failures failures_;
  std::vector<WindowFailures> window_failures_;
  bool keep_journal_ = false;
  std::vector<CallRecord> journal_;
  int live_browsers_ = 0;
};

}  // namespace velocane::sim
