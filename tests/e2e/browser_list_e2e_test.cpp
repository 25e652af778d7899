// The browser window list of the real program under Wine, fed by the test's
// own shell window collection: rows, View, closing, navigation, and the
// collection's server going away and coming back.
#include <algorithm>

#include "tests/support/browser_fixture.h"

namespace velocane::e2e {
namespace {

using namespace driver;
using BrowserListE2E = BrowserWindowsE2E;

TEST_F(BrowserListE2E, ThreeWindowsAreListedAndViewUncoversThemForFiveSeconds) {
  server_.Own("Alpha Page", "http://alpha.example/a%20b%20c");
  server_.Wine("http://beta.example/");
  server_.Own("Gamma Page", "http://gamma.example/");
  Launch();
  ASSERT_TRUE(RowsBecome({{L"1", L"Alpha Page", L"http://alpha.example/a b c"},
                          {L"2", L"", L"http://beta.example/"},
                          {L"3", L"Gamma Page", L"http://gamma.example/"}},
                         10000, "three rows after start"));

  const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  const LRESULT extended = SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);

  EXPECT_TRUE(Covered());
  const auto pressed = std::chrono::steady_clock::now();
  Uncover();
  EXPECT_FALSE(IsWindowVisible(memos_[1]));
  EXPECT_TRUE(IsWindowVisible(list_));
  // The handler ends by showing and enabling the connection-type box again;
  // this process may look in between.
  HWND combo = nullptr;
  for (HWND child : Children(main_)) {
    if (ClassOf(child) == L"ComboBox" && GetParent(child) == main_) combo = child;
  }
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(combo) && IsWindowEnabled(combo); }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return Covered(); }, 15000)) << "the list was not covered again";
  std::printf("uncovered for %.2f s\n", Seconds(pressed));
  EXPECT_TRUE(NoMessageBox());
}

TEST_F(BrowserListE2E, AClosedWindowGoesAndANavigationShowsTheNewAddress) {
  const int alpha = server_.Own("Alpha Page", "http://alpha.example/");
  const int beta = server_.Own("Beta Page", "http://beta.example/");
  const int gamma = server_.Wine("http://gamma.example/");
  Launch();
  ASSERT_TRUE(RowsBecome({{L"1", L"Alpha Page", L"http://alpha.example/"},
                          {L"2", L"Beta Page", L"http://beta.example/"},
                          {L"3", L"", L"http://gamma.example/"}},
                         10000, "three rows after start"));
  server_.Command({"close", std::to_string(beta)});
  ASSERT_TRUE(RowsBecome(
      {{L"1", L"Alpha Page", L"http://alpha.example/"}, {L"2", L"", L"http://gamma.example/"}},
      5000, "window 2 closed"));
  server_.Command({"navigate", std::to_string(alpha), "http://alpha.example/next"});
  server_.Command({"navigate", std::to_string(gamma), "http://gamma.example/next"});
  EXPECT_TRUE(RowsBecome({{L"1", L"Alpha Page", L"http://alpha.example/next"},
                          {L"2", L"", L"http://gamma.example/next"}},
                         5000, "both navigated"));
  EXPECT_TRUE(NoMessageBox());
}

TEST_F(BrowserListE2E, TheCollectionsServerGoesAwayAndANewOneIsFollowed) {
  WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"Cable");
  WriteDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPerServer", 2);
  WriteDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPer1_0Server", 4);
  server_.Own("Alpha Page", "http://alpha.example/");
  server_.Own("Beta Page", "http://beta.example/");
  Launch();
  const Rows before = {{L"1", L"Alpha Page", L"http://alpha.example/"},
                       {L"2", L"Beta Page", L"http://beta.example/"}};
  ASSERT_TRUE(RowsBecome(before, 10000, "two rows after start"));

  server_.Kill();
  // A poll that was under way when the server died may still take out an
  // entry whose browser died with it; after that the list stays as it is.
  Sleep(300);
  const Rows frozen = ListRows();
  for (const auto& row : frozen) {
    EXPECT_TRUE(std::any_of(before.begin(), before.end(), [&](const auto& old) {
      return old[1] == row[1] && old[2] == row[2];
    })) << Show(frozen);
  }
  // The main job goes on: Accelerate writes the stored type's pair.
  ClickAt(panel_, kAccelerate.x, kAccelerate.y);
  EXPECT_TRUE(WaitUntil(
      [] {
        return ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer") == 20u &&
               ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server") == 20u;
      },
      30000))
      << "Accelerate did not write the pair without the shell";
  EXPECT_EQ(ListRows(), frozen) << "the list changed without a collection";
  EXPECT_TRUE(program_->Running());
  EXPECT_TRUE(NoMessageBox());

  ShellServer next;
  const auto started = std::chrono::steady_clock::now();
  next.Own("Delta Page", "http://delta.example/");
  EXPECT_TRUE(RowsBecome({{L"1", L"Delta Page", L"http://delta.example/"}}, 15000,
                         "following the new collection"));
  std::printf("new collection followed %.2f s after it came up\n", Seconds(started));
  EXPECT_TRUE(NoMessageBox());
}

}  // namespace
}  // namespace velocane::e2e
