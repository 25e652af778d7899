#include "platform/win32/win32_widgets.h"

#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/win32/win32_common.h"
#include "platform/win32/win32_font.h"
#include "platform/win32/win32_platform.h"

namespace velocane::win32 {

namespace {

constexpr char kPeerProperty[] = "VelocanePeer";
constexpr char kOldProcProperty[] = "VelocaneOldProc";
constexpr char kPanelClass[] = "TVelocanePanel";
// Posted to a container after a combo box's selection: the control writes the
// chosen item into its edit field only after telling us, over the text the
// program may have put there; this puts the program's text back.
constexpr UINT kRestoreComboText = WM_APP + 1;

class Win32Peer;

Win32Peer* PeerOf(HWND hwnd) { return static_cast<Win32Peer*>(GetPropA(hwnd, kPeerProperty)); }

class Win32Peer : public WidgetPeer {
 public:
  Win32Peer(const WidgetDesc& desc, WidgetSink& sink)
      : kind_(desc.kind), sink_(sink), color_(desc.color), text_color_(desc.font.color) {}
  ~Win32Peer() override {
    if (hwnd_ != nullptr) {
      RemovePropA(hwnd_, kPeerProperty);
      ::DestroyWindow(hwnd_);
    }
    if (font_ != nullptr) DeleteObject(font_);
    if (brush_ != nullptr) DeleteObject(brush_);
  }

  bool Create(const WidgetDesc& desc, HWND parent);

  WindowHandle Handle() const override { return FromHwnd(hwnd_); }
  void SetBounds(const Rect& b) override {
    if (kind_ == WidgetKind::Form) {
      RECT r{0, 0, b.Width(), b.Height()};
      AdjustWindowRectEx(&r, GetWindowLongA(hwnd_, GWL_STYLE), FALSE,
                         GetWindowLongA(hwnd_, GWL_EXSTYLE));
      SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      SetWindowPos(hwnd_, nullptr, b.left, b.top, b.Width(), HeightFor(b),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  void SetVisible(bool visible) override { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
  void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
  void SetText(const std::string& text) override {
    text_ = text;
    SetWindowTextA(hwnd_, text.c_str());
  }
  const std::string& Text() const { return text_; }
  void SetLines(const std::vector<std::string>& lines) override;
  void SetChecked(bool checked) override {
    SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void Invalidate() override { InvalidateRect(hwnd_, nullptr, TRUE); }
  bool SetFocus() override { return ::SetFocus(hwnd_) != nullptr || GetFocus() == hwnd_; }
  DcHandle GetDc() override { return DcHandle{reinterpret_cast<std::uintptr_t>(::GetDC(hwnd_))}; }
  void ReleaseDc(DcHandle dc) override { ::ReleaseDC(hwnd_, reinterpret_cast<HDC>(dc.value)); }

  WidgetSink& Sink() { return sink_; }
  WidgetKind Kind() const { return kind_; }
  // Colours for WM_CTLCOLOR*: the brush lives as long as the peer.
  LRESULT ControlColors(HDC dc) {
    SetTextColor(dc, ResolveColor(text_color_));
    SetBkColor(dc, ResolveColor(color_));
    if (brush_ == nullptr) brush_ = CreateSolidBrush(ResolveColor(color_));
    return reinterpret_cast<LRESULT>(brush_);
  }
  void Paint();

 private:
  int HeightFor(const Rect& b) const {
    // A combo box's window height includes its drop-down list.
    return kind_ == WidgetKind::ComboBox ? b.Height() + dropdown_height_ : b.Height();
  }

  WidgetKind kind_;
  WidgetSink& sink_;
  Color color_;
  Color text_color_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH brush_ = nullptr;
  int dropdown_height_ = 0;
  std::string text_;  // the text the program last gave the control
};

// Messages that the system sends to a control's parent are answered by the control's peer.
bool ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  switch (msg) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lparam);
      Win32Peer* peer = child != nullptr ? PeerOf(child) : nullptr;
      if (peer == nullptr) return false;
      const UINT code = HIWORD(wparam);
      if (peer->Kind() == WidgetKind::ComboBox) {
        if (code == CBN_SELCHANGE) {
          const int index = static_cast<int>(SendMessageA(child, CB_GETCURSEL, 0, 0));
          peer->Sink().PeerSelected(index);
          PostMessageA(GetParent(child), kRestoreComboText, 0, lparam);
        } else if (code == CBN_EDITCHANGE) {
          char text[512];
          const int length = GetWindowTextA(child, text, sizeof text);
          peer->Sink().PeerTextEdited(std::string(text, length > 0 ? length : 0));
        }
      } else if (code == BN_CLICKED) {
        peer->Sink().PeerClicked();
      }
      *result = 0;
      return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      HWND child = reinterpret_cast<HWND>(lparam);
      Win32Peer* peer = PeerOf(child);
      // The edit field of a combo box is the combo's child.
      if (peer == nullptr) peer = PeerOf(GetParent(child));
      if (peer == nullptr) return false;
      *result = peer->ControlColors(reinterpret_cast<HDC>(wparam));
      return true;
    }
    default:
      return false;
  }
}

// Forms and panels: containers that paint their windowless children and
// pass their controls' notifications on.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetPropA(hwnd, kPeerProperty, create->lpCreateParams);
  }
  Win32Peer* peer = PeerOf(hwnd);
  if (peer == nullptr) return DefWindowProcA(hwnd, msg, wparam, lparam);
  LRESULT result = 0;
  if (ReflectToChild(msg, wparam, lparam, &result)) return result;
  if (msg == kRestoreComboText) {
    HWND combo = reinterpret_cast<HWND>(lparam);
    if (Win32Peer* combo_peer = IsWindow(combo) ? PeerOf(combo) : nullptr) {
      SetWindowTextA(combo, combo_peer->Text().c_str());
    }
    return 0;
  }
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole client area
    case WM_PAINT:
      peer->Paint();
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      peer->Sink().PeerMouseDown(
          Point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) ReleaseCapture();
      peer->Sink().PeerMouseUp(
          Point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      return 0;
    case WM_CLOSE:
      if (peer->Kind() != WidgetKind::Form) break;
      peer->Sink().PeerCloseRequested();
      return 0;
    case WM_QUERYENDSESSION:
      if (peer->Kind() != WidgetKind::Form) break;
      return peer->Sink().PeerQueryEndSession() ? TRUE : FALSE;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// A memo whose context menu is empty offers none at all.
LRESULT CALLBACK NoContextMenuProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProperty));
  if (msg == WM_CONTEXTMENU) return 0;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(hwnd, kOldProcProperty);
  }
  return CallWindowProcA(old, hwnd, msg, wparam, lparam);
}

void Win32Peer::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  // Paint into a memory bitmap first, so buttons and text do not flicker.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
  HBRUSH background = CreateSolidBrush(ResolveColor(color_));
  FillRect(memory, &client, background);
  DeleteObject(background);
  {
    Canvas canvas(Win32Platform().drawing, DcHandle{reinterpret_cast<std::uintptr_t>(memory)});
    sink_.PeerPaint(canvas);
  }
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(hwnd_, &ps);
}

void Win32Peer::SetLines(const std::vector<std::string>& lines) {
  if (kind_ == WidgetKind::ComboBox) {
    SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : lines) {
      SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    return;
  }
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  SetWindowTextA(hwnd_, text.c_str());
}

bool Win32Peer::Create(const WidgetDesc& desc, HWND parent) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  DWORD style = (desc.visible ? WS_VISIBLE : 0) | (desc.enabled ? 0 : WS_DISABLED);
  DWORD ex_style = 0;
  const char* window_class = nullptr;
  std::string form_class;
  int x = desc.bounds.left;
  int y = desc.bounds.top;
  int width = desc.bounds.Width();
  int height = desc.bounds.Height();
  HWND owner_or_parent = parent;
  void* create_param = nullptr;

  switch (desc.kind) {
    case WidgetKind::Form: {
      form_class = "T" + desc.name;
      if (!EnsureWindowClass(form_class, ContainerProc, CS_DBLCLKS)) return false;
      window_class = form_class.c_str();
      style |= WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
      if (desc.tool_window) ex_style |= WS_EX_TOOLWINDOW;
      if (desc.stay_on_top) ex_style |= WS_EX_TOPMOST;
      RECT r{0, 0, width, height};
      AdjustWindowRectEx(&r, style, FALSE, ex_style);
      width = r.right - r.left;
      height = r.bottom - r.top;
      if (desc.centered) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
      }
      owner_or_parent = ToHwnd(desc.owner);
      create_param = this;
      break;
    }
    case WidgetKind::Panel:
      if (!EnsureWindowClass(kPanelClass, ContainerProc, CS_DBLCLKS)) return false;
      window_class = kPanelClass;
      style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
      create_param = this;
      break;
    case WidgetKind::Memo:
      window_class = "EDIT";
      style |= WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
      break;
    case WidgetKind::ComboBox:
      window_class = "COMBOBOX";
      style |=
          WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
      break;
    case WidgetKind::ListView:
      window_class = WC_LISTVIEWA;
      style |= WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT |
               (desc.hide_selection ? 0 : LVS_SHOWSELALWAYS);
      ex_style |= WS_EX_CLIENTEDGE;
      break;
    case WidgetKind::CheckBox:
      window_class = "BUTTON";
      style |= WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case WidgetKind::Button:
      window_class = "BUTTON";
      style |= WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON;
      break;
  }

  if (desc.kind == WidgetKind::ComboBox) {
    // Room for the edit field and the drop-down rows; the system sets the field's own height.
    dropdown_height_ = desc.dropdown_count * (desc.font.height + 4) + 2;
    height = (height > 0 ? height : desc.font.height + 10) + dropdown_height_;
  }

  hwnd_ = CreateWindowExA(ex_style, window_class, desc.text.c_str(), style, x, y, width, height,
                          owner_or_parent, nullptr, instance, create_param);
  if (hwnd_ == nullptr) return false;
  text_ = desc.text;
  SetPropA(hwnd_, kPeerProperty, this);
  // Creation order is stacking order: each new control goes above its siblings.
  if (desc.kind != WidgetKind::Form) {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  font_ = CreateFontFor(desc.font);
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  switch (desc.kind) {
    case WidgetKind::Memo:
      SetLines(desc.lines);
      if (desc.no_context_menu) {
        SetPropA(hwnd_, kOldProcProperty,
                 reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC)));
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoContextMenuProc));
      }
      break;
    case WidgetKind::ComboBox:
      SetLines(desc.lines);
      SendMessageA(hwnd_, CB_SETMINVISIBLE, desc.dropdown_count, 0);
      SetWindowTextA(hwnd_, desc.text.c_str());
      break;
    case WidgetKind::ListView: {
      DWORD ex =
          (desc.grid_lines ? LVS_EX_GRIDLINES : 0) | (desc.row_select ? LVS_EX_FULLROWSELECT : 0);
      SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
      for (size_t i = 0; i < desc.columns.size(); ++i) {
        std::string caption = desc.columns[i].caption;
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = desc.columns[i].width;
        column.pszText = caption.data();
        SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
      }
      break;
    }
    case WidgetKind::CheckBox:
      SetChecked(desc.checked);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace

CreatePeerResult Win32Widgets::Create(const WidgetDesc& desc, WidgetPeer* parent,
                                      WidgetSink& sink) {
  static const bool common_controls = [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                              ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)common_controls;
  auto peer = std::make_unique<Win32Peer>(desc, sink);
  HWND parent_hwnd = parent != nullptr ? ToHwnd(parent->Handle()) : nullptr;
  if (!peer->Create(desc, parent_hwnd)) return CreatePeerResult{nullptr, GetLastError()};
  return CreatePeerResult{std::move(peer), 0};
}

}  // namespace velocane::win32
