#include "platform/win32/win32_accessibility.h"

#include <map>
#include <memory>

#include "platform/win32/bstr.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_common.h"
// After windows.h, which it needs.
#include <oleacc.h>

namespace velocane::win32 {

namespace {

// What the objects handed out for one window ask; emptied when the window
// withdraws its content, so that those still held by a client answer
// "disconnected" instead of reaching a control that is gone.
struct Connection {
  HWND hwnd = nullptr;
  AccessibleContent* content = nullptr;
};

// oleacc is loaded when a client first asks: a program that nobody reads
// aloud does not load it at start.
struct Oleacc {
  decltype(&LresultFromObject) lresult_from_object = nullptr;
  decltype(&CreateStdAccessibleObject) create_std_accessible_object = nullptr;
};

const Oleacc& LoadOleacc() {
  static const Oleacc oleacc = [] {
    Oleacc loaded;
    if (HMODULE module = LoadLibraryA("oleacc.dll")) {
      loaded.lresult_from_object = reinterpret_cast<decltype(&LresultFromObject)>(
          reinterpret_cast<void*>(GetProcAddress(module, "LresultFromObject")));
      loaded.create_std_accessible_object = reinterpret_cast<decltype(&CreateStdAccessibleObject)>(
          reinterpret_cast<void*>(GetProcAddress(module, "CreateStdAccessibleObject")));
    }
    return loaded;
  }();
  return oleacc;
}

std::map<HWND, std::shared_ptr<Connection>>& Published() {
  static std::map<HWND, std::shared_ptr<Connection>> published;
  return published;
}

Bstr AnsiBstr(const std::string& text) {
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  Bstr result(SysAllocStringLen(nullptr, static_cast<UINT>(size > 0 ? size : 0)));
  if (size > 0 && result.get() != nullptr) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.get(), size);
  }
  return result;
}

// A text for a client: S_FALSE (and no string) where there is none.
HRESULT GiveText(const std::string& text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  Bstr value = AnsiBstr(text);
  if (value.get() == nullptr) return E_OUTOFMEMORY;
  *out = value.get();
  *value.put() = nullptr;  // the client owns it now
  return S_OK;
}

void SetChild(VARIANT* out, long child) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = child;
}

// The IAccessible of a window's client area: the element indices of the
// content are the child ids 1..n; questions about the client area itself go
// to the system's own object for it.
class ClientObject final : public IAccessible {
 public:
  ClientObject(std::shared_ptr<Connection> connection, ComPtr<IAccessible> standard)
      : connection_(std::move(connection)), standard_(std::move(standard)) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: the object is reached through its vtable only.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
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

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    *count = connection_->content->AccChildCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return E_INVALIDARG;
    // The elements are simple ones, known by their ids only.
    return Index(child) >= 0 ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, &AccElement::name, &IAccessible::get_accName);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Text(child, value, &AccElement::value, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return standard_->get_accDescription(child, text);
    return Index(child) >= 0 ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return standard_->get_accRole(child, role);
    const int index = Index(child);
    if (index < 0) return E_INVALIDARG;
    SetChild(role, static_cast<long>(Element(index).role));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    VariantInit(state);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return standard_->get_accState(child, state);
    const int index = Index(child);
    if (index < 0) return E_INVALIDARG;
    std::uint32_t bits = Element(index).state;
    // Focused as the system counts it: the element has the focus of a window
    // that has the keyboard focus.
    if ((bits & accstate::kFocused) != 0 && GetFocus() != connection_->hwnd) {
      bits &= ~accstate::kFocused;
    }
    SetChild(state, static_cast<long>(bits));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help == nullptr) return E_POINTER;
    *help = nullptr;
    return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file == nullptr || topic == nullptr) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Text(child, shortcut, &AccElement::shortcut, &IAccessible::get_accKeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (focus == nullptr) return E_POINTER;
    VariantInit(focus);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != connection_->hwnd) return S_FALSE;
    const int index = connection_->content->AccFocusedChild();
    SetChild(focus, index >= 0 ? index + 1 : CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection == nullptr) return E_POINTER;
    VariantInit(selection);
    return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, action, &AccElement::default_action, &IAccessible::get_accDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return standard_->accSelect(flags, child);
    const int index = Index(child);
    if (index < 0) return E_INVALIDARG;
    if ((flags & ~SELFLAG_TAKEFOCUS) != 0) return E_INVALIDARG;  // nothing here is selectable
    if ((flags & SELFLAG_TAKEFOCUS) != 0 && !connection_->content->AccFocus(index)) return S_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
      return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return standard_->accLocation(left, top, width, height, child);
    const int index = Index(child);
    if (index < 0) return E_INVALIDARG;
    const Rect bounds = Element(index).bounds;
    POINT origin{bounds.left, bounds.top};
    ClientToScreen(connection_->hwnd, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = bounds.Width();
    *height = bounds.Height();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    VariantInit(end);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const int count = connection_->content->AccChildCount();
    if (IsSelf(start)) {
      if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
        if (count == 0) return S_FALSE;
        SetChild(end, direction == NAVDIR_FIRSTCHILD ? 1 : count);
        return S_OK;
      }
      return standard_->accNavigate(direction, start, end);
    }
    const int index = Index(start);
    if (index < 0) return E_INVALIDARG;
    int next = -1;
    if (direction == NAVDIR_NEXT) next = index + 1;
    if (direction == NAVDIR_PREVIOUS) next = index - 1;
    if (next < 0 || next >= count) return S_FALSE;
    SetChild(end, next + 1);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* at) override {
    if (at == nullptr) return E_POINTER;
    VariantInit(at);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    POINT point{x, y};
    ScreenToClient(connection_->hwnd, &point);
    RECT client;
    GetClientRect(connection_->hwnd, &client);
    if (!PtInRect(&client, point)) return S_FALSE;
    const int index = connection_->content->AccChildAt(Point{point.x, point.y});
    SetChild(at, index >= 0 ? index + 1 : CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return DISP_E_MEMBERNOTFOUND;
    const int index = Index(child);
    if (index < 0) return E_INVALIDARG;
    return connection_->content->AccDoDefaultAction(index) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  bool Connected() const { return connection_->content != nullptr && standard_; }
  static bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
  }
  // The element a child id names, or -1.
  int Index(const VARIANT& child) const {
    if (child.vt != VT_I4) return -1;
    const long index = child.lVal - 1;
    return index >= 0 && index < connection_->content->AccChildCount() ? static_cast<int>(index)
                                                                       : -1;
  }
  AccElement Element(int index) const { return connection_->content->AccChild(index); }

  using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
  HRESULT Text(const VARIANT& child, BSTR* out, std::string AccElement::*field,
               StandardText standard) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return (standard_.get()->*standard)(child, out);
    const int index = Index(child);
    if (index < 0) return E_INVALIDARG;
    return GiveText(Element(index).*field, out);
  }

  long refs_ = 1;
  std::shared_ptr<Connection> connection_;
  ComPtr<IAccessible> standard_;
};

}  // namespace

void Win32Accessibility::Publish(WindowHandle window, AccessibleContent* content) {
  const HWND hwnd = ToHwnd(window);
  auto& published = Published();
  if (const auto found = published.find(hwnd); found != published.end()) {
    found->second->content = nullptr;  // what clients still hold answers "disconnected"
    published.erase(found);
  }
  if (content != nullptr && hwnd != nullptr) {
    published.emplace(hwnd, std::make_shared<Connection>(Connection{hwnd, content}));
  }
}

void Win32Accessibility::Notify(WindowHandle window, AccEvent event, int index) {
  NotifyWinEvent(static_cast<DWORD>(event), ToHwnd(window), OBJID_CLIENT,
                 index >= 0 ? index + 1 : CHILDID_SELF);
}

std::optional<LRESULT> AccessibleObjectFor(HWND hwnd, WPARAM wparam, LPARAM lparam) {
  // The object id travels as a 32-bit value; on 64-bit Windows it arrives sign-extended.
  if (static_cast<LONG>(lparam) != OBJID_CLIENT) return std::nullopt;
  const auto found = Published().find(hwnd);
  if (found == Published().end()) return std::nullopt;
  const Oleacc& oleacc = LoadOleacc();
  if (oleacc.lresult_from_object == nullptr || oleacc.create_std_accessible_object == nullptr) {
    return std::nullopt;
  }
  ComPtr<IAccessible> standard;
  if (FAILED(oleacc.create_std_accessible_object(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(standard.put())))) {
    return std::nullopt;
  }
  const ComPtr<IAccessible> object =
      ComPtr<IAccessible>::Attach(new ClientObject(found->second, std::move(standard)));
  return oleacc.lresult_from_object(__uuidof(IAccessible), wparam, object.get());
}

}  // namespace velocane::win32
