#include "components/ShellWindowScan.h"

#include <algorithm>
#include <cstdio>

#include "platform/framework/application.h"
#include "platform/framework/datetime.h"
#include "platform/framework/exceptions.h"

namespace velocane {

namespace {

// A call on the collection failed because its server is gone. It is no OLE
// error on purpose: the search of a purge must not take it for a closed window
// and drop entries whose windows are still open.
class ECollectionGone : public Exception {
 public:
  using Exception::Exception;
};

std::string Hex8(WindowHandle h) {
  char text[24];
  std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(h.value));
  return text;
}

}  // namespace

bool TShellWindowScan::Scan(ShellWindows& collection) {
  try {
    ScanItems(collection);
    Purge(collection);
  } catch (const ECollectionGone&) {
    return false;
  } catch (...) {
  }
  return true;
}

int TShellWindowScan::CountOf(ShellWindows& collection) {
  try {
    return collection.Count();
  } catch (const EOleSysError& error) {
    if (ServerIsGone(error.ErrorCode())) throw ECollectionGone(error.what());
    throw;
  }
}

BrowserRef TShellWindowScan::BrowserAt(ShellWindows& collection, int index) {
  ShellItemRef item;
  try {
    item = collection.Item(index);
  } catch (const EOleSysError& error) {
    if (ServerIsGone(error.ErrorCode())) throw ECollectionGone(error.what());
    throw;
  }
  return item ? item->QueryBrowser() : nullptr;
}

void TShellWindowScan::ScanItems(ShellWindows& collection) {
  const int n = CountOf(collection);
  for (int i = 0; i < n; ++i) {
    TShellWindowObserver::CurrentBrowserSlot() = BrowserAt(collection, i);
    CheckWindow();
  }
}

void TShellWindowScan::CheckWindow() {
  const BrowserRef browser = TShellWindowObserver::CurrentBrowser();
  if (!browser) return;
  try {
    const std::string url = ReplaceAll(browser->LocationURL(), "%20", " ");
    const std::string title = browser->LocationName();
    if (!observer_.LoggingDirs && !IsWebAddress(url)) return;
    WindowHandle h = browser->Hwnd();
    bool found = false;
    // By index, and each entry held while its event runs: a handler may do anything.
    for (std::size_t k = 0; k < observer_.window_list_.size(); ++k) {
      const TShellWindowRef e = observer_.window_list_[k];
      if (e->Hwnd != h) continue;
      found = true;
      if (url != e->URL) {
        e->URL = url;
        e->Title = title;
        LogEntry(*e);
      }
    }
    if (!found) {
      h = browser->Hwnd();
      AddWindow(url, title, h);
    }
  } catch (const EOleException&) {
    // This window is skipped for this tick.
  }
}

bool TShellWindowScan::IsWebAddress(const std::string& s) {
  return s.find("http") != std::string::npos || s.find("ftp") != std::string::npos ||
         s.find("gopher") != std::string::npos;
}

std::string TShellWindowScan::ReplaceAll(const std::string& s, const std::string& old_text,
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

int TShellWindowScan::NextNumber() const {
  int highest = 0;
  for (const TShellWindowRef& e : observer_.window_list_) highest = std::max(highest, e->Number);
  return highest + 1;
}

void TShellWindowScan::AddWindow(const std::string& url, const std::string& title, WindowHandle h) {
  auto e = std::make_shared<TShellWindow>();
  e->Hwnd = h;
  e->Number = NextNumber();
  e->URL = url;
  e->Title = title;
  e->Browser = TShellWindowObserver::CurrentBrowser();
  observer_.window_list_.push_back(e);
  observer_.window_count_ = static_cast<int>(observer_.window_list_.size());
  if (observer_.OnChangedNumber) observer_.OnChangedNumber(observer_, observer_.window_count_);
  LogEntry(*e);
}

void TShellWindowScan::LogEntry(TShellWindow& e) {
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
  observer_.window_count_ = static_cast<int>(observer_.window_list_.size());
  if (observer_.OnAddedEntry) observer_.OnAddedEntry(observer_, e, line);
}

void TShellWindowScan::Purge(ShellWindows& collection) {
  auto& list = observer_.window_list_;
  std::size_t i = 0;
  int next = 1;
  bool removed = false;
  while (i < list.size()) {
    const WindowHandle h = list[i]->Hwnd;
    bool found = false;
    try {
      const int n = CountOf(collection);
      for (int j = 0; j < n; ++j) {
        BrowserRef& current = TShellWindowObserver::CurrentBrowserSlot();
        current = BrowserAt(collection, j);
        if (current && current->Hwnd() == h) {
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
  observer_.window_count_ = static_cast<int>(list.size());
  if (removed && observer_.OnChangedNumber) {
    observer_.OnChangedNumber(observer_, observer_.window_count_);
  }
}

}  // namespace velocane
