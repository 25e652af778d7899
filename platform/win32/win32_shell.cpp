#include "platform/win32/win32_shell.h"

#include <exdisp.h>
#include <oleauto.h>

#include <utility>

#include "platform/framework/exceptions.h"
#include "platform/win32/bstr.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_common.h"
#include "platform/win32/win32_errors.h"

namespace velocane::win32 {

namespace {

// The whole string, embedded nulls included, in the ANSI code page.
std::string ToAnsi(BSTR wide) {
  const UINT length = SysStringLen(wide);
  if (length == 0) return {};
  const int size =
      WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), ansi.data(), size, nullptr,
                      nullptr);
  return ansi;
}

std::wstring FromAnsi(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) {
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
  }
  return wide;
}

// A failed call on `object` (through `iid`): the OLE exception when the object
// left a description of the failure, the OLE system error otherwise.
[[noreturn]] void RaiseOleError(HRESULT hr, IUnknown* object, REFIID iid) {
  // Taken in any case, so that no stale description is left for a later failure.
  ComPtr<IErrorInfo> info;
  const bool described = GetErrorInfo(0, info.put()) == S_OK && info;
  ComPtr<ISupportErrorInfo> support;
  if (described && object != nullptr &&
      object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.put())) ==
          S_OK &&
      support->InterfaceSupportsErrorInfo(iid) == S_OK) {
    Bstr description;
    Bstr source;
    info->GetDescription(description.put());
    info->GetSource(source.put());
    std::string text = ToAnsi(description.get());
    if (text.empty()) text = SystemErrorText(static_cast<unsigned>(hr));
    throw EOleException(hr, text, ToAnsi(source.get()));
  }
  throw EOleSysError(hr, SystemErrorText(static_cast<unsigned>(hr)));
}

template <class T>
void OleCheck(HRESULT hr, const ComPtr<T>& object) {
  if (FAILED(hr)) RaiseOleError(hr, object.get(), __uuidof(T));
}

class Win32Browser final : public ShellBrowser {
 public:
  explicit Win32Browser(ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}

  std::string LocationURL() override {
    Bstr url;
    OleCheck(browser_->get_LocationURL(url.put()), browser_);
    return ToAnsi(url.get());
  }
  std::string LocationName() override {
    Bstr name;
    OleCheck(browser_->get_LocationName(name.put()), browser_);
    return ToAnsi(name.get());
  }
  WindowHandle Hwnd() override {
    SHANDLE_PTR hwnd = 0;
    OleCheck(browser_->get_HWND(&hwnd), browser_);
    return WindowHandle{static_cast<std::uintptr_t>(hwnd)};
  }
  void Navigate(const std::string& url) override {
    const std::wstring wide = FromAnsi(url);
    Bstr address(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    if (address.get() == nullptr) RaiseOleError(E_OUTOFMEMORY, nullptr, IID_NULL);
    VARIANT empty;
    VariantInit(&empty);  // VT_EMPTY for Flags, TargetFrameName, PostData and Headers
    OleCheck(browser_->Navigate(address.get(), &empty, &empty, &empty, &empty), browser_);
  }
  void SetVisible(bool visible) override {
    OleCheck(browser_->put_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE), browser_);
  }

 private:
  ComPtr<IWebBrowser2> browser_;
};

class Win32ShellItem final : public ShellItem {
 public:
  explicit Win32ShellItem(ComPtr<IDispatch> item) : item_(std::move(item)) {}

  BrowserRef QueryBrowser() override {
    ComPtr<IWebBrowser2> browser;
    if (FAILED(item_.query(&browser)) || !browser) throw EIntfCastError("Interface not supported");
    return std::make_shared<Win32Browser>(std::move(browser));
  }

 private:
  ComPtr<IDispatch> item_;
};

class Win32ShellWindows final : public ShellWindows {
 public:
  explicit Win32ShellWindows(ComPtr<IShellWindows> windows) : windows_(std::move(windows)) {}

  int Count() override {
    long count = 0;
    OleCheck(windows_->get_Count(&count), windows_);
    return static_cast<int>(count);
  }
  ShellItemRef Item(int index) override {
    VARIANT at;
    VariantInit(&at);
    at.vt = VT_I4;
    at.lVal = index;
    ComPtr<IDispatch> item;
    OleCheck(windows_->Item(at, item.put()), windows_);
    if (!item) return nullptr;
    return std::make_shared<Win32ShellItem>(std::move(item));
  }

 private:
  ComPtr<IShellWindows> windows_;
};

}  // namespace

ShellWindowsRef Win32Shell::CreateShellWindows() {
  ComPtr<IShellWindows> windows;
  const HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                      reinterpret_cast<void**>(windows.put()));
  if (FAILED(hr)) RaiseOleError(hr, nullptr, IID_NULL);
  return std::make_shared<Win32ShellWindows>(std::move(windows));
}

BrowserRef Win32Shell::CreateBrowser() {
  ComPtr<IWebBrowser2> browser;
  const HRESULT hr =
      CoCreateInstance(CLSID_InternetExplorer, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                       IID_IWebBrowser2, reinterpret_cast<void**>(browser.put()));
  if (FAILED(hr)) RaiseOleError(hr, nullptr, IID_NULL);
  return std::make_shared<Win32Browser>(std::move(browser));
}

}  // namespace velocane::win32
