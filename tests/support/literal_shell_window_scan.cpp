#include "tests/support/literal_shell_window_scan.h"

namespace velocane {

TPollEnd TLiteralShellWindowScan::Scan(ShellWindows& collection) {
  return Guarded([&](bool& counted) {
    ScanItems(collection, counted);
    Purge(collection);
  });
}

void TLiteralShellWindowScan::ScanItems(ShellWindows& collection, bool& counted) {
  const int n = CountOf(collection);
  counted = true;
  for (int i = 0; i < n; ++i) {
    CurrentBrowserSlot() = BrowserAt(collection, i);
    CheckWindow();
  }
}

void TLiteralShellWindowScan::CheckWindow() {
  const BrowserRef browser = TShellWindowObserver::CurrentBrowser();
  if (!browser) return;
  try {
    const std::string url = ReplaceAll(browser->LocationURL(), "%20", " ");
    const std::string title = browser->LocationName();
    if (!LoggingDirs() && !IsWebAddress(url)) return;
    WindowHandle h = browser->Hwnd();
    bool found = false;
    auto& list = WindowList();
    for (std::size_t k = 0; k < list.size(); ++k) {
      const TShellWindowRef e = list[k];
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

void TLiteralShellWindowScan::Purge(ShellWindows& collection) {
  auto& list = WindowList();
  std::size_t i = 0;
  int next = 1;
  bool removed = false;
  while (i < list.size()) {
    const WindowHandle h = list[i]->Hwnd;
    bool found = false;
    try {
      const int n = CountOf(collection);
      for (int j = 0; j < n; ++j) {
        BrowserRef& current = CurrentBrowserSlot();
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
  EndPurge(removed);
}

}  // namespace velocane
