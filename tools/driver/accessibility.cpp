// What a screen reader reads of a window, from another process, through
// Active Accessibility: the tree of accessible objects and their children.
#include <oleacc.h>

#include "platform/win32/bstr.h"
#include "platform/win32/handles.h"
#include "tools/driver/driver.h"

namespace velocane::driver {

namespace {

using win32::Bstr;
using win32::ComPtr;
using win32::ComScope;

VARIANT Child(long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

AccNode Read(IAccessible* object, long id, int depth) {
  AccNode node;
  node.depth = depth;
  node.child_id = id;
  const VARIANT child = Child(id);
  Bstr name;
  if (object->get_accName(child, name.put()) == S_OK && name.get() != nullptr)
    node.name = name.get();
  Bstr value;
  if (object->get_accValue(child, value.put()) == S_OK && value.get() != nullptr) {
    node.value = value.get();
  }
  Bstr action;
  if (object->get_accDefaultAction(child, action.put()) == S_OK && action.get() != nullptr) {
    node.default_action = action.get();
  }
  VARIANT role;
  VariantInit(&role);
  if (SUCCEEDED(object->get_accRole(child, &role)) && role.vt == VT_I4) node.role = role.lVal;
  VARIANT state;
  VariantInit(&state);
  if (SUCCEEDED(object->get_accState(child, &state)) && state.vt == VT_I4) node.state = state.lVal;
  long left = 0, top = 0, width = 0, height = 0;
  if (SUCCEEDED(object->accLocation(&left, &top, &width, &height, child))) {
    node.location = RECT{left, top, left + width, top + height};
  }
  return node;
}

ComPtr<IAccessible> ClientOf(HWND window);

// The client area of a window with its elements, then its child windows'
// client areas, as a screen reader goes through a window.
void Walk(HWND window, int depth, int max_depth, std::vector<AccNode>& out) {
  ComPtr<IAccessible> client = ClientOf(window);
  if (!client) return;
  out.push_back(Read(client.get(), CHILDID_SELF, depth));
  long count = 0;
  if (SUCCEEDED(client->get_accChildCount(&count)) && count > 0) {
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long got = 0;
    if (SUCCEEDED(AccessibleChildren(client.get(), 0, count, children.data(), &got))) {
      for (long i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<std::size_t>(i)];
        // Elements without a window of their own; the windows come below.
        if (child.vt == VT_I4) out.push_back(Read(client.get(), child.lVal, depth + 1));
        VariantClear(&child);
      }
    }
  }
  if (depth >= max_depth) return;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    Walk(child, depth + 1, max_depth, out);
  }
}

ComPtr<IAccessible> ClientOf(HWND window) {
  ComPtr<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(object.put())))) {
    return nullptr;
  }
  return object;
}

}  // namespace

std::vector<AccNode> AccessibleTree(HWND window, int max_depth) {
  ComScope com;
  std::vector<AccNode> tree;
  Walk(window, 0, max_depth, tree);
  return tree;
}

std::optional<AccNode> AccessibleFocus(HWND window) {
  ComScope com;
  ComPtr<IAccessible> client = ClientOf(window);
  if (!client) return std::nullopt;
  VARIANT focus;
  VariantInit(&focus);
  if (client->get_accFocus(&focus) != S_OK || focus.vt != VT_I4) {
    VariantClear(&focus);
    return std::nullopt;
  }
  return Read(client.get(), focus.lVal, 1);
}

HRESULT AccessibleDefaultAction(HWND window, const std::wstring& name, double* seconds) {
  ComScope com;
  ComPtr<IAccessible> client = ClientOf(window);
  if (!client) return E_FAIL;
  long count = 0;
  if (FAILED(client->get_accChildCount(&count))) return E_FAIL;
  for (long id = 1; id <= count; ++id) {
    const VARIANT child = Child(id);
    Bstr found;
    if (client->get_accName(child, found.put()) == S_OK && found.get() != nullptr &&
        name == found.get()) {
      LARGE_INTEGER frequency, start, end;
      QueryPerformanceFrequency(&frequency);
      QueryPerformanceCounter(&start);
      const HRESULT hr = client->accDoDefaultAction(child);
      QueryPerformanceCounter(&end);
      if (seconds != nullptr) {
        *seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
      }
      return hr;
    }
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace velocane::driver
