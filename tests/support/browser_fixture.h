#pragma once
// The real program under Wine with the test's own shell window collection,
// started before it, and the browser window list read from outside.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/driver/driver.h"
#include "tools/driver/shell_server.h"

namespace velocane::e2e {

using Rows = std::vector<std::vector<std::wstring>>;

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

inline std::string Show(const Rows& rows) {
  std::string text;
  for (const auto& row : rows) {
    text += "[";
    for (const auto& cell : row) text += " '" + std::string(cell.begin(), cell.end()) + "'";
    text += " ]";
  }
  return text;
}

class BrowserWindowsE2E : public ::testing::Test {
 protected:
  explicit BrowserWindowsE2E(bool serve_browsers = false)
      : snapshot_(driver::InternetSettingsPlaces()), server_(serve_browsers) {}

  // The program comes after the collection, as at log-on after the shell.
  void Launch() {
    program_ = std::make_unique<driver::RunningProgram>();
    main_ = driver::WaitForWindow(program_->ProcessId(), L"TForm1", L"Velocane", 30000);
    ASSERT_NE(main_, nullptr);
    list_ = driver::WaitForChild(main_, L"SysListView32", L"", 10000);
    panel_ = driver::WaitForChild(main_, L"TVelocanePanel", L"", 10000);
    ASSERT_NE(list_, nullptr);
    ASSERT_NE(panel_, nullptr);
    ASSERT_TRUE(driver::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000));
    for (HWND child : driver::Children(main_)) {
      if (driver::ClassOf(child) == L"Edit" && GetParent(child) == main_) memos_.push_back(child);
    }
    ASSERT_EQ(memos_.size(), 2u);
  }
  Rows ListRows() const { return driver::ListViewRows(list_, 3); }
  // Polls until the rows are `expected`; prints how long that took.
  bool RowsBecome(const Rows& expected, DWORD timeout_ms, const char* what) {
    const auto start = std::chrono::steady_clock::now();
    const bool done = driver::WaitUntil([&] { return ListRows() == expected; }, timeout_ms);
    std::printf("%s: %.2f s\n", what, Seconds(start));
    if (!done) ADD_FAILURE() << what << ": rows are " << Show(ListRows());
    return done;
  }
  bool Covered() const { return IsWindowVisible(memos_[0]) && IsWindowVisible(memos_[1]); }
  // View, and the list is uncovered.
  void Uncover() {
    driver::ClickAt(panel_, driver::kView.x, driver::kView.y);
    ASSERT_TRUE(driver::WaitUntil([&] { return !IsWindowVisible(memos_[0]); }, 5000))
        << "View did not uncover the list";
  }
  bool NoMessageBox() const {
    return driver::WaitForWindow(program_->ProcessId(), L"#32770", L"", 0) == nullptr;
  }

  driver::RegistrySnapshot snapshot_;
  driver::ShellServer server_;
  std::unique_ptr<driver::RunningProgram> program_;
  HWND main_ = nullptr;
  HWND list_ = nullptr;
  HWND panel_ = nullptr;
  std::vector<HWND> memos_;
};

}  // namespace velocane::e2e
