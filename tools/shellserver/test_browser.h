#pragma once
// A browser object of the test's shell: either one of its own, with a title
// and a window of the server, or a real browser of the system behind it, whose
// calls it passes on. Both record the addresses Navigate receives, and any of
// the calls the program makes can be told to fail once, with or without an
// error description.
#include <windows.h>
// After windows.h, which they need.
#include <exdisp.h>
#include <oleauto.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace velocane::shellserver {

// The calls a test can make fail.
enum class BrowserCall { kLocationURL, kLocationName, kHwnd, kNavigate, kVisible };

class TestBrowser final : public IWebBrowser2, public ISupportErrorInfo {
 public:
  // A browser of the server's own; `hwnd` is its top-level window.
  TestBrowser(ITypeInfo* info, HWND hwnd, std::wstring url, std::wstring title,
              bool visible = true);
  // A real browser behind this one; it has no title of its own unless given one.
  TestBrowser(ITypeInfo* info, IWebBrowser2* inner);

  // Test side.
  void SetPage(const std::wstring& url);
  void SetTitle(const std::wstring& title);
  // The next call fails with `hr`; with a description, as error information.
  void FailNext(BrowserCall call, HRESULT hr, const std::wstring& description);
  std::vector<std::wstring> Navigations();
  HWND Window();
  bool Visible();
  IWebBrowser2* Inner() const { return inner_.get(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;
  // IDispatch, through the browser's type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* arg_error) override;

  // What the program reads and does.
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* LocationURL) override;
  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* LocationName) override;
  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* pHWND) override;
  HRESULT STDMETHODCALLTYPE Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                     VARIANT* PostData, VARIANT* Headers) override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* pBool) override;

  // The rest: passed on to the real browser, or not implemented.
  HRESULT STDMETHODCALLTYPE GoBack() override { return inner_ ? inner_->GoBack() : E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoForward() override {
    return inner_ ? inner_->GoForward() : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GoHome() override { return inner_ ? inner_->GoHome() : E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoSearch() override { return inner_ ? inner_->GoSearch() : E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh() override { return inner_ ? inner_->Refresh() : E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh2(VARIANT* Level) override {
    return inner_ ? inner_->Refresh2(Level) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Stop() override { return inner_ ? inner_->Stop() : E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch** ppDisp) override {
    return inner_ ? inner_->get_Application(ppDisp) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch** ppDisp) override {
    return inner_ ? inner_->get_Parent(ppDisp) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Container(IDispatch** ppDisp) override {
    return inner_ ? inner_->get_Container(ppDisp) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch** ppDisp) override {
    return inner_ ? inner_->get_Document(ppDisp) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL* pBool) override {
    return inner_ ? inner_->get_TopLevelContainer(pBool) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Type(BSTR* Type) override {
    return inner_ ? inner_->get_Type(Type) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Left(LONG* pl) override {
    return inner_ ? inner_->get_Left(pl) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_Left(LONG Left) override {
    return inner_ ? inner_->put_Left(Left) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Top(LONG* pl) override {
    return inner_ ? inner_->get_Top(pl) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_Top(LONG Top) override {
    return inner_ ? inner_->put_Top(Top) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Width(LONG* pl) override {
    return inner_ ? inner_->get_Width(pl) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_Width(LONG Width) override {
    return inner_ ? inner_->put_Width(Width) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Height(LONG* pl) override {
    return inner_ ? inner_->get_Height(pl) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_Height(LONG Height) override {
    return inner_ ? inner_->put_Height(Height) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* pBool) override {
    return inner_ ? inner_->get_Busy(pBool) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Quit() override { return inner_ ? inner_->Quit() : E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ClientToWindow(int* pcx, int* pcy) override {
    return inner_ ? inner_->ClientToWindow(pcx, pcy) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE PutProperty(BSTR Property, VARIANT vtValue) override {
    return inner_ ? inner_->PutProperty(Property, vtValue) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetProperty(BSTR Property, VARIANT* pvtValue) override {
    return inner_ ? inner_->GetProperty(Property, pvtValue) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* Name) override {
    return inner_ ? inner_->get_Name(Name) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR* FullName) override {
    return inner_ ? inner_->get_FullName(FullName) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR* Path) override {
    return inner_ ? inner_->get_Path(Path) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL* pBool) override {
    return inner_ ? inner_->get_StatusBar(pBool) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL Value) override {
    return inner_ ? inner_->put_StatusBar(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_StatusText(BSTR* StatusText) override {
    return inner_ ? inner_->get_StatusText(StatusText) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_StatusText(BSTR StatusText) override {
    return inner_ ? inner_->put_StatusText(StatusText) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_ToolBar(int* Value) override {
    return inner_ ? inner_->get_ToolBar(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_ToolBar(int Value) override {
    return inner_ ? inner_->put_ToolBar(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL* Value) override {
    return inner_ ? inner_->get_MenuBar(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL Value) override {
    return inner_ ? inner_->put_MenuBar(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL* pbFullScreen) override {
    return inner_ ? inner_->get_FullScreen(pbFullScreen) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL bFullScreen) override {
    return inner_ ? inner_->put_FullScreen(bFullScreen) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                      VARIANT* PostData, VARIANT* Headers) override {
    return inner_ ? inner_->Navigate2(URL, Flags, TargetFrameName, PostData, Headers) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID cmdID, OLECMDF* pcmdf) override {
    return inner_ ? inner_->QueryStatusWB(cmdID, pcmdf) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT* pvaIn,
                                   VARIANT* pvaOut) override {
    return inner_ ? inner_->ExecWB(cmdID, cmdexecopt, pvaIn, pvaOut) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT* pvaClsid, VARIANT* pvarShow,
                                           VARIANT* pvarSize) override {
    return inner_ ? inner_->ShowBrowserBar(pvaClsid, pvarShow, pvarSize) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* plReadyState) override {
    return inner_ ? inner_->get_ReadyState(plReadyState) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL* pbOffline) override {
    return inner_ ? inner_->get_Offline(pbOffline) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL bOffline) override {
    return inner_ ? inner_->put_Offline(bOffline) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL* pbSilent) override {
    return inner_ ? inner_->get_Silent(pbSilent) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL bSilent) override {
    return inner_ ? inner_->put_Silent(bSilent) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL* pbRegister) override {
    return inner_ ? inner_->get_RegisterAsBrowser(pbRegister) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL bRegister) override {
    return inner_ ? inner_->put_RegisterAsBrowser(bRegister) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) override {
    return inner_ ? inner_->get_RegisterAsDropTarget(pbRegister) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override {
    return inner_ ? inner_->put_RegisterAsDropTarget(bRegister) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL* pbRegister) override {
    return inner_ ? inner_->get_TheaterMode(pbRegister) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL bRegister) override {
    return inner_ ? inner_->put_TheaterMode(bRegister) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL* Value) override {
    return inner_ ? inner_->get_AddressBar(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL Value) override {
    return inner_ ? inner_->put_AddressBar(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL* Value) override {
    return inner_ ? inner_->get_Resizable(Value) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL Value) override {
    return inner_ ? inner_->put_Resizable(Value) : E_NOTIMPL;
  }

 private:
  ~TestBrowser() = default;
  // The failure set for `call`, if any, made the current error.
  bool Failing(BrowserCall call, HRESULT* hr);

  LONG refs_ = 1;
  win32::ComPtr<ITypeInfo> info_;
  win32::ComPtr<IWebBrowser2> inner_;
  std::mutex lock_;
  HWND hwnd_ = nullptr;
  std::wstring url_;
  std::wstring title_;
  bool visible_ = false;
  std::vector<std::wstring> navigations_;
  struct Failure {
    HRESULT hr;
    std::wstring description;
  };
  std::map<BrowserCall, Failure> failures_;
};

}  // namespace velocane::shellserver
