#include "platform/win32/win32_container.h"

#include "platform/canvas.h"
#include "platform/win32/win32_accessibility.h"
#include "platform/win32/win32_platform.h"

namespace velocane::win32 {

namespace {

Point MousePoint(LPARAM lparam) {
  return Point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

}  // namespace

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Win32Window* peer = Win32Window::Of(hwnd);
  // The peer is the one being made, not whatever a CREATESTRUCT names: any
  // program can send WM_NCCREATE to a living window with one of its own.
  Win32Window* const creating = Win32Window::Creating();
  if (msg == WM_NCCREATE && peer == nullptr && creating != nullptr) {
    Win32Window::Attach(hwnd, creating);
    peer = creating;
  } else if ((msg == WM_NCCREATE || msg == WM_CREATE) && peer != creating) {
    return 0;  // a window that exists is not made again, nor renamed by the default handling
  }
  std::optional<LRESULT> result;
  if (peer != nullptr) {
    Guarded([&] { result = peer->OnMessage(msg, wparam, lparam); });
  }
  return result ? *result : DefWindowProcA(hwnd, msg, wparam, lparam);
}

std::optional<LRESULT> ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
      if (Win32Window* child = Win32Window::Of(reinterpret_cast<HWND>(lparam))) {
        return child->OnCommand(HIWORD(wparam));
      }
      return std::nullopt;
    case WM_NOTIFY: {
      // Only a control of ours sends one, with its header; a null one is no notice.
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header == nullptr) return 0;
      if (Win32Window* child = Win32Window::Of(header->hwndFrom)) return child->OnNotify(*header);
      return std::nullopt;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      const auto window = reinterpret_cast<HWND>(lparam);
      Win32Window* child = Win32Window::Of(window);
      // The edit field and the list of a combo box are the combo's own children.
      if (child == nullptr) child = Win32Window::Of(GetParent(window));
      if (child == nullptr) return std::nullopt;
      return reinterpret_cast<LRESULT>(child->OnCtlColor(reinterpret_cast<HDC>(wparam)));
    }
    case Win32Window::kDeferredMessage: {
      const auto window = reinterpret_cast<HWND>(lparam);
      // The control may have gone since it posted.
      if (Win32Window* child = IsWindow(window) ? Win32Window::Of(window) : nullptr) {
        child->OnDeferred();
      }
      return 0;
    }
    default:
      return std::nullopt;
  }
}

void PaintContainer(HWND hwnd, Color background, ContainerSink& sink) {
  PaintDc paint(hwnd);
  HDC dc = paint.get();
  RECT client;
  GetClientRect(hwnd, &client);
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory || !bitmap) return;
  ScopedSelect select(memory.get(), bitmap.get());
  UniqueBrush brush(CreateSolidBrush(ResolveColor(background)));
  FillRect(memory.get(), &client, brush.get());
  {
    Canvas canvas(Win32Platform().drawing,
                  DcHandle{reinterpret_cast<std::uintptr_t>(memory.get())});
    sink.PeerPaint(canvas);
  }
  BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

std::optional<LRESULT> ContainerMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                                        Color background, ContainerSink& sink) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole client area
    case WM_PAINT:
      PaintContainer(hwnd, background, sink);
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      sink.PeerMouseDown(MousePoint(lparam));
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) ReleaseCapture();
      sink.PeerMouseUp(MousePoint(lparam));
      return 0;
    case WM_SETFOCUS:
      sink.PeerFocus(true);
      return 0;
    case WM_KILLFOCUS:
      sink.PeerFocus(false);
      return 0;
    case WM_GETOBJECT:
      return AccessibleObjectFor(hwnd, wparam, lparam);
    default:
      return std::nullopt;
  }
}

}  // namespace velocane::win32
