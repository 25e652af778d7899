#pragma once
// The report-style list view.
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/control.h"

namespace velocane {

// One row: its caption (the first column), the texts of the further columns,
// and the data the program hangs on it.
struct TListItem {
  std::string Caption;
  std::vector<std::string> SubItems;
  // Kept alive for as long as the row exists.
  std::shared_ptr<void> Data;
  bool Selected = false;
};

class TListView : public TWinControl, private ListViewSink {
 public:
  using TWinControl::TWinControl;
  const std::vector<ListColumn>& Columns() const { return columns_; }
  void SetColumns(std::vector<ListColumn> columns);
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool on);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool on);
  // False: the selection stays shown when the list loses the focus.
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool on);

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const TListItem& Item(int index) const { return items_.at(index); }
  void ClearItems();
  void AddItem(TListItem item);
  // The first selected row, or null.
  const TListItem* Selected() const;
  // Selects one row (and no other), or none with -1.
  void SetSelectedIndex(int index);

  // The user's selection, from the real control or from a test.
  void UserSelect(int index, bool selected);

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;

 private:
  void PeerRowSelected(int row, bool selected) override { UserSelect(row, selected); }
  // The columns as the window shows them: their widths at the form's DPI.
  std::vector<ListColumn> ScaledColumns() const;
  void ScaleChanged() override;

  std::vector<ListColumn> columns_;
  bool grid_lines_ = false;
  bool row_select_ = false;
  bool hide_selection_ = true;
  std::vector<TListItem> items_;
};

}  // namespace velocane
