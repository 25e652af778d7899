#include "tests/contract/widget_probe.h"

namespace velocane::contract {

void PrintTo(const ListState& state, std::ostream* out) {
  *out << "columns [";
  for (const ListColumn& column : state.columns)
    *out << " " << column.caption << ":" << column.width;
  *out << " ] grid " << state.grid_lines << " row-select " << state.row_select << " show-selection "
       << state.show_selection_always << " rows [";
  for (const auto& row : state.rows) {
    *out << " (";
    for (const std::string& text : row) *out << "'" << text << "'";
    *out << ")";
  }
  *out << " ] selected [";
  for (int row : state.selected) *out << " " << row;
  *out << " ]";
}

}  // namespace velocane::contract
