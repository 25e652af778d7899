// Page translation on the real program under Wine: a row of the real list is
// selected, the hidden translation controls are driven as their own windows
// would tell their parent, and the test's collection records what the
// browsers received.
#include "tests/support/browser_fixture.h"

namespace velocane::e2e {
namespace {

using namespace driver;

// Item positions in the language and server boxes.
constexpr int kEnglish = 0, kFrench = 1, kGerman = 2, kRussian = 6, kJapanese = 9;
constexpr RECT kLabel1{14, 94, 214, 107};  // on the panel

const std::string kAlphaPage = "http://alpha.example/list?cat=a&page=2#top";
const std::string kAlphaEncoded = "http%3A%2F%2Falpha.example%2Flist%3Fcat%3Da%26page%3D2%23top";

class TranslationE2E : public BrowserWindowsE2E {
 protected:
  explicit TranslationE2E(bool serve_browsers = false) : BrowserWindowsE2E(serve_browsers) {}

  // The hidden controls, found by the texts they start with; their windows
  // come just after the main window is shown.
  void FindControls() {
    const auto find = [&] {
      for (HWND child : Children(panel_)) {
        const std::wstring cls = ClassOf(child);
        const std::wstring text = TextOf(child);
        if (cls == L"ComboBox" && text == L"French") cb1_ = child;
        if (cls == L"ComboBox" && text == L"English") cb2_ = child;
        if (cls == L"ComboBox" && text == L"Server  5") server_box_ = child;
        if (cls == L"Button" && text == L"Translate   Now ") go_ = child;
        if (cls == L"Button" && text == L"Translate in New") new_ = child;
        if (cls == L"Button" && text == L"Close selected") close_ = child;
      }
      return cb1_ && cb2_ && server_box_ && go_ && new_ && close_;
    };
    WaitUntil(find, 5000);
    for (HWND control : {cb1_, cb2_, server_box_, go_, new_, close_}) {
      ASSERT_NE(control, nullptr);
      EXPECT_FALSE(IsWindowVisible(control));
    }
  }
  // View, then a click on the row; the program reports the selection.
  void SelectRow(int row) {
    Uncover();
    ClickListRow(list_, row);
    ASSERT_TRUE(WaitUntil([&] { return ListViewSelection(list_) == std::vector<int>{row}; }, 5000))
        << "row " << row << " was not selected";
  }
  void Choose(int source, int target, int server) {
    NotifyComboPicked(cb1_, source);
    NotifyComboPicked(cb2_, target);
    NotifyComboPicked(server_box_, server - 1);
    ASSERT_TRUE(WaitUntil(
        [&] { return TextOf(server_box_) == L"Server  " + std::to_wstring(server); }, 5000));
  }
  // The status line's pixels, as the screen shows them.
  std::vector<DWORD> Label1() const {
    POINT top_left{kLabel1.left, kLabel1.top};
    POINT bottom_right{kLabel1.right, kLabel1.bottom};
    ClientToScreen(panel_, &top_left);
    ClientToScreen(panel_, &bottom_right);
    return CaptureScreen(RECT{top_left.x, top_left.y, bottom_right.x, bottom_right.y});
  }
  // The status line shows something new.
  bool Label1Changes(const std::vector<DWORD>& before) const {
    return WaitUntil([&] { return Label1() != before; }, 5000);
  }
  // The browser received exactly these addresses.
  bool NavigationsBecome(int id, const std::vector<std::string>& expected) {
    const bool done = WaitUntil([&] { return server_.Navigations(id) == expected; }, 5000);
    if (!done) {
      ADD_FAILURE() << "browser " << id << " received "
                    << ::testing::PrintToString(server_.Navigations(id));
    }
    return done;
  }

  HWND cb1_ = nullptr;
  HWND cb2_ = nullptr;
  HWND server_box_ = nullptr;
  HWND go_ = nullptr;
  HWND new_ = nullptr;
  HWND close_ = nullptr;
};

TEST_F(TranslationE2E, TranslateNowSendsTheRequestToTheSelectedBrowser) {
  const int alpha = server_.Own("Alpha Page", kAlphaPage);
  const int beta = server_.Wine("http://beta.example/x?y=1");
  Launch();
  FindControls();
  ASSERT_TRUE(RowsBecome({{L"1", L"Alpha Page", std::wstring(kAlphaPage.begin(), kAlphaPage.end())},
                          {L"2", L"", L"http://beta.example/x?y=1"}},
                         10000, "two rows after start"));

  // Nothing selected: the status line asks for a row, no browser is sent anything.
  std::vector<DWORD> before = Label1();
  NotifyButtonClicked(go_);
  EXPECT_TRUE(Label1Changes(before)) << "no request for a selection";
  EXPECT_TRUE(server_.Navigations(alpha).empty());

  // Japanese into English on Server 7, to the system's browser of row 2.
  SelectRow(1);
  Choose(kJapanese, kEnglish, 7);
  NotifyButtonClicked(go_);
  const std::string server7 =
      "http://translate-7.example:2000/Translate/index.shtml?type=url&&from=jpn&&to=eng&&url="
      "http%3A%2F%2Fbeta.example%2Fx%3Fy%3D1";
  EXPECT_TRUE(NavigationsBecome(beta, {server7}));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const Rows rows = ListRows();
        return rows.size() == 2 && rows[1][2].rfind(L"http://translate-7.example:2000/", 0) == 0;
      },
      5000))
      << "the browser's new address: " << Show(ListRows());
  std::printf("the system's browser now shows %s\n", Show(ListRows()).c_str());

  // French into English on Server 1, to the own browser of row 1.
  SelectRow(0);
  Choose(kFrench, kEnglish, 1);
  before = Label1();
  NotifyButtonClicked(go_);
  const std::string server1 =
      "http://translate-1.example/systran/cgi?partner=demo-SystranSoft&&f=32&&urltext=" +
      kAlphaEncoded + "&&lp=fr_en";
  EXPECT_TRUE(NavigationsBecome(alpha, {server1}));
  ASSERT_TRUE(
      RowsBecome({{L"1", L"", std::wstring(server1.begin(), server1.end())}, ListRows().at(1)},
                 5000, "row 1 shows the translation"));
  EXPECT_EQ(Label1(), before) << "a request that is sent changes no text";

  // That page is a Server 1 translation now: it is not sent again.
  SelectRow(0);
  NotifyButtonClicked(go_);
  EXPECT_TRUE(Label1Changes(before));
  EXPECT_EQ(server_.Navigations(alpha), std::vector<std::string>{server1});
  EXPECT_TRUE(NoMessageBox());
}

class TranslationInNewE2E : public TranslationE2E {
 protected:
  TranslationInNewE2E() : TranslationE2E(true) {}
};

TEST_F(TranslationInNewE2E, TranslateInNewOpensABrowserThatGetsItsRow) {
  server_.Own("Alpha Page", kAlphaPage);
  Launch();
  FindControls();
  ASSERT_TRUE(
      RowsBecome({{L"1", L"Alpha Page", std::wstring(kAlphaPage.begin(), kAlphaPage.end())}}, 10000,
                 "one row after start"));

  // The start-up settings: French into English on Server 5.
  SelectRow(0);
  NotifyButtonClicked(new_);
  ASSERT_TRUE(WaitUntil([&] { return server_.Ids().size() == 2; }, 10000)) << "no new browser";
  const int opened = server_.Ids()[1];
  const std::string server5 =
      "http://translate-5.example/translate_c?sl=fr&&hl=en&&u=" + kAlphaEncoded;
  EXPECT_TRUE(NavigationsBecome(opened, {server5}));
  EXPECT_TRUE(IsWindowVisible(server_.WindowOf(opened)));
  EXPECT_TRUE(
      RowsBecome({ListRows().at(0), {L"2", L"", std::wstring(server5.begin(), server5.end())}},
                 5000, "the new browser's row"));

  // A pair Server 5 does not offer: the new window stays empty.
  Choose(kRussian, kGerman, 5);
  SelectRow(0);
  const std::vector<DWORD> before = Label1();
  NotifyButtonClicked(new_);
  ASSERT_TRUE(WaitUntil([&] { return server_.Ids().size() == 3; }, 10000)) << "no new browser";
  const int empty = server_.Ids()[2];
  EXPECT_TRUE(Label1Changes(before)) << "no refusal shown";
  EXPECT_TRUE(IsWindowVisible(server_.WindowOf(empty)));
  EXPECT_TRUE(server_.Navigations(empty).empty());
  EXPECT_TRUE(NoMessageBox());
}

TEST_F(TranslationE2E, CloseSelectedClosesTheChosenWindow) {
  server_.Own("Alpha Page", "http://alpha.example/");
  const int beta = server_.Own("Beta Page", "http://beta.example/");
  server_.Wine("http://gamma.example/");
  Launch();
  FindControls();
  ASSERT_TRUE(RowsBecome({{L"1", L"Alpha Page", L"http://alpha.example/"},
                          {L"2", L"Beta Page", L"http://beta.example/"},
                          {L"3", L"", L"http://gamma.example/"}},
                         10000, "three rows after start"));
  const HWND beta_window = server_.WindowOf(beta);
  SelectRow(1);
  NotifyButtonClicked(close_);
  EXPECT_TRUE(RowsBecome(
      {{L"1", L"Alpha Page", L"http://alpha.example/"}, {L"2", L"", L"http://gamma.example/"}},
      5000, "row 2 goes"));
  EXPECT_FALSE(IsWindow(beta_window));
  // The system's browser: its close command hides it, and the shell forgets it.
  SelectRow(1);
  NotifyButtonClicked(close_);
  EXPECT_TRUE(RowsBecome({{L"1", L"Alpha Page", L"http://alpha.example/"}}, 5000,
                         "the system's browser goes"));
  EXPECT_TRUE(NoMessageBox());
}

}  // namespace
}  // namespace velocane::e2e
