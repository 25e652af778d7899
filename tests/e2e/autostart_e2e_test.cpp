// The start at log-on and the single-instance guard on the real system.
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
  // The window is shown once start-up has read the state; a pointer reaches it from then on.
  if (s.main != nullptr) WaitUntil([&] { return IsWindowVisible(s.main) != FALSE; }, 10000);
  return s;
}

void CloseAnsweringYes(Started& s) {
  PostMessageW(s.main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(s.program->ProcessId(), L"Warning", 30000);
  ASSERT_NE(warning, nullptr);
  PressDialogButton(warning, IDYES);
  EXPECT_TRUE(s.program->WaitForExit(15000));
}

bool Checked(HWND check) { return SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class AutostartE2E : public ::testing::Test {
 protected:
  // A task or Run value left behind would start the program at Wine's next boot.
  void SetUp() override {
    ASSERT_TRUE(RemoveTask(L"Velocane")) << "the task service cannot be reached";
    DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"Velocane");
  }
  void TearDown() override { RemoveTask(L"Velocane"); }
  RegistrySnapshot snapshot_{InternetSettingsPlaces({{HKEY_LOCAL_MACHINE, kRun, L"Velocane"}})};
};

TEST_F(AutostartE2E, ARealClickRegistersTheTaskRestartShowsItUncheckingRemovesIt) {
  {
    Started s = Launch();
    ASSERT_NE(s.check, nullptr);
    EXPECT_FALSE(Checked(s.check));
    ASSERT_TRUE(RealClick(CenterOf(s.check)));
    EXPECT_TRUE(WaitUntil([&] { return Checked(s.check); }, 10000)) << "the click did not arrive";
    EXPECT_TRUE(WaitUntil([] { return TaskRegistered(L"Velocane") == true; }, 10000))
        << "no task registered";
    EXPECT_NE(GetFileAttributesW(TaskFile(L"Velocane").c_str()), INVALID_FILE_ATTRIBUTES);
    // The task, and only the task, starts the program.
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane"), std::nullopt);
    CloseAnsweringYes(s);
  }
  {
    Started s = Launch();
    ASSERT_NE(s.check, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Checked(s.check); }, 10000)) << "restart shows no task";
    ASSERT_TRUE(RealClick(CenterOf(s.check)));
    EXPECT_TRUE(WaitUntil([] { return TaskRegistered(L"Velocane") == false; }, 10000))
        << "the task is still there";
    EXPECT_FALSE(Checked(s.check));
    EXPECT_EQ(GetFileAttributesW(TaskFile(L"Velocane").c_str()), INVALID_FILE_ATTRIBUTES);
    CloseAnsweringYes(s);
  }
  Started s = Launch();
  ASSERT_NE(s.check, nullptr);
  EXPECT_FALSE(Checked(s.check));
  CloseAnsweringYes(s);
}

TEST_F(AutostartE2E, AnEarlierVersionsRunValueGivesWayToTheTask) {
  // Left by an earlier version: the program starts with the box checked and
  // the task in the value's place.
  WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"C:\\Old\\velocane.exe\" /Auto");
  Started s = Launch();
  ASSERT_NE(s.check, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return Checked(s.check); }, 10000));
  EXPECT_TRUE(WaitUntil([] { return TaskRegistered(L"Velocane") == true; }, 10000));
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane"), std::nullopt);

  // One written while the task is there goes with the next check; unchecking
  // removes both.
  PostMessageW(s.check, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([] { return TaskRegistered(L"Velocane") == false; }, 10000));
  WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"C:\\Old\\velocane.exe\" /Auto");
  PostMessageW(s.check, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil(
      [] {
        return TaskRegistered(L"Velocane") == true &&
               !ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane").has_value();
      },
      10000));
  WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"C:\\Old\\velocane.exe\" /Auto");
  PostMessageW(s.check, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil(
      [] {
        return TaskRegistered(L"Velocane") == false &&
               !ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane").has_value();
      },
      10000));
  CloseAnsweringYes(s);
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
