// The test's own shell window collection: serves the ShellWindows class as a
// local COM server, so that a program asking the system for the shell's
// windows gets this collection, which a test fills and changes through
// commands on standard input.
//
// The system's service that hands out running class objects is stopped first:
// it is restarted on demand, forgets the registrations it had, and then hands
// out this one. The task scheduler, whose endpoint it forgets too, is
// restarted with it.
//
// Commands, one a line, fields separated by tabs, texts in UTF-8; each is
// answered with one line, "ok" and its results or "error" and a reason:
//   own TITLE URL      a browser of the server's own with a window of its own
//   tab ID TITLE URL   one more of its own that reports the window of ID
//   wine URL           a real browser of the system, shown and navigated
//   foreign | nil      an item without a browser, a nil item
//   navigate ID URL    the page changes (as the user's navigation changes it)
//   retitle ID TITLE
//   close ID           the window closes and leaves the collection
//   fail ID CALL HRESULT [DESCRIPTION]   the next CALL (LocationURL,
//                      LocationName, HWND, Navigate, Visible) fails
//   navigations ID     the addresses the browser received through Navigate
//   list               the items: "ok", then ID and window of each
//   quit
// Answers to "own", "tab" and "wine": ok ID HWND (hexadecimal).
//
// With --serve-browsers it also serves the InternetExplorer class: a program
// that asks the system for a new browser gets one of the server's own, with a
// hidden window, which joins the collection ("wine" is refused then, as the
// server would be asked for its own browsers).
#include <windows.h>
// After windows.h, which they need.
#include <exdisp.h>
#include <oleauto.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/bstr.h"
#include "platform/win32/handles.h"
#include "tools/shellserver/test_browser.h"

namespace velocane::shellserver {
namespace {

using win32::Bstr;
using win32::ComPtr;

constexpr UINT kCreateWindowMessage = WM_APP + 1;
constexpr UINT kDestroyWindowMessage = WM_APP + 2;
constexpr wchar_t kFrameClass[] = L"VelocaneTestBrowserFrame";

// An item of the collection.
struct Item {
  int id = 0;
  enum class Kind { kOwn, kWine, kForeign, kNil } kind = Kind::kOwn;
  ComPtr<TestBrowser> browser;  // empty for foreign and nil items
  ComPtr<IDispatch> foreign;
  HWND hwnd = nullptr;
  bool owns_window = false;
};

std::mutex g_lock;
std::vector<Item> g_items;
int g_next_id = 1;
ITypeInfo* g_browser_info = nullptr;
ITypeInfo* g_windows_info = nullptr;
HWND g_control = nullptr;  // receives the window requests of the command thread
DWORD g_ui_thread = 0;

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

std::string HexOf(HWND hwnd) {
  char text[32];
  std::snprintf(text, sizeof text, "%llX",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)));
  return text;
}

// Takes the item out of the collection; its window closes with it.
bool Remove(int id) {
  Item removed;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = std::find_if(g_items.begin(), g_items.end(),
                           [id](const Item& item) { return item.id == id; });
    if (it == g_items.end()) return false;
    removed = *it;
    g_items.erase(it);
  }
  if (removed.owns_window)
    SendMessageW(g_control, kDestroyWindowMessage, 0, reinterpret_cast<LPARAM>(removed.hwnd));
  if (removed.kind == Item::Kind::kWine && removed.browser) {
    removed.browser->put_Visible(VARIANT_FALSE);
  }
  return true;
}

// An item that is no browser: it answers IDispatch only.
class ForeignItem final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

 private:
  LONG refs_ = 1;
};

class TestShellWindows final : public IShellWindows {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IShellWindows)) {
      *object = static_cast<IShellWindows*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // One object for the life of the server.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = g_windows_info != nullptr ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (index != 0 || g_windows_info == nullptr) return DISP_E_BADINDEX;
    g_windows_info->AddRef();
    *info = g_windows_info;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (g_windows_info == nullptr) return E_NOTIMPL;
    return DispGetIDsOfNames(g_windows_info, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* arg_error) override {
    if (g_windows_info == nullptr) return E_NOTIMPL;
    return DispInvoke(static_cast<IShellWindows*>(this), g_windows_info, id, flags, params, result,
                      exception, arg_error);
  }

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    if (count == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> hold(g_lock);
    *count = static_cast<LONG>(g_items.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** folder) override {
    if (folder == nullptr) return E_POINTER;
    *folder = nullptr;
    VARIANT at;
    VariantInit(&at);
    if (FAILED(VariantChangeType(&at, &index, 0, VT_I4))) return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(g_lock);
    if (at.lVal < 0 || at.lVal >= static_cast<LONG>(g_items.size())) return S_FALSE;
    const shellserver::Item& item = g_items[static_cast<std::size_t>(at.lVal)];
    IDispatch* dispatch =
        item.browser ? static_cast<IDispatch*>(item.browser.get()) : item.foreign.get();
    if (dispatch == nullptr) return S_FALSE;
    dispatch->AddRef();
    *folder = dispatch;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int,
                                         IDispatch**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }
};

TestShellWindows g_collection;

class CollectionFactory final : public IClassFactory {
 public:
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
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return g_collection.QueryInterface(riid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

CollectionFactory g_factory;
bool g_serve_browsers = false;

std::string AddOwn(const std::wstring& title, const std::wstring& url, HWND shared);

// New browsers for other programs: own ones, hidden until they are shown.
class BrowserFactory final : public IClassFactory {
 public:
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
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

BrowserFactory g_browser_factory;

// The close command of an own window's system menu closes that browser.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if ((msg == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE) || msg == WM_CLOSE) {
    std::vector<int> ids;
    {
      std::lock_guard<std::mutex> hold(g_lock);
      for (const Item& item : g_items) {
        if (item.hwnd == hwnd) ids.push_back(item.id);
      }
    }
    for (int id : ids) Remove(id);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

struct CreateRequest {
  std::wstring title;
  bool visible = true;
  HWND result = nullptr;
};

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kCreateWindowMessage) {
    auto* request = reinterpret_cast<CreateRequest*>(lparam);
    static int placed = 0;
    const int at = 420 + 30 * (placed++ % 10);
    request->result =
        CreateWindowExW(0, kFrameClass, request->title.c_str(),
                        WS_OVERLAPPEDWINDOW | (request->visible ? WS_VISIBLE : 0), at, at - 300,
                        360, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return 0;
  }
  if (msg == kDestroyWindowMessage) {
    DestroyWindow(reinterpret_cast<HWND>(lparam));
    return 0;
  }
  if (msg == WM_TIMER) {
    // A real browser's close command only hides its window: the shell then
    // forgets the browser, as it does when a browser closes.
    std::vector<int> hidden;
    {
      std::lock_guard<std::mutex> hold(g_lock);
      for (const Item& item : g_items) {
        if (item.kind == Item::Kind::kWine && !IsWindowVisible(item.hwnd))
          hidden.push_back(item.id);
      }
    }
    for (int id : hidden) Remove(id);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', from);
    fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
    if (tab == std::string::npos) return fields;
    from = tab + 1;
  }
}

ComPtr<TestBrowser> BrowserOf(int id) {
  std::lock_guard<std::mutex> hold(g_lock);
  for (const Item& item : g_items) {
    if (item.id == id && item.browser) return item.browser;
  }
  return nullptr;
}

int Add(Item item) {
  std::lock_guard<std::mutex> hold(g_lock);
  item.id = g_next_id++;
  g_items.push_back(item);
  return item.id;
}

// Adds a browser of the server's own; `added` receives it when asked for.
std::string AddOwn(const std::wstring& title, const std::wstring& url, HWND shared, bool visible,
                   ComPtr<TestBrowser>* added) {
  Item item;
  item.kind = Item::Kind::kOwn;
  if (shared != nullptr) {
    item.hwnd = shared;
  } else {
    CreateRequest request{title, visible};
    SendMessageW(g_control, kCreateWindowMessage, 0, reinterpret_cast<LPARAM>(&request));
    if (request.result == nullptr) return "error\tno window";
    item.hwnd = request.result;
    item.owns_window = true;
  }
  item.browser =
      ComPtr<TestBrowser>::Attach(new TestBrowser(g_browser_info, item.hwnd, url, title, visible));
  if (added != nullptr) *added = item.browser;
  const int id = Add(item);
  return "ok\t" + std::to_string(id) + "\t" + HexOf(item.hwnd);
}

std::string AddOwn(const std::wstring& title, const std::wstring& url, HWND shared) {
  return AddOwn(title, url, shared, true, nullptr);
}

HRESULT STDMETHODCALLTYPE BrowserFactory::CreateInstance(IUnknown* outer, REFIID riid,
                                                         void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  ComPtr<TestBrowser> browser;
  if (AddOwn(L"", L"", nullptr, false, &browser).rfind("ok", 0) != 0) return E_OUTOFMEMORY;
  return browser->QueryInterface(riid, object);
}

std::string AddWine(const std::wstring& url) {
  if (g_serve_browsers) return "error\tthis server serves the browsers itself";
  ComPtr<IWebBrowser2> real;
  HRESULT hr = CoCreateInstance(CLSID_InternetExplorer, nullptr, CLSCTX_LOCAL_SERVER,
                                IID_IWebBrowser2, reinterpret_cast<void**>(real.put()));
  if (FAILED(hr)) return "error\tCoCreateInstance " + std::to_string(hr);
  real->put_Visible(VARIANT_TRUE);
  const Bstr address(SysAllocStringLen(url.data(), static_cast<UINT>(url.size())));
  VARIANT empty;
  VariantInit(&empty);
  hr = real->Navigate(address.get(), &empty, &empty, &empty, &empty);
  Item item;
  item.kind = Item::Kind::kWine;
  item.browser = ComPtr<TestBrowser>::Attach(new TestBrowser(g_browser_info, real.get()));
  item.hwnd = item.browser->Window();
  if (FAILED(hr)) return "error\tNavigate " + std::to_string(hr);
  const int id = Add(item);
  return "ok\t" + std::to_string(id) + "\t" + HexOf(item.hwnd);
}

bool ParseCall(const std::string& name, BrowserCall* call) {
  const std::pair<const char*, BrowserCall> names[] = {
      {"LocationURL", BrowserCall::kLocationURL},
      {"LocationName", BrowserCall::kLocationName},
      {"HWND", BrowserCall::kHwnd},
      {"Navigate", BrowserCall::kNavigate},
      {"Visible", BrowserCall::kVisible},
  };
  for (const auto& [text, value] : names) {
    if (name == text) {
      *call = value;
      return true;
    }
  }
  return false;
}

std::string Run(const std::vector<std::string>& f) {
  const std::string& verb = f[0];
  if (verb == "own" && f.size() == 3) return AddOwn(Wide(f[1]), Wide(f[2]), nullptr);
  if (verb == "wine" && f.size() == 2) return AddWine(Wide(f[1]));
  if (verb == "foreign" || verb == "nil") {
    Item item;
    item.kind = verb == "nil" ? Item::Kind::kNil : Item::Kind::kForeign;
    if (verb == "foreign") item.foreign = ComPtr<IDispatch>::Attach(new ForeignItem);
    return "ok\t" + std::to_string(Add(item));
  }
  if (verb == "list") {
    std::lock_guard<std::mutex> hold(g_lock);
    std::string answer = "ok";
    for (const Item& item : g_items) {
      answer += "\t" + std::to_string(item.id) + "\t" + HexOf(item.hwnd);
    }
    return answer;
  }
  if (f.size() < 2) return "error\tunknown command";
  const int id = std::atoi(f[1].c_str());
  if (verb == "close") return Remove(id) ? "ok" : "error\tno such item";
  const ComPtr<TestBrowser> browser = BrowserOf(id);
  if (!browser) return "error\tno such browser";
  std::string answer = "ok";
  if (verb == "tab" && f.size() == 4) {
    answer = AddOwn(Wide(f[2]), Wide(f[3]), browser->Window());
  } else if (verb == "navigate" && f.size() == 3) {
    if (IWebBrowser2* inner = browser->Inner()) {
      const std::wstring url = Wide(f[2]);
      const Bstr address(SysAllocStringLen(url.data(), static_cast<UINT>(url.size())));
      VARIANT empty;
      VariantInit(&empty);
      const HRESULT hr = inner->Navigate(address.get(), &empty, &empty, &empty, &empty);
      if (FAILED(hr)) answer = "error\tNavigate " + std::to_string(hr);
    } else {
      browser->SetPage(Wide(f[2]));
    }
  } else if (verb == "retitle" && f.size() == 3) {
    browser->SetTitle(Wide(f[2]));
  } else if (verb == "fail" && (f.size() == 4 || f.size() == 5)) {
    BrowserCall call;
    if (ParseCall(f[2], &call)) {
      const auto hr = static_cast<HRESULT>(std::stoul(f[3], nullptr, 16));
      browser->FailNext(call, hr, f.size() == 5 ? Wide(f[4]) : std::wstring());
    } else {
      answer = "error\tunknown call";
    }
  } else if (verb == "navigations") {
    for (const std::wstring& address : browser->Navigations()) answer += "\t" + Utf8(address);
  } else {
    answer = "error\tunknown command";
  }
  return answer;
}

// Stops the service that hands out running class objects; it comes back when
// COM next needs it, without the registrations it held.
void StopClassObjectService(SC_HANDLE manager) {
  const win32::UniqueService service(
      OpenServiceW(manager, L"RpcSs", SERVICE_STOP | SERVICE_QUERY_STATUS));
  if (!service) return;
  SERVICE_STATUS status{};
  if (ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) {
    for (int i = 0; i < 100 && status.dwCurrentState != SERVICE_STOPPED; ++i) {
      Sleep(50);
      if (!QueryServiceStatus(service.get(), &status)) break;
    }
  }
}

// The task scheduler's endpoint went with those registrations, and Wine's
// task service client then raises an RPC exception in its caller instead of
// failing the call. Wine's scheduler does not accept a stop, so its host
// process (found by id through the service manager) is ended: the next
// connection starts it again, and it registers anew.
void RestartTaskScheduler(SC_HANDLE manager) {
  const win32::UniqueService service(OpenServiceW(manager, L"Schedule", SERVICE_QUERY_STATUS));
  if (!service) return;
  SERVICE_STATUS_PROCESS status{};
  DWORD size = 0;
  if (QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                           sizeof status, &size) &&
      status.dwCurrentState == SERVICE_RUNNING && status.dwProcessId != 0) {
    if (const win32::UniqueKernelHandle host{
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, status.dwProcessId)}) {
      TerminateProcess(host.get(), 1);
      WaitForSingleObject(host.get(), 5000);
    }
    for (int i = 0; i < 100; ++i) {
      if (!QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO,
                                reinterpret_cast<BYTE*>(&status), sizeof status, &size) ||
          status.dwCurrentState == SERVICE_STOPPED) {
        break;
      }
      Sleep(50);
    }
  }
}

void ForgetClassObjects() {
  const win32::UniqueService manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return;
  StopClassObjectService(manager.get());
  RestartTaskScheduler(manager.get());
}

bool ReadLine(HANDLE input, std::string* line) {
  static std::string pending;
  for (;;) {
    const std::size_t newline = pending.find('\n');
    if (newline != std::string::npos) {
      *line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line->empty() && line->back() == '\r') line->pop_back();
      return true;
    }
    char chunk[4096];
    DWORD read = 0;
    if (!ReadFile(input, chunk, sizeof chunk, &read, nullptr) || read == 0) {
      *line = pending;
      pending.clear();
      return !line->empty();
    }
    pending.append(chunk, read);
  }
}

void Answer(HANDLE output, const std::string& text) {
  const std::string line = text + "\n";
  DWORD written = 0;
  WriteFile(output, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  FlushFileBuffers(output);
}

DWORD WINAPI CommandThread(void*) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  std::string line;
  while (ReadLine(input, &line)) {
    if (line == "quit") break;
    Answer(output, Run(Split(line)));
  }
  PostThreadMessageW(g_ui_thread, WM_QUIT, 0, 0);
  CoUninitialize();
  return 0;
}

bool ExplorerRuns() {
  const win32::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more && !found;
       more = Process32NextW(snapshot.get(), &entry)) {
    found = lstrcmpiW(entry.szExeFile, L"explorer.exe") == 0;
  }
  return found;
}

// Wine's explorer registers its own collection when it starts, and it starts
// with the first window of a session. The service is stopped once it has, so
// that this collection is the only one it knows and explorer does not come
// after it. An explorer that ran before this server registered long ago.
void WaitForExplorersCollection() {
  if (ExplorerRuns()) return;
  GetDesktopWindow();
  for (int i = 0; i < 200; ++i) {
    ComPtr<IShellWindows> theirs;
    const HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                        IID_IShellWindows, reinterpret_cast<void**>(theirs.put()));
    if (hr != REGDB_E_CLASSNOTREG) return;
    Sleep(50);
  }
}

int Main(bool serve_browsers) {
  g_serve_browsers = serve_browsers;
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 2;
  ComPtr<ITypeLib> library;
  if (SUCCEEDED(LoadRegTypeLib(LIBID_SHDocVw, 1, 1, LOCALE_NEUTRAL, library.put()))) {
    library->GetTypeInfoOfGuid(IID_IWebBrowser2, &g_browser_info);
    library->GetTypeInfoOfGuid(IID_IShellWindows, &g_windows_info);
  }
  WNDCLASSW frame{};
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = GetModuleHandleW(nullptr);
  frame.lpszClassName = kFrameClass;
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  WNDCLASSW control{};
  control.lpfnWndProc = ControlProc;
  control.hInstance = GetModuleHandleW(nullptr);
  control.lpszClassName = L"VelocaneTestShellControl";
  if (!RegisterClassW(&frame) || !RegisterClassW(&control)) return 3;
  g_control = CreateWindowExW(0, control.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              control.hInstance, nullptr);
  g_ui_thread = GetCurrentThreadId();
  SetTimer(g_control, 1, 100, nullptr);
  WaitForExplorersCollection();
  ForgetClassObjects();
  DWORD cookie = 0;
  const HRESULT registered = CoRegisterClassObject(
      CLSID_ShellWindows, &g_factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (FAILED(registered)) {
    Answer(output, "error\tCoRegisterClassObject " + std::to_string(registered));
    return 4;
  }
  DWORD browser_cookie = 0;
  if (serve_browsers) {
    const HRESULT hr =
        CoRegisterClassObject(CLSID_InternetExplorer, &g_browser_factory, CLSCTX_LOCAL_SERVER,
                              REGCLS_MULTIPLEUSE, &browser_cookie);
    if (FAILED(hr)) {
      Answer(output, "error\tCoRegisterClassObject " + std::to_string(hr));
      return 4;
    }
  }
  Answer(output, std::string("ready\t") + (g_browser_info != nullptr ? "typelib" : "no-typelib"));
  const win32::UniqueKernelHandle thread(
      CreateThread(nullptr, 0, CommandThread, nullptr, 0, nullptr));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  CoRevokeClassObject(cookie);
  if (browser_cookie != 0) CoRevokeClassObject(browser_cookie);
  WaitForSingleObject(thread.get(), 5000);
  std::vector<int> ids;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    for (const Item& item : g_items) ids.push_back(item.id);
  }
  for (int id : ids) Remove(id);
  CoUninitialize();
  return 0;
}

}  // namespace
}  // namespace velocane::shellserver

int main(int argc, char** argv) {
  const bool serve_browsers = argc > 1 && std::string(argv[1]) == "--serve-browsers";
  return velocane::shellserver::Main(serve_browsers);
}
