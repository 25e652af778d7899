// The main job on the real registry: the program is operated from outside, as a user would.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "tools/driver/driver.h"

namespace velocane {
namespace {

using namespace driver;

// Where the flat buttons sit on the panel.

class AccelerationE2E : public ::testing::Test {
 protected:
  AccelerationE2E() : snapshot_(InternetSettingsPlaces()) {}

  static void StorePair(HKEY root, DWORD a, DWORD b) {
    WriteDWord(root, kSettings, L"MaxConnectionsPerServer", a);
    WriteDWord(root, kSettings, L"MaxConnectionsPer1_0Server", b);
  }
  static bool PairIs(HKEY root, DWORD a, DWORD b) {
    return ReadDWord(root, kSettings, L"MaxConnectionsPerServer") == a &&
           ReadDWord(root, kSettings, L"MaxConnectionsPer1_0Server") == b;
  }
  static bool BothRootsAre(DWORD a, DWORD b) {
    return PairIs(HKEY_CURRENT_USER, a, b) && PairIs(HKEY_CURRENT_CONFIG, a, b);
  }

  // Starts the program and waits for its window and controls.
  void Launch(const std::wstring& arguments = L"") {
    program_ = std::make_unique<RunningProgram>(arguments);
    main_ = WaitForWindow(program_->ProcessId(), L"TForm1", L"Velocane", 30000);
    ASSERT_NE(main_, nullptr);
    combo_ = WaitForChild(main_, L"ComboBox", L"", 10000);
    panel_ = WaitForChild(main_, L"TVelocanePanel", L"", 10000);
    ASSERT_NE(combo_, nullptr);
    ASSERT_NE(panel_, nullptr);
  }

  // The close box, then the answer to the question; the program must end.
  void CloseAnswering(int answer) {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    HWND warning = WaitForMessageBox(program_->ProcessId(), L"Warning", 30000);
    ASSERT_NE(warning, nullptr) << "no Warning box";
    // The defaults are back while the question is still open.
    EXPECT_TRUE(BothRootsAre(2, 4));
    PressDialogButton(warning, answer);
    if (answer == IDNO) {
      HWND second = WaitForMessageBox(program_->ProcessId(), L"Velocane 3.12", 10000);
      ASSERT_NE(second, nullptr) << "no second box after No";
      EXPECT_NE(WaitForChild(second, L"Static",
                             L"You have to start Velocane again to enable the acceleration "
                             L"function.",
                             5000),
                nullptr);
      PressDialogButton(second, IDOK);
    }
    DWORD code = 1;
    EXPECT_TRUE(program_->WaitForExit(15000, &code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
  }

  static double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
  }

  RegistrySnapshot snapshot_;
  std::unique_ptr<RunningProgram> program_;
  HWND main_ = nullptr;
  HWND combo_ = nullptr;
  HWND panel_ = nullptr;
};

// The waits of the first Accelerate and the first Stop after it, from the
// generator: printed beside the durations seen, for the record (not checked).
struct Expected {
  unsigned accelerate_ms = 2800;
  unsigned stop_ms = 0;
  Expected() {
    std::uint32_t seed = 0;
    auto next = [&](std::uint32_t range) {
      seed = seed * 134775813u + 1u;
      return static_cast<unsigned>((std::uint64_t{range} * seed) >> 32);
    };
    for (int n = 0; n <= 100; ++n) accelerate_ms += 1 + next(5);
    for (int n = 0; n <= 100; ++n) stop_ms += 1 + next(360);
  }
};

TEST_F(AccelerationE2E, SelectingCableWritesBothRootsAndClosingRestoresTheDefaults) {
  StorePair(HKEY_CURRENT_USER, 2, 4);
  StorePair(HKEY_CURRENT_CONFIG, 2, 4);
  DeleteValue(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType");
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return TextOf(combo_) == L"AUTO"; }, 10000));

  const auto started = std::chrono::steady_clock::now();
  SelectComboItem(combo_, 5);  // "Cable" and its blanks
  ASSERT_TRUE(WaitUntil(
      [&] {
        return BothRootsAre(20, 20) &&
               ReadString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType") == L"Cable";
      },
      30000));
  const double took = Seconds(started);
  std::printf("[ timing ] select Cable -> Accelerate: %.2f s (generator: %.3f s requested)\n", took,
              Expected().accelerate_ms / 1000.0);
  // The bare name, not the item with its blanks.
  EXPECT_TRUE(WaitUntil([&] { return TextOf(combo_) == L"Cable"; }, 5000));

  CloseAnswering(IDNO);
  EXPECT_EQ(ReadString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType"), L"Cable");
}

TEST_F(AccelerationE2E, StoredCableIsRestoredAcceleratedAndStopped) {
  StorePair(HKEY_CURRENT_USER, 2, 4);
  StorePair(HKEY_CURRENT_CONFIG, 2, 4);
  WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"Cable");
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return TextOf(combo_) == L"Cable"; }, 10000));

  auto started = std::chrono::steady_clock::now();
  ClickAt(panel_, kAccelerate.x, kAccelerate.y);
  ASSERT_TRUE(WaitUntil([&] { return BothRootsAre(20, 20); }, 30000));
  const double accelerate = Seconds(started);

  started = std::chrono::steady_clock::now();
  ClickAt(panel_, kStop.x, kStop.y);
  ASSERT_TRUE(WaitUntil([&] { return BothRootsAre(2, 4); }, 60000));
  const double stop = Seconds(started);
  const Expected expected;
  std::printf(
      "[ timing ] Accelerate: %.2f s (generator: %.3f s); Stop: %.2f s (generator: %.3f s)\n",
      accelerate, expected.accelerate_ms / 1000.0, stop, expected.stop_ms / 1000.0);

  CloseAnswering(IDYES);
}

TEST_F(AccelerationE2E, AutoStartAppliesTheStoredPairAndHidesTheWindow) {
  StorePair(HKEY_CURRENT_USER, 2, 4);
  StorePair(HKEY_CURRENT_CONFIG, 2, 4);
  WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"ADSL");
  Launch(L"/Auto");
  ASSERT_TRUE(WaitUntil([&] { return BothRootsAre(16, 16); }, 30000));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 10000)) << "window still shown";
  CloseAnswering(IDYES);
}

TEST_F(AccelerationE2E, LogOffWritesTheDefaultsWithoutAsking) {
  StorePair(HKEY_CURRENT_USER, 20, 20);
  StorePair(HKEY_CURRENT_CONFIG, 20, 20);
  Launch();
  DWORD_PTR may_end = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                  10000, &may_end));
  EXPECT_EQ(may_end, TRUE);
  EXPECT_TRUE(BothRootsAre(2, 4));
  EXPECT_EQ(WaitForMessageBox(program_->ProcessId(), L"Warning", 500), nullptr);
  EXPECT_TRUE(program_->Running());
  CloseAnswering(IDYES);
}

}  // namespace
}  // namespace velocane
