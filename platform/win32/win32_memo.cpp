// Memos: multi-line EDIT controls.
#include "platform/win32/win32_control.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

class Win32Memo final : public Win32Peer<MemoPeer> {
 public:
  Win32Memo(const MemoDesc& desc, HWND parent, MemoSink& sink)
      : Win32Peer<MemoPeer>(desc.control), no_context_menu_(desc.no_context_menu), sink_(sink) {
    text_ = JoinLines(desc.lines);
    CreateHandle(0, "EDIT",
                 ChildStyle(desc.control) | ES_MULTILINE | ES_AUTOVSCROLL |
                     (desc.read_only ? ES_READONLY : 0),
                 parent, WindowRectFor(desc.control.bounds), false, desc.control.font);
    // Watched for its context menu: an empty one offers none at all.
    SetWindowSubclass(hwnd(), MemoProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  ~Win32Memo() override { RemoveWindowSubclass(hwnd(), MemoProc, 0); }

  void SetLines(const std::vector<std::string>& lines) override { SetText(JoinLines(lines)); }
  void SetReadOnly(bool read_only) override {
    SendMessageA(hwnd(), EM_SETREADONLY, read_only ? TRUE : FALSE, 0);
  }
  void SetNoContextMenu(bool none) override { no_context_menu_ = none; }

  std::optional<LRESULT> OnCommand(UINT code) override {
    if (code != EN_CHANGE || setting_text_) return std::nullopt;
    const int length = GetWindowTextLengthA(hwnd());
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd(), text.data(), length + 1)));
    if (text == text_) return std::nullopt;
    text_ = text;
    sink_.PeerTextEdited(text);
    return 0;
  }

 protected:
  void ApplyText(const std::string& text) override {
    // The program's own text is no edit of the user's.
    setting_text_ = true;
    Win32Peer<MemoPeer>::ApplyText(text);
    setting_text_ = false;
  }

 private:
  static LRESULT CALLBACK MemoProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                   DWORD_PTR data) {
    const auto* self = reinterpret_cast<const Win32Memo*>(data);
    if (msg == WM_CONTEXTMENU && self->no_context_menu_) return 0;
    return DefSubclassProc(hwnd, msg, wparam, lparam);
  }

  bool no_context_menu_;
  bool setting_text_ = false;
  MemoSink& sink_;
};

}  // namespace

std::unique_ptr<MemoPeer> CreateMemoPeer(const MemoDesc& desc, HWND parent, MemoSink& sink) {
  return std::make_unique<Win32Memo>(desc, parent, sink);
}

}  // namespace velocane::win32
