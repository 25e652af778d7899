#pragma once
// What every peer of the Windows backend shares: its window, found again from
// the handle, the colours and font it is drawn with, and the answers to the
// notifications its parent reflects back to it.
#include <optional>
#include <string>

#include "platform/widgets.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_common.h"

namespace velocane::win32 {

class Win32Window {
 public:
  virtual ~Win32Window();
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND hwnd() const { return window_.get(); }
  // The peer of a window of ours, or null.
  static Win32Window* Of(HWND hwnd);

  // Notifications the parent reflects to the control they are about. Each
  // returns the message's result when the control answered it.
  virtual std::optional<LRESULT> OnCommand(UINT /*code*/) { return std::nullopt; }
  virtual std::optional<LRESULT> OnNotify(const NMHDR& /*header*/) { return std::nullopt; }
  // A message the control posted to its parent, to run after the system's own
  // handling of the current one.
  virtual void OnDeferred() {}
  // WM_CTLCOLOR*: the control's colours, and the brush for its background.
  HBRUSH OnCtlColor(HDC dc);
  // A message to a window of our own class; nothing leaves it to DefWindowProc.
  virtual std::optional<LRESULT> OnMessage(UINT /*msg*/, WPARAM /*wparam*/, LPARAM /*lparam*/) {
    return std::nullopt;
  }
  // Ties a window of our own class to its peer while it is being created.
  static void Attach(HWND hwnd, Win32Window* peer);
  // The peer whose window of our own class CreateHandle is making now, or null.
  static Win32Window* Creating();

  // The message a control posts to its parent for OnDeferred; lParam is the control.
  static constexpr UINT kDeferredMessage = WM_APP + 1;

 protected:
  explicit Win32Window(const ControlDesc& desc);

  // Creates the window, ties it to this peer and gives it its font.
  // `window_rect` is in the parent's client area (the screen for top-level
  // windows); windows of our own classes get the peer as their creation
  // parameter. Raises EOSError.
  void CreateHandle(DWORD ex_style, const char* window_class, DWORD style, HWND parent,
                    const RECT& window_rect, bool own_class, const FontDesc& font);
  // The window's rectangle for bounds of the control's client area.
  virtual RECT WindowRectFor(const Rect& bounds) const;
  void PostDeferred();

  void ApplyBounds(const Rect& bounds);
  void ApplyVisible(bool visible);
  void ApplyEnabled(bool enabled);
  virtual void ApplyText(const std::string& text);
  virtual void ApplyFont(const FontDesc& font);
  virtual void ApplyColor(Color color);
  void ApplyInvalidate();
  bool ApplyFocus();
  DcHandle ApplyGetDc();
  void ApplyReleaseDc(DcHandle dc);

  Rect bounds_;
  Color color_;
  Color text_color_;
  std::string text_;    // the text the program last gave the control
  WindowHandle below_;  // the sibling the window is made directly below; none: the top

 private:
  UniqueWindow window_;
  UniqueFont font_;
  UniqueBrush brush_;  // for WM_CTLCOLOR*, made when first asked for
};

// The WidgetPeer part of every kind, over the shared window code.
template <class Interface>
class Win32Peer : public Interface, public Win32Window {
 public:
  WindowHandle Handle() const override { return FromHwnd(hwnd()); }
  void SetBounds(const Rect& bounds) override { ApplyBounds(bounds); }
  void SetVisible(bool visible) override { ApplyVisible(visible); }
  void SetEnabled(bool enabled) override { ApplyEnabled(enabled); }
  void SetText(const std::string& text) override { ApplyText(text); }
  void SetFont(const FontDesc& font) override { ApplyFont(font); }
  void SetColor(Color color) override { ApplyColor(color); }
  void Invalidate() override { ApplyInvalidate(); }
  bool SetFocus() override { return ApplyFocus(); }
  DcHandle GetDc() override { return ApplyGetDc(); }
  void ReleaseDc(DcHandle dc) override { ApplyReleaseDc(dc); }

 protected:
  using Win32Window::Win32Window;
};

// A BUTTON control's click, told to its sink.
inline std::optional<LRESULT> ClickCommand(UINT code, ClickSink& sink) {
  if (code != BN_CLICKED) return std::nullopt;
  sink.PeerClicked();
  return 0;
}

// The window style every child control starts from.
DWORD ChildStyle(const ControlDesc& desc);

}  // namespace velocane::win32
