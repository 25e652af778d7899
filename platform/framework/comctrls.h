#pragma once
// The report-style list view.
#include <string>
#include <vector>

#include "platform/framework/control.h"

namespace velocane {

class TListView : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const std::vector<ListColumn>& Columns() const { return columns_; }
  void SetColumns(std::vector<ListColumn> columns) { columns_ = std::move(columns); }
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool on) { grid_lines_ = on; }
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool on) { row_select_ = on; }
  // False: the selection stays shown when the list loses the focus.
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool on) { hide_selection_ = on; }

 protected:
  WidgetDesc Describe() const override {
    WidgetDesc desc = TWinControl::Describe();
    desc.kind = WidgetKind::ListView;
    desc.columns = columns_;
    desc.grid_lines = grid_lines_;
    desc.row_select = row_select_;
    desc.hide_selection = hide_selection_;
    return desc;
  }

 private:
  std::vector<ListColumn> columns_;
  bool grid_lines_ = false;
  bool row_select_ = false;
  bool hide_selection_ = true;
};

}  // namespace velocane
