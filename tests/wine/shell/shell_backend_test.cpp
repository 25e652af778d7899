// The Windows backend's shell calls against real COM under Wine: the test's
// own collection in another process, browser objects in this one, and the
// system's browser.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/framework/exceptions.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_platform.h"
#include "tools/driver/driver.h"
#include "tools/driver/shell_server.h"
#include "tools/shellserver/test_browser.h"

namespace velocane {
namespace {

class ShellBackend : public ::testing::Test {
 protected:
  ShellBackend() { CoInitialize(nullptr); }
  ~ShellBackend() override { CoUninitialize(); }

  Shell& shell = win32::Win32Platform().shell;
  driver::ShellServer server;  // started before the collection is asked for
};

TEST_F(ShellBackend, ItemsOfAnotherProcessAnswer) {
  const int a = server.Own("Page A", "http://a.example/x%20y");
  server.Command({"foreign"});
  server.Command({"nil"});
  ShellWindowsRef windows = shell.CreateShellWindows();
  ASSERT_NE(windows, nullptr);
  EXPECT_EQ(windows->Count(), 3);
  ShellItemRef item = windows->Item(0);
  ASSERT_NE(item, nullptr);
  BrowserRef browser = item->QueryBrowser();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->LocationURL(), "http://a.example/x%20y");  // as the browser gives it
  EXPECT_EQ(browser->LocationName(), "Page A");
  EXPECT_EQ(browser->Hwnd().value, reinterpret_cast<std::uintptr_t>(server.WindowOf(a)));
  ShellItemRef foreign = windows->Item(1);
  ASSERT_NE(foreign, nullptr);
  EXPECT_THROW(foreign->QueryBrowser(), EIntfCastError);
  EXPECT_EQ(windows->Item(2), nullptr);
  EXPECT_EQ(windows->Item(3), nullptr);
  EXPECT_EQ(windows->Item(-1), nullptr);
}

TEST_F(ShellBackend, TextsArriveInTheAnsiCodePageWhole) {
  std::string long_url = "http://long.example/";
  long_url.append(65536, 'x');
  // A-umlaut, the euro sign, a Chinese character and an emoji, in UTF-8.
  server.Own("\xC3\x84\xE2\x82\xAC\xE4\xB8\xAD\xF0\x9F\x98\x80", long_url);
  BrowserRef browser = shell.CreateShellWindows()->Item(0)->QueryBrowser();
  EXPECT_EQ(browser->LocationURL(), long_url);
  const std::string title = browser->LocationName();
  EXPECT_EQ(title.substr(0, 2), "\xC4\x80");
  EXPECT_EQ(title.find_first_not_of('?', 2), std::string::npos) << title;
  EXPECT_GE(title.size(), 3u);
}

TEST_F(ShellBackend, NavigateSendsTheAddressBackAsWideText) {
  const int a = server.Own("Page A", "http://a.example/");
  BrowserRef browser = shell.CreateShellWindows()->Item(0)->QueryBrowser();
  browser->Navigate("http://a.example/caf\xE9?x=1&y=\x80");
  const std::vector<std::string> received = server.Command({"navigations", std::to_string(a)});
  EXPECT_EQ(received, std::vector<std::string>{"http://a.example/caf\xC3\xA9?x=1&y=\xE2\x82\xAC"});
  EXPECT_EQ(browser->LocationURL(), "http://a.example/caf\xE9?x=1&y=\x80");
}

TEST_F(ShellBackend, AFailureInAnotherProcessCarriesItsHresult) {
  const int a = server.Own("Page A", "http://a.example/");
  BrowserRef browser = shell.CreateShellWindows()->Item(0)->QueryBrowser();
  server.Command({"fail", std::to_string(a), "LocationURL", "80004005"});
  try {
    browser->LocationURL();
    FAIL() << "no error";
  } catch (const EOleException& error) {
    FAIL() << "described without a description: " << error.what();
  } catch (const EOleSysError& error) {
    EXPECT_EQ(static_cast<std::uint32_t>(error.ErrorCode()), 0x80004005u);
    EXPECT_EQ(error.what(), win32::SystemErrorText(0x80004005u));
  }
  // A description set in the server's process: whether it travels with the
  // failure is the system's affair; the kind must match what arrived.
  server.Command({"fail", std::to_string(a), "HWND", "80004005", "Broken on purpose"});
  try {
    browser->Hwnd();
    FAIL() << "no error";
  } catch (const EOleException& error) {
    EXPECT_STREQ(error.what(), "Broken on purpose");
    std::printf("a description crosses processes\n");
  } catch (const EOleSysError& error) {
    EXPECT_EQ(error.what(), win32::SystemErrorText(0x80004005u));
    std::printf("a description does not cross processes here\n");
  }
  EXPECT_EQ(browser->LocationURL(), "http://a.example/");  // one failure only
}

TEST_F(ShellBackend, AGoneServerAnswersThatItIsGone) {
  server.Own("Page A", "http://a.example/");
  ShellWindowsRef windows = shell.CreateShellWindows();
  BrowserRef browser = windows->Item(0)->QueryBrowser();
  ASSERT_EQ(windows->Count(), 1);
  server.Kill();
  try {
    windows->Count();
    FAIL() << "no error";
  } catch (const EOleSysError& error) {
    EXPECT_TRUE(ServerIsGone(error.ErrorCode())) << std::hex << error.ErrorCode();
  }
  try {
    browser->LocationURL();
    FAIL() << "no error";
  } catch (const EOleSysError& error) {
    EXPECT_TRUE(ServerIsGone(error.ErrorCode())) << std::hex << error.ErrorCode();
  }
  driver::ShellServer next;
  next.Own("Page B", "http://b.example/");
  ShellWindowsRef again = shell.CreateShellWindows();
  EXPECT_EQ(again->Count(), 1);
  EXPECT_EQ(again->Item(0)->QueryBrowser()->LocationName(), "Page B");
}

// A browser object in this process: the description it leaves travels with the failure.
class InProcessBrowser : public ShellBackend {
 protected:
  class Factory final : public IClassFactory {
   public:
    explicit Factory(shellserver::TestBrowser* browser) : browser_(browser) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
      if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
      }
      *object = nullptr;
      return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID riid, void** object) override {
      return browser_->QueryInterface(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

   private:
    shellserver::TestBrowser* browser_;
  };

  InProcessBrowser() {
    window_.reset(CreateWindowExW(0, L"STATIC", L"Page", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr));
    object_ = win32::ComPtr<shellserver::TestBrowser>::Attach(
        new shellserver::TestBrowser(nullptr, window_.get(), L"http://in.example/", L"In"));
    factory_ = Factory(object_.get());
    CoRegisterClassObject(CLSID_InternetExplorer, &factory_, CLSCTX_INPROC_SERVER,
                          REGCLS_MULTIPLEUSE, &cookie_);
  }
  // Then the browser goes, and its window after it.
  ~InProcessBrowser() override { CoRevokeClassObject(cookie_); }

  win32::UniqueWindow window_;
  win32::ComPtr<shellserver::TestBrowser> object_;
  Factory factory_{nullptr};
  DWORD cookie_ = 0;
};

TEST_F(InProcessBrowser, ADescribedFailureIsTheOleExceptionAnUndescribedOneTheSystemError) {
  BrowserRef browser = shell.CreateBrowser();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->LocationURL(), "http://in.example/");
  object_->FailNext(shellserver::BrowserCall::kNavigate, E_ACCESSDENIED, L"Broken on purpose");
  try {
    browser->Navigate("http://elsewhere/");
    FAIL() << "no error";
  } catch (const EOleException& error) {
    EXPECT_EQ(static_cast<std::uint32_t>(error.ErrorCode()), 0x80070005u);
    EXPECT_STREQ(error.what(), "Broken on purpose");
    EXPECT_EQ(error.Source(), "TestShell.Browser");
  }
  object_->FailNext(shellserver::BrowserCall::kVisible, E_ACCESSDENIED, L"");
  try {
    browser->SetVisible(true);
    FAIL() << "no error";
  } catch (const EOleException& error) {
    FAIL() << "described without a description: " << error.what();
  } catch (const EOleSysError& error) {
    EXPECT_EQ(static_cast<std::uint32_t>(error.ErrorCode()), 0x80070005u);
    EXPECT_EQ(error.what(), win32::SystemErrorText(0x80070005u));
  }
  browser->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(window_.get()));
  browser->Navigate("http://elsewhere/");
  EXPECT_EQ(object_->Navigations(), std::vector<std::wstring>{L"http://elsewhere/"});
}

TEST(SystemBrowser, ANewBrowserIsShownAndNavigated) {
  CoInitialize(nullptr);
  {
    Shell& shell = win32::Win32Platform().shell;
    BrowserRef browser = shell.CreateBrowser();
    ASSERT_NE(browser, nullptr);
    browser->SetVisible(true);
    const HWND window = reinterpret_cast<HWND>(browser->Hwnd().value);
    EXPECT_TRUE(IsWindowVisible(window));
    browser->Navigate("http://new.example/page");
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return browser->LocationURL() == "http://new.example/page"; }, 5000))
        << browser->LocationURL();
    browser->SetVisible(false);
  }
  CoUninitialize();
}

}  // namespace
}  // namespace velocane
