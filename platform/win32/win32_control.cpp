#include "platform/win32/win32_control.h"

#include <utility>

#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_font.h"

namespace velocane::win32 {

namespace {
constexpr char kPeerProperty[] = "VelocanePeer";
Win32Window* creating = nullptr;
}  // namespace

DWORD ChildStyle(const ControlDesc& desc) {
  return WS_CHILD | WS_CLIPSIBLINGS | (desc.visible ? WS_VISIBLE : 0) |
         (desc.enabled ? 0 : WS_DISABLED);
}

Win32Window::Win32Window(const ControlDesc& desc)
    : bounds_(desc.bounds),
      color_(desc.color),
      text_color_(desc.font.color),
      text_(desc.text),
      below_(desc.below) {}

Win32Window::~Win32Window() {
  // The window may still be told things while it goes; they no longer reach us.
  if (window_) RemovePropA(window_.get(), kPeerProperty);
}

void Win32Window::Attach(HWND hwnd, Win32Window* peer) { SetPropA(hwnd, kPeerProperty, peer); }

Win32Window* Win32Window::Creating() { return creating; }

Win32Window* Win32Window::Of(HWND hwnd) {
  return hwnd != nullptr ? static_cast<Win32Window*>(GetPropA(hwnd, kPeerProperty)) : nullptr;
}

void Win32Window::CreateHandle(DWORD ex_style, const char* window_class, DWORD style, HWND parent,
                               const RECT& r, bool own_class, const FontDesc& font) {
  // Windows of our own classes find their peer from the first message on.
  Win32Window* const outer = std::exchange(creating, own_class ? this : nullptr);
  HWND hwnd =
      CreateWindowExA(ex_style, window_class, text_.c_str(), style, r.left, r.top, r.right - r.left,
                      r.bottom - r.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  creating = outer;
  if (hwnd == nullptr) ThrowLastError();
  window_.reset(hwnd);
  SetPropA(hwnd, kPeerProperty, this);
  // Stacking follows the controls' order: a new control goes above the
  // siblings made before it, and below any made already that comes after it.
  if ((style & WS_CHILD) != 0) {
    const HWND after = below_ ? ToHwnd(below_) : HWND_TOP;
    SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ApplyFont(font);
}

RECT Win32Window::WindowRectFor(const Rect& b) const {
  return RECT{b.left, b.top, b.right, b.bottom};
}

void Win32Window::PostDeferred() {
  PostMessageA(GetParent(hwnd()), kDeferredMessage, 0, reinterpret_cast<LPARAM>(hwnd()));
}

HBRUSH Win32Window::OnCtlColor(HDC dc) {
  SetTextColor(dc, ResolveColor(text_color_));
  SetBkColor(dc, ResolveColor(color_));
  if (!brush_) brush_.reset(CreateSolidBrush(ResolveColor(color_)));
  return brush_.get();
}

void Win32Window::ApplyBounds(const Rect& bounds) {
  bounds_ = bounds;
  const RECT r = WindowRectFor(bounds);
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::ApplyVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE); }

void Win32Window::ApplyEnabled(bool enabled) { EnableWindow(hwnd(), enabled ? TRUE : FALSE); }

void Win32Window::ApplyText(const std::string& text) {
  text_ = text;
  SetWindowTextA(hwnd(), text.c_str());
}

void Win32Window::ApplyFont(const FontDesc& font) {
  text_color_ = font.color;
  UniqueFont made(CreateFontFor(font));
  // The window lets go of the old font before it is deleted.
  // A window not shown yet is painted with it when it is; no redraw now.
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), IsWindowVisible(hwnd()));
  font_ = std::move(made);
}

void Win32Window::ApplyColor(Color color) {
  color_ = color;
  brush_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void Win32Window::ApplyInvalidate() { InvalidateRect(hwnd(), nullptr, TRUE); }

bool Win32Window::ApplyFocus() { return ::SetFocus(hwnd()) != nullptr || GetFocus() == hwnd(); }

DcHandle Win32Window::ApplyGetDc() {
  WindowDc dc(hwnd());
  return DcHandle{reinterpret_cast<std::uintptr_t>(dc.release())};
}

void Win32Window::ApplyReleaseDc(DcHandle dc) {
  WindowDc adopted(hwnd(), reinterpret_cast<HDC>(dc.value));
}

}  // namespace velocane::win32
