#pragma once
// Peers for the simulation: they keep what the real window would show, so a
// test can look at it, and offer the user's input as the real windows give
// it. Forms are top-level windows of the simulated desktop.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_drawing.h"
#include "platform/sim/sim_windowing.h"
#include "platform/widgets.h"

namespace velocane::sim {

class SimWidgets;

// The part every simulated peer has: the common state, a handle and a surface.
class SimWindow {
 public:
  SimWindow(SimWidgets& widgets, const ControlDesc& desc, WindowHandle handle, bool top_level);
  virtual ~SimWindow();
  SimWindow(const SimWindow&) = delete;
  SimWindow& operator=(const SimWindow&) = delete;

  // The pixels of the client area, kept between paints as the screen keeps them.
  DcHandle Surface();
  // The window got or lost the keyboard focus.
  virtual void FocusChanged(bool /*focused*/) {}
  // A key the window gets, once the loop's preview left it: a button and a
  // check box click on the space bar, as the system's do.
  virtual void KeyReached(const KeyStroke& /*key*/) {}

  ControlDesc control;
  int invalidations = 0;

 protected:
  void ApplyVisible(bool visible);
  void ApplyText(const std::string& text);
  bool ApplyFocus();
  // Runs the user's input as the system's window procedure would: an error
  // that escapes it goes to the windowing's error handler.
  void Deliver(const std::function<void()>& input);
  SimDrawing& Gdi();

  SimWidgets& widgets_;
  WindowHandle handle_;
  bool top_level_;

 private:
  DcHandle surface_;
  BitmapHandle surface_bitmap_;
  Point surface_size_;
};

template <class Interface>
class SimPeer : public Interface, public SimWindow {
 public:
  using SimWindow::SimWindow;
  WindowHandle Handle() const override { return handle_; }
  void SetBounds(const Rect& bounds) override { control.bounds = bounds; }
  void SetVisible(bool visible) override { ApplyVisible(visible); }
  void SetEnabled(bool enabled) override { control.enabled = enabled; }
  void SetText(const std::string& text) override { ApplyText(text); }
  void SetFont(const FontDesc& font) override { control.font = font; }
  void SetColor(Color color) override { control.color = color; }
  void Invalidate() override { ++invalidations; }
  bool SetFocus() override { return ApplyFocus(); }
  DcHandle GetDc() override { return Surface(); }
  void ReleaseDc(DcHandle) override {}
};

// Forms and panels.
template <class Interface>
class SimContainer : public SimPeer<Interface> {
 public:
  SimContainer(SimWidgets& widgets, const ControlDesc& desc, WindowHandle handle, bool top_level,
               ContainerSink& sink)
      : SimPeer<Interface>(widgets, desc, handle, top_level), sink_(sink) {}
  // A whole paint cycle into the surface.
  void Render();
  // The user's mouse: a press and a release at one point of the client area.
  void MouseClick(Point at);
  void FocusChanged(bool focused) override;

 private:
  ContainerSink& sink_;
};

class SimForm final : public SimContainer<FormPeer> {
 public:
  SimForm(SimWidgets& widgets, const FormDesc& desc, WindowHandle handle, ContainerSink& sink,
          FormSink& form, int dpi);
  int Dpi() override { return dpi; }
  // The user moves the window to a monitor of another DPI; the system
  // suggests where it goes there.
  void MoveToMonitor(int new_dpi, const Rect& suggested);
  void SetBorderStyle(TFormBorderStyle style) override { border_style = style; }
  void SetStayOnTop(bool on) override { stay_on_top = on; }
  void SetPosition(TPosition new_position, WindowHandle over) override {
    position = new_position;
    center_over = over;
  }
  void SetIcon(IconHandle new_icon) override { icon = new_icon; }
  // Nothing waits to be painted here: a test renders when it looks.
  void Update() override { ++updates; }
  void ShowKeyboardCues() override { keyboard_cues = true; }

  TFormBorderStyle border_style;
  bool stay_on_top;
  TPosition position;
  WindowHandle center_over;
  WindowHandle owner;
  IconHandle icon;
  int updates = 0;
  bool keyboard_cues = false;
  int dpi;
  Rect placed_at;  // the window's rectangle the last move suggested

 private:
  FormSink& form_;
};

using SimPanel = SimContainer<WidgetPeer>;

class SimMemo final : public SimPeer<MemoPeer> {
 public:
  SimMemo(SimWidgets& widgets, const MemoDesc& desc, WindowHandle handle, MemoSink& sink);
  void SetLines(const std::vector<std::string>& new_lines) override { lines = new_lines; }
  void SetReadOnly(bool on) override { read_only = on; }
  void SetNoContextMenu(bool none) override { no_context_menu = none; }
  // The user types a whole new text; a read-only memo refuses it.
  void Type(const std::string& text);

  std::vector<std::string> lines;
  bool read_only;
  bool no_context_menu;

 private:
  MemoSink& sink_;
};

class SimComboBox final : public SimPeer<ComboBoxPeer> {
 public:
  SimComboBox(SimWidgets& widgets, const ComboBoxDesc& desc, WindowHandle handle,
              ComboBoxSink& sink);
  void SetItems(const std::vector<std::string>& new_items) override { items = new_items; }
  void SetDropDownCount(int count) override { dropdown_count = count; }
  // The user picks an item from the dropped list, or types into the field.
  void Pick(int index);
  void Type(const std::string& text);

  std::vector<std::string> items;
  int dropdown_count;

 private:
  ComboBoxSink& sink_;
};

class SimListView final : public SimPeer<ListViewPeer> {
 public:
  SimListView(SimWidgets& widgets, const ListViewDesc& desc, WindowHandle handle,
              ListViewSink& sink);
  void SetColumns(const std::vector<ListColumn>& new_columns) override { columns = new_columns; }
  void SetGridLines(bool on) override { grid_lines = on; }
  void SetRowSelect(bool on) override { row_select = on; }
  void SetHideSelection(bool on) override { hide_selection = on; }
  void ClearRows() override;
  void AddRow(const std::vector<std::string>& texts) override { rows.push_back(texts); }
  void SetRowSelected(int row, bool selected) override;
  // The user clicks a row: it becomes the one selected row.
  void ClickRow(int row);

  std::vector<ListColumn> columns;
  bool grid_lines;
  bool row_select;
  bool hide_selection;
  std::vector<std::vector<std::string>> rows;
  std::set<int> selected;
  int clears = 0;  // how often the rows were deleted, for rebuild counts

 private:
  ListViewSink& sink_;
};

class SimCheckBox final : public SimPeer<CheckBoxPeer> {
 public:
  SimCheckBox(SimWidgets& widgets, const CheckBoxDesc& desc, WindowHandle handle, ClickSink& sink);
  void SetChecked(bool on) override { checked = on; }
  // The user's click: the box toggles itself, then tells.
  void Click();
  void KeyReached(const KeyStroke& key) override;

  bool checked;

 private:
  ClickSink& sink_;
};

class SimButton final : public SimPeer<WidgetPeer> {
 public:
  SimButton(SimWidgets& widgets, const ControlDesc& desc, WindowHandle handle, ClickSink& sink)
      : SimPeer<WidgetPeer>(widgets, desc, handle, false), sink_(sink) {}
  void Click();
  void KeyReached(const KeyStroke& key) override;

 private:
  ClickSink& sink_;
};

class SimWidgets : public WidgetFactory {
 public:
  SimWidgets(SimWindowing& windowing, SimDrawing& drawing)
      : windowing_(windowing), drawing_(drawing) {}
  int SystemDpi() override { return dpi; }
  // 16 at 96 DPI and scaled with it, as the system's metric is.
  int SmallIconSize() override { return 16 * dpi / 96; }
  // Test side: the DPI of the monitor new windows are made on.
  int dpi = 96;
  std::unique_ptr<FormPeer> CreateForm(const FormDesc& desc, ContainerSink& container,
                                       FormSink& form) override;
  std::unique_ptr<WidgetPeer> CreatePanel(const ControlDesc& desc, WidgetPeer& parent,
                                          ContainerSink& container) override;
  std::unique_ptr<MemoPeer> CreateMemo(const MemoDesc& desc, WidgetPeer& parent,
                                       MemoSink& sink) override;
  std::unique_ptr<ComboBoxPeer> CreateComboBox(const ComboBoxDesc& desc, WidgetPeer& parent,
                                               ComboBoxSink& sink) override;
  std::unique_ptr<ListViewPeer> CreateListView(const ListViewDesc& desc, WidgetPeer& parent,
                                               ListViewSink& sink) override;
  std::unique_ptr<CheckBoxPeer> CreateCheckBox(const CheckBoxDesc& desc, WidgetPeer& parent,
                                               ClickSink& sink) override;
  std::unique_ptr<WidgetPeer> CreateButton(const ControlDesc& desc, WidgetPeer& parent,
                                           ClickSink& sink) override;

  // Test side: the next creation fails with this system error code.
  void FailNextCreate(unsigned error) { fail_next_create_ = error; }
  // How many peers exist now (leak checks).
  int LivePeers() const { return live_; }
  // The window that has the keyboard focus, or null.
  WindowHandle Focus() const { return windowing_.FocusedWindow(); }
  // The user presses a key and lets it go, with the modifiers held: each
  // goes to the loops' preview, then to the focused window.
  void PressKey(int key, bool shift = false, bool alt = false);
  void KeyStrokeReached(const KeyStroke& key);
  // A window's child windows in stacking order, the top one first.
  std::vector<WindowHandle> Children(WindowHandle parent) const;

 private:
  friend class SimWindow;
  // A handle for a child window, stacked as the desc says; raises the failure
  // a test asked for.
  WindowHandle ChildHandle(const ControlDesc& desc, WidgetPeer& parent);
  void Unstack(WindowHandle child);
  void CheckFailure();

  SimWindowing& windowing_;
  SimDrawing& drawing_;
  unsigned fail_next_create_ = 0;
  int live_ = 0;
  std::map<std::uintptr_t, SimWindow*> windows_;                  // by handle
  std::map<std::uintptr_t, std::vector<WindowHandle>> children_;  // by parent, top first
};

}  // namespace velocane::sim
