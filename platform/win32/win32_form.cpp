// Forms: top-level windows of a class named after the form.
#include "platform/win32/win32_container.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

namespace {

struct FrameStyles {
  DWORD style;
  DWORD ex_style;
};

FrameStyles StylesFor(TFormBorderStyle border, bool stay_on_top) {
  FrameStyles styles{WS_CLIPCHILDREN, stay_on_top ? DWORD{WS_EX_TOPMOST} : DWORD{0}};
  switch (border) {
    case TFormBorderStyle::bsSizeable:
      styles.style |= WS_OVERLAPPEDWINDOW;
      break;
    case TFormBorderStyle::bsDialog:
      styles.style |= WS_CAPTION | WS_SYSMENU;
      styles.ex_style |= WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      styles.style |= WS_CAPTION | WS_SYSMENU;
      styles.ex_style |= WS_EX_TOOLWINDOW;
      break;
  }
  return styles;
}

class Win32Form final : public Win32Container<FormPeer> {
 public:
  Win32Form(const FormDesc& desc, ContainerSink& container, FormSink& form)
      : Win32Container<FormPeer>(desc.control, container), form_(desc), sink_form_(form) {
    const std::string window_class = "T" + desc.control.name;
    if (!EnsureWindowClass(window_class, ContainerProc, CS_DBLCLKS)) ThrowLastError();
    const FrameStyles styles = StylesFor(desc.border_style, desc.stay_on_top);
    CreateHandle(styles.ex_style, window_class.c_str(),
                 styles.style | (desc.control.visible ? WS_VISIBLE : 0) |
                     (desc.control.enabled ? 0 : WS_DISABLED),
                 ToHwnd(desc.owner), PlacedRect(bounds_, styles), true, desc.control.font);
    if (desc.icon) SetIcon(desc.icon);
  }

  void SetBorderStyle(TFormBorderStyle style) override {
    form_.border_style = style;
    ApplyFrame();
  }
  void SetStayOnTop(bool on) override {
    form_.stay_on_top = on;
    ApplyFrame();
  }
  void SetPosition(TPosition position, WindowHandle center_over) override {
    form_.position = position;
    form_.center_over = center_over;
    Place();
  }
  void SetIcon(IconHandle icon) override {
    // The window only refers to it: the form keeps it alive.
    const auto handle = static_cast<LPARAM>(icon.value);
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, handle);
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, handle);
  }

  void Update() override {
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  int Dpi() override { return WindowDpi(hwnd()); }

  void ShowKeyboardCues() override {
    // The window passes it on to its children, as a dialog does on Tab.
    SendMessageA(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                 0);
  }

  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wparam, LPARAM lparam) override {
    switch (msg) {
      case WM_CLOSE:
        sink_form_.PeerCloseRequested();
        return 0;
      case WM_QUERYENDSESSION:
        return sink_form_.PeerQueryEndSession() ? TRUE : FALSE;
      case WM_DPICHANGED: {
        // The window goes where the system suggests, at the size the form
        // is laid out at for the new DPI.
        const auto* suggested = reinterpret_cast<const RECT*>(lparam);
        if (suggested == nullptr) return 0;
        suggested_ = *suggested;
        sink_form_.PeerDpiChanged(HIWORD(wparam), Rect{suggested->left, suggested->top,
                                                       suggested->right, suggested->bottom});
        suggested_.reset();
        return 0;
      }
      default:
        return Win32Container<FormPeer>::OnMessage(msg, wparam, lparam);
    }
  }

 protected:
  // Bounds are the client area; the window adds its frame.
  RECT WindowRectFor(const Rect& bounds) const override { return PlacedRect(bounds, Styles()); }

 private:
  FrameStyles Styles() const { return StylesFor(form_.border_style, form_.stay_on_top); }

  // The window's rectangle on the screen for a client area of `bounds`, where
  // the form's position puts it.
  RECT PlacedRect(const Rect& bounds, const FrameStyles& styles) const {
    RECT r{0, 0, bounds.Width(), bounds.Height()};
    AdjustWindowRectForDpi(&r, styles.style, styles.ex_style,
                           hwnd() != nullptr ? WindowDpi(hwnd()) : SystemDpi());
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (suggested_)
      return RECT{suggested_->left, suggested_->top, suggested_->left + width,
                  suggested_->top + height};
    int x = bounds.left;
    int y = bounds.top;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const bool centred = form_.position == TPosition::poScreenCenter ||
                         (form_.position == TPosition::poMainFormCenter &&
                          GetWindowRect(ToHwnd(form_.center_over), &area) != FALSE);
    if (centred) {
      x = area.left + (area.right - area.left - width) / 2;
      y = area.top + (area.bottom - area.top - height) / 2;
    }
    return RECT{x, y, x + width, y + height};
  }

  void ApplyFrame() {
    const FrameStyles styles = Styles();
    const LONG_PTR kept = GetWindowLongPtrA(hwnd(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
    SetWindowLongPtrA(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(styles.style) | kept);
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, static_cast<LONG_PTR>(styles.ex_style));
    const RECT r = PlacedRect(bounds_, styles);
    SetWindowPos(hwnd(), form_.stay_on_top ? HWND_TOPMOST : HWND_NOTOPMOST, r.left, r.top,
                 r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED | SWP_NOACTIVATE);
  }

  void Place() {
    const RECT r = PlacedRect(bounds_, Styles());
    SetWindowPos(hwnd(), nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  FormDesc form_;  // the frame and position settings as they are now
  FormSink& sink_form_;
  // Where the system suggests the window goes while it moves to another DPI.
  std::optional<RECT> suggested_;
};

}  // namespace

std::unique_ptr<FormPeer> CreateFormPeer(const FormDesc& desc, ContainerSink& container,
                                         FormSink& form) {
  return std::make_unique<Win32Form>(desc, container, form);
}

}  // namespace velocane::win32
