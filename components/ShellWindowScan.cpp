#include "components/ShellWindowScan.h"

#include <algorithm>
#include <cstdio>

#include "platform/framework/application.h"
#include "platform/framework/datetime.h"

namespace velocane {

namespace {

std::string Hex8(WindowHandle h) {
  char text[24];
  std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(h.value));
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// The steps every poll shares.
// ---------------------------------------------------------------------------

namespace {

// A failure of the collection's own call that the next poll would meet again.
bool ForGood(std::int32_t hr) { return ServerIsGone(hr) || hr == hresult::kNotImplemented; }

}  // namespace

int TShellWindowScanSteps::CountOf(ShellWindows& collection) {
  try {
    return collection.Count();
  } catch (const EOleSysError& error) {
    if (ForGood(error.ErrorCode())) throw ECollectionUnusable(error.what());
    throw;
  }
}

BrowserRef TShellWindowScanSteps::BrowserAt(ShellWindows& collection, int index) {
  ShellItemRef item;
  try {
    item = collection.Item(index);
  } catch (const EOleSysError& error) {
    if (ForGood(error.ErrorCode())) throw ECollectionUnusable(error.what());
    throw;
  }
  return item ? item->QueryBrowser() : nullptr;
}

bool TShellWindowScanSteps::IsWebAddress(const std::string& s) {
  return s.find("http") != std::string::npos || s.find("ftp") != std::string::npos ||
         s.find("gopher") != std::string::npos;
}

std::string TShellWindowScanSteps::ReplaceAll(const std::string& s, const std::string& old_text,
                                              const std::string& new_text) {
  if (old_text.empty()) return s;
  std::string result;
  std::size_t from = 0;
  for (std::size_t at; (at = s.find(old_text, from)) != std::string::npos;
       from = at + old_text.size()) {
    result.append(s, from, at - from);
    result += new_text;
  }
  result.append(s, from, std::string::npos);
  return result;
}

int TShellWindowScanSteps::NextNumber() const {
  int highest = 0;
  for (const TShellWindowRef& e : observer_.window_list_) highest = std::max(highest, e->Number);
  return highest + 1;
}

void TShellWindowScanSteps::AddWindow(const std::string& url, const std::string& title,
                                      WindowHandle h) {
  auto e = std::make_shared<TShellWindow>();
  e->Hwnd = h;
  e->Number = NextNumber();
  e->URL = url;
  e->Title = title;
  e->Browser = TShellWindowObserver::CurrentBrowser();
  observer_.window_list_.push_back(e);
  if (observer_.OnChangedNumber) observer_.OnChangedNumber(observer_, observer_.WindowCount());
  LogEntry(*e);
}

void TShellWindowScanSteps::LogEntry(TShellWindow& e) {
  const std::string d(1, observer_.Delimiter);
  std::string stamp;
  if (TApplication* app = observer_.Application()) {
    Process& process = app->Platform().process;
    stamp = DateTimeToStr(process, process.Now());
  }
  const std::string line = std::to_string(e.Number) + d + "-" + d + "Hwnd" + d + ":" + d +
                           Hex8(e.Hwnd) + d + e.URL + d + e.Title + d + stamp;
  observer_.entry_log_.push_back(line);
  while (observer_.entry_log_.size() > TShellWindowObserver::kEntryLogLimit) {
    observer_.entry_log_.pop_front();
  }
  if (observer_.OnAddedEntry) observer_.OnAddedEntry(observer_, e, line);
}

void TShellWindowScanSteps::EndPurge(bool removed) {
  if (removed && observer_.OnChangedNumber) {
    observer_.OnChangedNumber(observer_, observer_.WindowCount());
  }
}

// ---------------------------------------------------------------------------
// The observer's poll.
// ---------------------------------------------------------------------------

TPollEnd TShellWindowScan::Scan(ShellWindows& collection) {
  return Guarded([&](bool& counted) {
    const int n = CountOf(collection);
    counted = true;
    for (int i = 0; i < n; ++i) {
      BrowserRef& current = CurrentBrowserSlot();
      current = BrowserAt(collection, i);
      seen_.push_back(TSeenItem{current, {}, false});
      CheckWindow(seen_.back());
    }
    Purge();
  });
}

void TShellWindowScan::CheckWindow(TSeenItem& item) {
  // Held here: an event handler may start another poll, which overwrites the shared one.
  const BrowserRef browser = item.browser;
  if (!browser) return;
  try {
    const std::string url = ReplaceAll(browser->LocationURL(), "%20", " ");
    const std::string title = browser->LocationName();
    if (!LoggingDirs() && !IsWebAddress(url)) return;
    item.hwnd = browser->Hwnd();
    item.hwnd_read = true;
    bool found = false;
    // By index, and each entry held while its event runs: a handler may do anything.
    auto& list = WindowList();
    for (std::size_t k = 0; k < list.size(); ++k) {
      if (list[k]->Hwnd != item.hwnd) continue;
      const TShellWindowRef e = list[k];
      found = true;
      if (e->URL != url) {
        e->URL = url;
        e->Title = title;
        LogEntry(*e);
      }
    }
    // The handle just read is the window's: it does not change while the window lives.
    if (!found) AddWindow(url, title, item.hwnd);
  } catch (const EOleException&) {
    // This window is skipped for this tick.
  }
}

bool TShellWindowScan::IsWindow(TSeenItem& item, WindowHandle h) {
  if (!item.browser) return false;
  if (!item.hwnd_read) {
    item.hwnd = item.browser->Hwnd();
    item.hwnd_read = true;
  }
  return item.hwnd == h;
}

void TShellWindowScan::Purge() {
  auto& list = WindowList();
  std::size_t i = 0;
  int next = 1;
  bool removed = false;
  // The item at which the search for the last entry stopped: a search item by
  // item leaves it as the browser under examination.
  const TSeenItem* stopped_at = nullptr;
  while (i < list.size()) {
    const WindowHandle h = list[i]->Hwnd;
    bool found = false;
    try {
      for (TSeenItem& item : seen_) {
        stopped_at = &item;
        if (IsWindow(item, h)) {
          found = true;
          break;
        }
      }
    } catch (const EOleSysError&) {
      // Both kinds: the entry counts as closed.
      found = false;
    }
    if (found) {
      list[i]->Number = next;
      ++next;
      ++i;
    } else {
      removed = true;
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  if (stopped_at != nullptr) CurrentBrowserSlot() = stopped_at->browser;
  EndPurge(removed);
}

}  // namespace velocane
