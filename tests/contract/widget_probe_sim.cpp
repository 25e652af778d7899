#include "platform/sim/sim_widgets.h"
#include "tests/contract/backend.h"
#include "tests/contract/widget_probe.h"

namespace velocane::contract {

namespace {

template <class T>
T& PeerOf(const TWinControl& control) {
  return *dynamic_cast<T*>(control.Peer());
}

}  // namespace

WidgetState Probe(const TWinControl& control) {
  const auto& window = *dynamic_cast<sim::SimWindow*>(control.Peer());
  const ControlDesc& c = window.control;
  Rect bounds = c.bounds;
  if (dynamic_cast<const TForm*>(&control) != nullptr) {
    bounds = Rect{0, 0, bounds.Width(), bounds.Height()};
  }
  return WidgetState{c.text, c.visible, c.enabled, bounds, c.font.name, c.font.height, c.font.bold};
}

std::vector<std::string> MemoLines(const TMemo& memo) { return PeerOf<sim::SimMemo>(memo).lines; }
bool MemoReadOnly(const TMemo& memo) { return PeerOf<sim::SimMemo>(memo).read_only; }

std::vector<std::string> ComboItems(const TComboBox& combo) {
  return PeerOf<sim::SimComboBox>(combo).items;
}
int ComboDropDownCount(const TComboBox& combo) {
  return PeerOf<sim::SimComboBox>(combo).dropdown_count;
}

ListState List(const TListView& list) {
  const auto& peer = PeerOf<sim::SimListView>(list);
  // A real list shows one text per column, empty where a row has none.
  std::vector<std::vector<std::string>> rows = peer.rows;
  for (auto& row : rows) row.resize(peer.columns.size());
  return ListState{peer.columns,
                   peer.grid_lines,
                   peer.row_select,
                   !peer.hide_selection,
                   rows,
                   std::vector<int>(peer.selected.begin(), peer.selected.end())};
}

bool Checked(const TCheckBox& box) { return PeerOf<sim::SimCheckBox>(box).checked; }

FormState Form(const TForm& form) {
  const auto& peer = PeerOf<sim::SimForm>(form);
  return FormState{peer.border_style, peer.stay_on_top, peer.owner, static_cast<bool>(peer.icon)};
}

WindowHandle Focused() { return dynamic_cast<sim::SimWidgets&>(Backend().widgets).Focus(); }

std::vector<WindowHandle> Stacking(const TWinControl& parent) {
  return dynamic_cast<sim::SimWidgets&>(Backend().widgets).Children(parent.Handle());
}

bool WindowExists(WindowHandle window) {
  // Every window has a class; a destroyed one has none.
  return !Backend().windowing.GetClassName(window).empty();
}

void UserClick(TWinControl& button) {
  if (auto* box = dynamic_cast<sim::SimCheckBox*>(button.Peer())) {
    box->Click();
  } else {
    PeerOf<sim::SimButton>(button).Click();
  }
}

void UserPickItem(TComboBox& combo, int index) { PeerOf<sim::SimComboBox>(combo).Pick(index); }

void UserSelectRow(TListView& list, int row) { PeerOf<sim::SimListView>(list).ClickRow(row); }

}  // namespace velocane::contract
