// The real program under Wine: its windows are found as a user's tools find them.
#include <gtest/gtest.h>

#include <vector>

#include "tools/driver/driver.h"
// After windows.h, which they need.
#include <shellapi.h>
#include <winver.h>

namespace velocane {
namespace {

using driver::ClassOf;
using driver::TextOf;

TEST(MainWindowE2E, WindowsControlsAndCloseBox) {
  driver::RunningProgram program;
  HWND main = driver::WaitForWindow(program.ProcessId(), L"TForm1", L"Velocane", 30000);
  ASSERT_NE(main, nullptr) << "main window not found";
  HWND app = FindWindowW(L"TVelocaneApplication", L"Velocane 3.12");
  ASSERT_NE(app, nullptr) << "application window not found";
  EXPECT_EQ(GetWindow(main, GW_OWNER), app);

  // The controls come a moment after the window itself.
  HWND combo = driver::WaitForChild(main, L"ComboBox", L"", 10000);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(TextOf(combo), L"AUTO");
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 7);
  HWND check =
      driver::WaitForChild(main, L"Button", L"Enable acceleration on system startup", 10000);
  ASSERT_NE(check, nullptr);
  // Visibility counts the parents: the window is shown once start-up is done.
  ASSERT_TRUE(driver::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
  EXPECT_TRUE(IsWindowVisible(check));
  // With the window comes the application window's taskbar button (tests/e2e/taskbar_e2e_test.cpp).
  EXPECT_TRUE(IsWindowVisible(app));
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  int edits = 0, lists = 0, panels = 0, hidden_buttons = 0;
  const auto count = [&] {
    edits = lists = panels = hidden_buttons = 0;
    for (HWND child : driver::Children(main)) {
      const std::wstring cls = ClassOf(child);
      if (cls == L"Edit" && GetParent(child) == main) ++edits;
      if (cls == L"SysListView32") ++lists;
      if (cls == L"TVelocanePanel") ++panels;
      if (cls == L"Button" && !IsWindowVisible(child)) ++hidden_buttons;
    }
    return hidden_buttons >= 6;
  };
  // The hidden controls get their windows just after the window is shown.
  driver::WaitUntil(count, 5000);
  EXPECT_EQ(edits, 2);
  EXPECT_EQ(lists, 1);
  EXPECT_EQ(panels, 1);
  // Minimize, Launch Pellarin, About le program, and the translation's three.
  EXPECT_EQ(hidden_buttons, 6);

  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 405);
  EXPECT_EQ(client.bottom, 275);
  const LONG_PTR ex_style = GetWindowLongPtrW(main, GWL_EXSTYLE);
  EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex_style & WS_EX_TOPMOST);
  const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND warning = driver::WaitForMessageBox(program.ProcessId(), L"Warning", 30000);
  ASSERT_NE(warning, nullptr);
  driver::PressDialogButton(warning, IDYES);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(15000, &code)) << "the close box did not end the program";
  EXPECT_EQ(code, 0u);
}

// What Explorer shows of the file: its version and its icon.
TEST(MainWindowE2E, ExecutableCarriesVersionAndIcon) {
  const std::wstring path = driver::VelocanePath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  const auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
      return std::wstring();
    }
    return std::wstring(value, length > 0 ? length - 1 : 0);
  };
  EXPECT_EQ(text(L"FileVersion"), L"3.12.1680.0");
  EXPECT_EQ(text(L"ProductVersion"), L"3.12");
  EXPECT_EQ(text(L"ProductName"), L"Velocane");
  EXPECT_FALSE(text(L"FileDescription").empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, (3u << 16) | 12u);
  EXPECT_EQ(fixed->dwFileVersionLS, 1680u << 16);
  EXPECT_GE(ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0), 1u);
}

}  // namespace
}  // namespace velocane
