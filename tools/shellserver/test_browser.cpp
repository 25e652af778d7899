#include "tools/shellserver/test_browser.h"

namespace velocane::shellserver {

namespace {

HRESULT CopyOut(const std::wstring& text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out == nullptr && !text.empty() ? E_OUTOFMEMORY : S_OK;
}

}  // namespace

TestBrowser::TestBrowser(ITypeInfo* info, HWND hwnd, std::wstring url, std::wstring title,
                         bool visible)
    : info_(win32::ComPtr<ITypeInfo>::Copy(info)),
      hwnd_(hwnd),
      url_(std::move(url)),
      title_(std::move(title)),
      visible_(visible) {}

TestBrowser::TestBrowser(ITypeInfo* info, IWebBrowser2* inner)
    : info_(win32::ComPtr<ITypeInfo>::Copy(info)),
      inner_(win32::ComPtr<IWebBrowser2>::Copy(inner)) {}

void TestBrowser::SetPage(const std::wstring& url) {
  std::lock_guard<std::mutex> hold(lock_);
  url_ = url;
}

void TestBrowser::SetTitle(const std::wstring& title) {
  std::lock_guard<std::mutex> hold(lock_);
  title_ = title;
}

void TestBrowser::FailNext(BrowserCall call, HRESULT hr, const std::wstring& description) {
  std::lock_guard<std::mutex> hold(lock_);
  failures_[call] = Failure{hr, description};
}

std::vector<std::wstring> TestBrowser::Navigations() {
  std::lock_guard<std::mutex> hold(lock_);
  return navigations_;
}

HWND TestBrowser::Window() {
  if (inner_) {
    SHANDLE_PTR hwnd = 0;
    inner_->get_HWND(&hwnd);
    return reinterpret_cast<HWND>(hwnd);
  }
  return hwnd_;
}

bool TestBrowser::Visible() {
  if (inner_) return IsWindowVisible(Window()) != FALSE;
  std::lock_guard<std::mutex> hold(lock_);
  return visible_;
}

bool TestBrowser::Failing(BrowserCall call, HRESULT* hr) {
  Failure failure;
  {
    std::lock_guard<std::mutex> hold(lock_);
    auto it = failures_.find(call);
    if (it == failures_.end()) return false;
    failure = it->second;
    failures_.erase(it);
  }
  *hr = failure.hr;
  if (failure.description.empty()) {
    SetErrorInfo(0, nullptr);
    return true;
  }
  win32::ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.put()))) {
    create->SetGUID(IID_IWebBrowser2);
    create->SetSource(const_cast<LPOLESTR>(L"TestShell.Browser"));
    create->SetDescription(const_cast<LPOLESTR>(failure.description.c_str()));
    if (const auto info = create.try_query<IErrorInfo>()) SetErrorInfo(0, info.get());
  }
  return true;
}

HRESULT STDMETHODCALLTYPE TestBrowser::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      IsEqualIID(riid, IID_IWebBrowser) || IsEqualIID(riid, IID_IWebBrowserApp) ||
      IsEqualIID(riid, IID_IWebBrowser2)) {
    *object = static_cast<IWebBrowser2*>(this);
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE TestBrowser::AddRef() { return InterlockedIncrement(&refs_); }

ULONG STDMETHODCALLTYPE TestBrowser::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE TestBrowser::InterfaceSupportsErrorInfo(REFIID riid) {
  return IsEqualIID(riid, IID_IWebBrowser2) || IsEqualIID(riid, IID_IWebBrowserApp) ||
                 IsEqualIID(riid, IID_IWebBrowser)
             ? S_OK
             : S_FALSE;
}

HRESULT STDMETHODCALLTYPE TestBrowser::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = info_ ? 1 : 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TestBrowser::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0 || !info_) return DISP_E_BADINDEX;
  *info = win32::ComPtr<ITypeInfo>(info_).detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TestBrowser::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                     DISPID* ids) {
  if (!info_) return E_NOTIMPL;
  return DispGetIDsOfNames(info_.get(), names, count, ids);
}

HRESULT STDMETHODCALLTYPE TestBrowser::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                              DISPPARAMS* params, VARIANT* result,
                                              EXCEPINFO* exception, UINT* arg_error) {
  if (!info_) return E_NOTIMPL;
  return DispInvoke(static_cast<IWebBrowser2*>(this), info_.get(), id, flags, params, result,
                    exception, arg_error);
}

HRESULT STDMETHODCALLTYPE TestBrowser::get_LocationURL(BSTR* LocationURL) {
  HRESULT hr;
  if (Failing(BrowserCall::kLocationURL, &hr)) return hr;
  if (inner_) return inner_->get_LocationURL(LocationURL);
  std::lock_guard<std::mutex> hold(lock_);
  return CopyOut(url_, LocationURL);
}

HRESULT STDMETHODCALLTYPE TestBrowser::get_LocationName(BSTR* LocationName) {
  HRESULT hr;
  if (Failing(BrowserCall::kLocationName, &hr)) return hr;
  // Also for a real browser: the system's has no title to give.
  std::lock_guard<std::mutex> hold(lock_);
  return CopyOut(title_, LocationName);
}

HRESULT STDMETHODCALLTYPE TestBrowser::get_HWND(SHANDLE_PTR* pHWND) {
  HRESULT hr;
  if (Failing(BrowserCall::kHwnd, &hr)) return hr;
  if (inner_) return inner_->get_HWND(pHWND);
  if (pHWND == nullptr) return E_POINTER;
  *pHWND = reinterpret_cast<SHANDLE_PTR>(hwnd_);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TestBrowser::Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                                VARIANT* PostData, VARIANT* Headers) {
  HRESULT hr;
  if (Failing(BrowserCall::kNavigate, &hr)) return hr;
  const std::wstring address(URL != nullptr ? URL : L"", SysStringLen(URL));
  {
    std::lock_guard<std::mutex> hold(lock_);
    navigations_.push_back(address);
    if (!inner_) {
      url_ = address;
      title_.clear();
    }
  }
  if (inner_) return inner_->Navigate(URL, Flags, TargetFrameName, PostData, Headers);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TestBrowser::put_Visible(VARIANT_BOOL Value) {
  HRESULT hr;
  if (Failing(BrowserCall::kVisible, &hr)) return hr;
  if (inner_) return inner_->put_Visible(Value);
  {
    std::lock_guard<std::mutex> hold(lock_);
    visible_ = Value != VARIANT_FALSE;
  }
  ShowWindow(hwnd_, Value != VARIANT_FALSE ? SW_SHOWNOACTIVATE : SW_HIDE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TestBrowser::get_Visible(VARIANT_BOOL* pBool) {
  if (inner_) return inner_->get_Visible(pBool);
  if (pBool == nullptr) return E_POINTER;
  std::lock_guard<std::mutex> hold(lock_);
  *pBool = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

}  // namespace velocane::shellserver
