// Combo boxes: COMBOBOX controls with an edit field and a drop-down list.
#include "platform/win32/win32_control.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

namespace {

class Win32ComboBox final : public Win32Peer<ComboBoxPeer> {
 public:
  Win32ComboBox(const ComboBoxDesc& desc, HWND parent, ComboBoxSink& sink)
      : Win32Peer<ComboBoxPeer>(desc.control), dropdown_count_(desc.dropdown_count), sink_(sink) {
    CreateHandle(
        0, "COMBOBOX",
        ChildStyle(desc.control) | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, parent,
        WindowRectFor(desc.control.bounds), false, desc.control.font);
    SetItems(desc.items);
    SetDropDownCount(dropdown_count_);
  }

  void SetItems(const std::vector<std::string>& items) override {
    SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    // Emptying the list empties the field too; the program's text stays.
    SetWindowTextA(hwnd(), text_.c_str());
  }

  void SetDropDownCount(int count) override {
    dropdown_count_ = count;
    // The common controls of version 6 take the count; older ones drop the
    // list as deep as the window reaches below the field.
    SendMessageA(hwnd(), CB_SETMINVISIBLE, static_cast<WPARAM>(count), 0);
    ApplyBounds(bounds_);
  }

  std::optional<LRESULT> OnCommand(UINT code) override {
    if (code == CBN_SELCHANGE) {
      const int index = static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
      sink_.PeerSelected(index);
      // The control writes the chosen item into its field only after telling
      // us, over the text the program may have put there: put that back.
      PostDeferred();
      return 0;
    }
    if (code == CBN_EDITCHANGE) {
      char text[512];
      const int length = GetWindowTextA(hwnd(), text, sizeof text);
      sink_.PeerTextEdited(std::string(text, length > 0 ? length : 0));
      return 0;
    }
    return std::nullopt;
  }

  void OnDeferred() override { SetWindowTextA(hwnd(), text_.c_str()); }

 protected:
  // The window's height holds the edit field and the rows of the dropped
  // list; the system sizes the field itself, from the font.
  RECT WindowRectFor(const Rect& bounds) const override {
    int field = bounds.Height();
    int row = 16;
    if (hwnd() != nullptr) {
      RECT shown;
      GetWindowRect(hwnd(), &shown);
      field = shown.bottom - shown.top;
      row = static_cast<int>(SendMessageA(hwnd(), CB_GETITEMHEIGHT, 0, 0));
    }
    const int list = dropdown_count_ * row + 2 * GetSystemMetrics(SM_CYBORDER);
    return RECT{bounds.left, bounds.top, bounds.right, bounds.top + field + list};
  }

  void ApplyFont(const FontDesc& font) override {
    Win32Peer<ComboBoxPeer>::ApplyFont(font);
    ApplyBounds(bounds_);  // rows of another height
  }

 private:
  int dropdown_count_;
  ComboBoxSink& sink_;
};

}  // namespace

std::unique_ptr<ComboBoxPeer> CreateComboBoxPeer(const ComboBoxDesc& desc, HWND parent,
                                                 ComboBoxSink& sink) {
  return std::make_unique<Win32ComboBox>(desc, parent, sink);
}

}  // namespace velocane::win32
