// List views: SysListView32 in report style, one row selected at a time.
#include "platform/win32/win32_control.h"
#include "platform/win32/win32_peers.h"

namespace velocane::win32 {

namespace {

DWORD ExtendedStyle(bool grid_lines, bool row_select) {
  return (grid_lines ? LVS_EX_GRIDLINES : 0) | (row_select ? LVS_EX_FULLROWSELECT : 0);
}

class Win32ListView final : public Win32Peer<ListViewPeer> {
 public:
  Win32ListView(const ListViewDesc& desc, HWND parent, ListViewSink& sink)
      : Win32Peer<ListViewPeer>(desc.control),
        grid_lines_(desc.grid_lines),
        row_select_(desc.row_select),
        sink_(sink) {
    CreateHandle(WS_EX_CLIENTEDGE, WC_LISTVIEWA,
                 ChildStyle(desc.control) | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                     (desc.hide_selection ? 0 : LVS_SHOWSELALWAYS),
                 parent, WindowRectFor(desc.control.bounds), false, desc.control.font);
    ApplyExtendedStyle();
    ApplyColor(color_);
    SetColumns(desc.columns);
  }

  // Columns that stay are changed in place, so the rows keep their texts in them.
  void SetColumns(const std::vector<ListColumn>& columns) override {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      std::string caption = columns[i].caption;
      LVCOLUMNA column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = columns[i].width;
      column.pszText = caption.data();
      const auto index = static_cast<WPARAM>(i);
      if (i >= column_count_ ||
          SendMessageA(hwnd(), LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)) == FALSE) {
        SendMessageA(hwnd(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
      }
    }
    for (std::size_t i = column_count_; i > columns.size(); --i) {
      SendMessageA(hwnd(), LVM_DELETECOLUMN, i - 1, 0);
    }
    column_count_ = columns.size();
  }
  void SetGridLines(bool on) override {
    grid_lines_ = on;
    ApplyExtendedStyle();
  }
  void SetRowSelect(bool on) override {
    row_select_ = on;
    ApplyExtendedStyle();
  }
  void SetHideSelection(bool on) override {
    const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    SetWindowLongPtrA(hwnd(), GWL_STYLE,
                      on ? style & ~LVS_SHOWSELALWAYS : style | LVS_SHOWSELALWAYS);
    ApplyInvalidate();
  }

  void ClearRows() override {
    ProgramChange change(*this);
    SendMessageA(hwnd(), LVM_DELETEALLITEMS, 0, 0);
  }
  void AddRow(const std::vector<std::string>& texts) override {
    ProgramChange change(*this);
    const int row = static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (std::size_t column = 0; column < texts.size(); ++column) {
      std::string text = texts[column];
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.iSubItem = static_cast<int>(column);
      item.pszText = text.data();
      SendMessageA(hwnd(), column == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA,
                   column == 0 ? 0 : static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
  }
  void SetRowSelected(int row, bool selected) override {
    ProgramChange change(*this);
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
  }

  std::optional<LRESULT> OnNotify(const NMHDR& header) override {
    if (header.code != LVN_ITEMCHANGED || program_change_ > 0) return std::nullopt;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) return std::nullopt;
    const bool was = (change.uOldState & LVIS_SELECTED) != 0;
    const bool is = (change.uNewState & LVIS_SELECTED) != 0;
    if (was != is) sink_.PeerRowSelected(change.iItem, is);
    return 0;
  }

 protected:
  // The list draws its own background; it takes its colours by message.
  void ApplyColor(Color color) override {
    color_ = color;
    SendMessageA(hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
    SendMessageA(hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
    ApplyInvalidate();
  }
  void ApplyFont(const FontDesc& font) override {
    Win32Peer<ListViewPeer>::ApplyFont(font);
    SendMessageA(hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ResolveColor(font.color)));
  }

 private:
  // The program's own changes of the rows are not the user's selection.
  class ProgramChange {
   public:
    explicit ProgramChange(Win32ListView& view) : view_(view) { ++view_.program_change_; }
    ~ProgramChange() { --view_.program_change_; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

   private:
    Win32ListView& view_;
  };

  void ApplyExtendedStyle() {
    const DWORD all = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    SendMessageA(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, all,
                 ExtendedStyle(grid_lines_, row_select_));
  }

  bool grid_lines_;
  bool row_select_;
  std::size_t column_count_ = 0;
  int program_change_ = 0;
  ListViewSink& sink_;
};

}  // namespace

std::unique_ptr<ListViewPeer> CreateListViewPeer(const ListViewDesc& desc, HWND parent,
                                                 ListViewSink& sink) {
  return std::make_unique<Win32ListView>(desc, parent, sink);
}

}  // namespace velocane::win32
