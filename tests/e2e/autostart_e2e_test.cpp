// Autostart and the single-instance guard on the real system.
#include <gtest/gtest.h>

#include "tools/driver/driver.h"

namespace velocane {
namespace {

using namespace driver;

const std::wstring kCheckCaption = L"Enable acceleration on system startup";

struct Started {
  std::unique_ptr<RunningProgram> program;
  HWND main = nullptr;
  HWND check = nullptr;
};

Started Launch() {
  Started s;
  s.program = std::make_unique<RunningProgram>();
  s.main = WaitForWindow(s.program->ProcessId(), L"TForm1", L"Velocane", 30000);
  if (s.main != nullptr) s.check = WaitForChild(s.main, L"Button", kCheckCaption, 10000);
  return s;
}

void CloseAnsweringYes(Started& s) {
  PostMessageW(s.main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(s.program->ProcessId(), L"Warning", 30000);
  ASSERT_NE(warning, nullptr);
  PressDialogButton(warning, IDYES);
  EXPECT_TRUE(s.program->WaitForExit(15000));
}

class AutostartE2E : public ::testing::Test {
 protected:
  // A Run entry left behind would start the program at Wine's next boot.
  RegistrySnapshot snapshot_{InternetSettingsPlaces({{HKEY_LOCAL_MACHINE, kRun, L"Velocane"}})};
};

TEST_F(AutostartE2E, CheckingWritesTheRunValueRestartShowsItUncheckingDeletesIt) {
  DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"Velocane");
  const std::wstring expected = L"\"" + VelocanePath() + L"\" /Auto";
  {
    Started s = Launch();
    ASSERT_NE(s.check, nullptr);
    EXPECT_EQ(SendMessageW(s.check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    PostMessageW(s.check, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane") == expected; }, 10000))
        << "Run value not written";
    CloseAnsweringYes(s);
  }
  {
    Started s = Launch();
    ASSERT_NE(s.check, nullptr);
    EXPECT_TRUE(
        WaitUntil([&] { return SendMessageW(s.check, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 10000));
    PostMessageW(s.check, BM_CLICK, 0, 0);
    EXPECT_TRUE(
        WaitUntil([&] { return !ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane"); }, 10000))
        << "Run value not deleted";
    CloseAnsweringYes(s);
  }
}

TEST_F(AutostartE2E, SecondCopyEndsAndTheFirstKeepsRunning) {
  Started first = Launch();
  ASSERT_NE(first.main, nullptr);
  WriteDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", 20);
  WriteDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server", 20);

  RunningProgram second;
  DWORD code = 1;
  EXPECT_TRUE(second.WaitForExit(15000, &code)) << "the second copy kept running";
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(first.program->Running());
  // Which window ends up in front is not checked here: the second copy shows
  // its own window for a moment before it ends, so the result depends on
  // timing. The simulation checks the activation calls themselves.
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer"), 20u);
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server"), 20u);
  CloseAnsweringYes(first);
}

}  // namespace
}  // namespace velocane
