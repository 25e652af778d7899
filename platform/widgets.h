#pragma once
// Peers: the system's standard windows that mirror the framework's controls,
// one interface per kind of control. The framework keeps the state and tells
// the peer every change; a peer shows it and reports the user's input back
// through the sink of its kind. In the simulation peers only keep what a test
// may look at; tests drive the same sink entry points as the user.
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/drawing.h"
#include "platform/notify_area.h"
#include "platform/types.h"

namespace velocane {

// What every control kind starts with.
struct ControlDesc {
  std::string name;  // the control's name; forms use it for their window class
  Rect bounds;       // in the parent's client area; forms: client size
  std::string text;  // caption or edit text
  bool visible = true;
  bool enabled = true;
  FontDesc font;
  Color color = clBtnFace;  // background
  // The sibling this window goes directly below; none: above all its siblings.
  WindowHandle below;
};

enum class TFormBorderStyle {
  bsSizeable,    // a resizable frame with minimize and maximize boxes
  bsDialog,      // a fixed frame with a close box only
  bsToolWindow,  // a small caption with a close box only
};

enum class TPosition {
  poDesigned,        // where its bounds say
  poScreenCenter,    // centred on the screen
  poMainFormCenter,  // centred over the window named in `center_over`
};

struct FormDesc {
  ControlDesc control;
  TFormBorderStyle border_style = TFormBorderStyle::bsSizeable;
  bool stay_on_top = false;
  TPosition position = TPosition::poDesigned;
  WindowHandle center_over;  // with poMainFormCenter
  // The window that owns the form: the application window, or the window of
  // the form that owns it, so that it stays above that one.
  WindowHandle owner;
  IconHandle icon;  // the caption's icon; the form keeps it alive
};

struct MemoDesc {
  ControlDesc control;
  std::vector<std::string> lines;
  bool read_only = false;
  bool no_context_menu = false;  // a right click offers no menu
};

struct ComboBoxDesc {
  ControlDesc control;
  std::vector<std::string> items;
  int dropdown_count = 8;  // rows the dropped list shows
};

struct ListColumn {
  std::string caption;
  int width = 0;
  friend bool operator==(const ListColumn&, const ListColumn&) = default;
};

struct ListViewDesc {
  ControlDesc control;
  std::vector<ListColumn> columns;
  bool grid_lines = false;
  bool row_select = false;
  bool hide_selection = true;  // false: the selection stays shown without the focus
};

struct CheckBoxDesc {
  ControlDesc control;
  bool checked = false;
};

// Forms and panels: they paint their windowless children and pass the mouse on.
class ContainerSink {
 public:
  virtual ~ContainerSink() = default;
  virtual void PeerPaint(Canvas& canvas) = 0;
  virtual void PeerMouseDown(Point at) = 0;
  virtual void PeerMouseUp(Point at) = 0;
  // The window got or lost the keyboard focus.
  virtual void PeerFocus(bool focused) = 0;
};

class FormSink {
 public:
  virtual ~FormSink() = default;
  // The close box.
  virtual void PeerCloseRequested() = 0;
  // The session ends; returns whether the window may close.
  virtual bool PeerQueryEndSession() = 0;
  // The window is on a monitor of another DPI now (WM_DPICHANGED); the window
  // places itself where the system suggests.
  virtual void PeerDpiChanged(int dpi, const Rect& suggested) = 0;
};

// Push buttons and check boxes.
class ClickSink {
 public:
  virtual ~ClickSink() = default;
  virtual void PeerClicked() = 0;
};

class MemoSink {
 public:
  virtual ~MemoSink() = default;
  // The user changed the text of an editable memo.
  virtual void PeerTextEdited(const std::string& text) = 0;
};

class ComboBoxSink {
 public:
  virtual ~ComboBoxSink() = default;
  // The user picked an item of the list.
  virtual void PeerSelected(int index) = 0;
  // The user typed into the edit field.
  virtual void PeerTextEdited(const std::string& text) = 0;
};

class ListViewSink {
 public:
  virtual ~ListViewSink() = default;
  // The user selected or deselected a row.
  virtual void PeerRowSelected(int row, bool selected) = 0;
};

class WidgetPeer {
 public:
  virtual ~WidgetPeer() = default;
  virtual WindowHandle Handle() const = 0;
  virtual void SetBounds(const Rect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetFont(const FontDesc& font) = 0;
  virtual void SetColor(Color color) = 0;
  virtual void Invalidate() = 0;
  virtual bool SetFocus() = 0;
  // A device context on the client area for drawing at once, outside a paint
  // cycle; hand it back with ReleaseDc. Null when there is none.
  virtual DcHandle GetDc() = 0;
  virtual void ReleaseDc(DcHandle dc) = 0;
};

class FormPeer : public WidgetPeer {
 public:
  virtual void SetBorderStyle(TFormBorderStyle style) = 0;
  virtual void SetStayOnTop(bool on) = 0;
  // Places the window as `position` says (poDesigned keeps it where it is).
  virtual void SetPosition(TPosition position, WindowHandle center_over) = 0;
  // The icon of the caption and the task switcher; null for the class's own.
  virtual void SetIcon(IconHandle icon) = 0;
  // Paints now whatever of the window and its children waits to be painted.
  virtual void Update() = 0;
  // The keyboard is in use: the window and its controls show focus
  // rectangles and underlined access keys from now on, as the system does
  // once a key moves the focus.
  virtual void ShowKeyboardCues() = 0;
  // The DPI of the monitor the window is on.
  virtual int Dpi() = 0;
};

class MemoPeer : public WidgetPeer {
 public:
  virtual void SetLines(const std::vector<std::string>& lines) = 0;
  virtual void SetReadOnly(bool read_only) = 0;
  virtual void SetNoContextMenu(bool none) = 0;
};

class ComboBoxPeer : public WidgetPeer {
 public:
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  virtual void SetDropDownCount(int count) = 0;
};

class ListViewPeer : public WidgetPeer {
 public:
  virtual void SetColumns(const std::vector<ListColumn>& columns) = 0;
  virtual void SetGridLines(bool on) = 0;
  virtual void SetRowSelect(bool on) = 0;
  virtual void SetHideSelection(bool on) = 0;
  virtual void ClearRows() = 0;
  // Appends a row: the caption, then one text per further column.
  virtual void AddRow(const std::vector<std::string>& texts) = 0;
  virtual void SetRowSelected(int row, bool selected) = 0;
};

class CheckBoxPeer : public WidgetPeer {
 public:
  virtual void SetChecked(bool checked) = 0;
};

// Every Create raises EOSError with the system's code and text when the window
// cannot be made. Children are made on their parent's peer, above their siblings.
class WidgetFactory {
 public:
  virtual ~WidgetFactory() = default;
  // The DPI windows are made at until they know their monitor's.
  virtual int SystemDpi() = 0;
  // The side of a small icon, as the notification area shows it.
  virtual int SmallIconSize() = 0;
  virtual std::unique_ptr<FormPeer> CreateForm(const FormDesc& desc, ContainerSink& container,
                                               FormSink& form) = 0;
  virtual std::unique_ptr<WidgetPeer> CreatePanel(const ControlDesc& desc, WidgetPeer& parent,
                                                  ContainerSink& container) = 0;
  virtual std::unique_ptr<MemoPeer> CreateMemo(const MemoDesc& desc, WidgetPeer& parent,
                                               MemoSink& sink) = 0;
  virtual std::unique_ptr<ComboBoxPeer> CreateComboBox(const ComboBoxDesc& desc, WidgetPeer& parent,
                                                       ComboBoxSink& sink) = 0;
  virtual std::unique_ptr<ListViewPeer> CreateListView(const ListViewDesc& desc, WidgetPeer& parent,
                                                       ListViewSink& sink) = 0;
  virtual std::unique_ptr<CheckBoxPeer> CreateCheckBox(const CheckBoxDesc& desc, WidgetPeer& parent,
                                                       ClickSink& sink) = 0;
  virtual std::unique_ptr<WidgetPeer> CreateButton(const ControlDesc& desc, WidgetPeer& parent,
                                                   ClickSink& sink) = 0;
};

}  // namespace velocane
