#include "platform/framework/comctrls.h"

namespace velocane {

namespace {

std::vector<std::string> RowTexts(const TListItem& item) {
  std::vector<std::string> texts{item.Caption};
  texts.insert(texts.end(), item.SubItems.begin(), item.SubItems.end());
  return texts;
}

}  // namespace

void TListView::SetColumns(std::vector<ListColumn> columns) {
  columns_ = std::move(columns);
  if (auto* peer = PeerAs<ListViewPeer>()) peer->SetColumns(ScaledColumns());
}

std::vector<ListColumn> TListView::ScaledColumns() const {
  std::vector<ListColumn> scaled = columns_;
  for (ListColumn& column : scaled) column.width = Scaled(column.width);
  return scaled;
}

void TListView::ScaleChanged() {
  TWinControl::ScaleChanged();
  if (auto* peer = PeerAs<ListViewPeer>()) peer->SetColumns(ScaledColumns());
}

void TListView::SetGridLines(bool on) {
  if (on == grid_lines_) return;
  grid_lines_ = on;
  if (auto* peer = PeerAs<ListViewPeer>()) peer->SetGridLines(on);
}

void TListView::SetRowSelect(bool on) {
  if (on == row_select_) return;
  row_select_ = on;
  if (auto* peer = PeerAs<ListViewPeer>()) peer->SetRowSelect(on);
}

void TListView::SetHideSelection(bool on) {
  if (on == hide_selection_) return;
  hide_selection_ = on;
  if (auto* peer = PeerAs<ListViewPeer>()) peer->SetHideSelection(on);
}

void TListView::ClearItems() {
  items_.clear();
  if (auto* peer = PeerAs<ListViewPeer>()) peer->ClearRows();
}

void TListView::AddItem(TListItem item) {
  item.Selected = false;
  items_.push_back(std::move(item));
  if (auto* peer = PeerAs<ListViewPeer>()) peer->AddRow(RowTexts(items_.back()));
}

const TListItem* TListView::Selected() const {
  for (const TListItem& item : items_) {
    if (item.Selected) return &item;
  }
  return nullptr;
}

void TListView::SetSelectedIndex(int index) {
  auto* peer = PeerAs<ListViewPeer>();
  for (int row = 0; row < ItemCount(); ++row) {
    const bool selected = row == index;
    if (items_[row].Selected == selected) continue;
    items_[row].Selected = selected;
    if (peer != nullptr) peer->SetRowSelected(row, selected);
  }
}

void TListView::UserSelect(int index, bool selected) {
  if (index < 0 || index >= ItemCount()) return;
  // One row at a time: a new selection ends the old one.
  if (selected) {
    for (TListItem& item : items_) item.Selected = false;
  }
  items_[index].Selected = selected;
}

std::unique_ptr<WidgetPeer> TListView::CreatePeer(WidgetFactory& factory, WidgetPeer* parent) {
  auto peer = factory.CreateListView(
      ListViewDesc{Describe(), ScaledColumns(), grid_lines_, row_select_, hide_selection_}, *parent,
      *this);
  for (const TListItem& item : items_) peer->AddRow(RowTexts(item));
  for (int row = 0; row < ItemCount(); ++row) {
    if (items_[row].Selected) peer->SetRowSelected(row, true);
  }
  return peer;
}

}  // namespace velocane
