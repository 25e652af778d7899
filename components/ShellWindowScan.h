#pragma once
// One poll of the shell's window collection. Each item is read once — its
// browser, address, title and window handle — the entries are updated and new
// windows added; then every entry is looked for among the handles this poll
// has read, and the entries whose window has gone are taken out. On Windows
// every call is a round trip to another process, so the poll makes at most one
// Count and five calls per item instead of searching the collection again for
// every entry.
#include <string>
#include <vector>

#include "components/uShellWindowObserver.h"
#include "platform/framework/exceptions.h"

namespace velocane {

// How a poll ended.
enum class TPollEnd {
  kRead,         // Count answered; the poll went as far as it could
  kCountFailed,  // Count failed: nothing was read
  kUnusable,     // the collection will never answer: its server is gone, or it lacks the call
};

// What any way of polling does to the observer: its entries, numbers, log lines
// and events, and the collection's own calls. A step-by-step poll that the
// tests compare the observer's poll with is built on the same steps.
class TShellWindowScanSteps {
 public:
  // "http", "ftp" or "gopher" anywhere in `s`.
  static bool IsWebAddress(const std::string& s);
  // Every occurrence of `old_text`, left to right without overlap; the
  // inserted text is not searched again.
  static std::string ReplaceAll(const std::string& s, const std::string& old_text,
                                const std::string& new_text);

 protected:
  explicit TShellWindowScanSteps(TShellWindowObserver& observer) : observer_(observer) {}

  // A call on the collection failed in a way that will not change: its
  // server is gone, or the collection does not implement the call (Wine's own
  // answers E_NOTIMPL to Count and Item). It is no OLE error on purpose: the
  // search of a purge must not take it for a closed window and drop entries
  // whose windows are still open.
  class ECollectionUnusable : public Exception {
   public:
    using Exception::Exception;
  };

  // Runs one poll, which sets `counted` once the collection's Count has
  // answered. Any error ends it silently; what was done before stays done.
  template <class Poll>
  static TPollEnd Guarded(Poll&& poll) {
    bool counted = false;
    try {
      poll(counted);
    } catch (const ECollectionUnusable&) {
      return TPollEnd::kUnusable;
    } catch (...) {
      if (!counted) return TPollEnd::kCountFailed;
    }
    return TPollEnd::kRead;
  }
  // Count and Item on the collection itself; a failure that will not change
  // raises ECollectionUnusable.
  static int CountOf(ShellWindows& collection);
  static BrowserRef BrowserAt(ShellWindows& collection, int index);
  // The browser under examination, shared by every observer.
  BrowserRef& CurrentBrowserSlot() { return observer_.CurrentBrowserSlot(); }

  bool LoggingDirs() const { return observer_.LoggingDirs; }
  std::vector<TShellWindowRef>& WindowList() { return observer_.window_list_; }
  // A new entry for the browser under examination, with the next number.
  void AddWindow(const std::string& url, const std::string& title, WindowHandle h);
  void LogEntry(TShellWindow& e);
  // The end of a purge: the event, when it took entries out.
  void EndPurge(bool removed);

 private:
  int NextNumber() const;

  TShellWindowObserver& observer_;
};

// The observer's poll.
class TShellWindowScan : public TShellWindowScanSteps {
 public:
  explicit TShellWindowScan(TShellWindowObserver& observer) : TShellWindowScanSteps(observer) {}

  // The whole tick.
  TPollEnd Scan(ShellWindows& collection);

 private:
  // One item of the collection as this poll saw it.
  struct TSeenItem {
    BrowserRef browser;  // null for a nil item
    WindowHandle hwnd;
    // The handle is read with the item unless the filter left the window out
    // or a described error skipped it; the purge reads it when it needs it.
    bool hwnd_read = false;
  };
  void CheckWindow(TSeenItem& item);
  void Purge();
  // Whether `item` is the window `h`, reading its handle first if the poll has not yet.
  static bool IsWindow(TSeenItem& item, WindowHandle h);

  std::vector<TSeenItem> seen_;
};

}  // namespace velocane
