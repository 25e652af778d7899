#pragma once
// One poll of the shell's window collection, step by step as the observer's
// rules give it: every item is read and compared with the entries, new windows
// are added, and every entry is looked for again to take out the closed ones.
// It is kept apart from the component so that a faster way of doing the same
// can stand in its place and be compared with this one.
#include <string>

#include "components/uShellWindowObserver.h"

namespace velocane {

class TShellWindowScan {
 public:
  explicit TShellWindowScan(TShellWindowObserver& observer) : observer_(observer) {}

  // The whole tick. Any error ends it silently; what was done before stays
  // done. Returns false when it ended because the collection's server is gone.
  bool Scan(ShellWindows& collection);

  // "http", "ftp" or "gopher" anywhere in `s`.
  static bool IsWebAddress(const std::string& s);
  // Every occurrence of `old_text`, left to right without overlap; the
  // inserted text is not searched again.
  static std::string ReplaceAll(const std::string& s, const std::string& old_text,
                                const std::string& new_text);

 private:
  void ScanItems(ShellWindows& collection);
  void CheckWindow();
  void AddWindow(const std::string& url, const std::string& title, WindowHandle h);
  void LogEntry(TShellWindow& e);
  void Purge(ShellWindows& collection);
  int NextNumber() const;
  // Count and Item on the collection itself. A server that has gone raises an
  // error of its own kind, which no inner guard takes for a closed window.
  static int CountOf(ShellWindows& collection);
  static BrowserRef BrowserAt(ShellWindows& collection, int index);

  TShellWindowObserver& observer_;
};

}  // namespace velocane
