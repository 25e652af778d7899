#pragma once
// Peers: the system's standard child windows that mirror the framework's
// controls. The framework keeps the state; a peer shows it and reports the
// user's input back through its WidgetSink. In the simulation peers only keep
// what a test may look at; tests drive the same sink entry points as the user.
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/drawing.h"
#include "platform/types.h"

namespace velocane {

enum class WidgetKind { Form, Memo, ComboBox, ListView, Panel, CheckBox, Button };

struct ListColumn {
  std::string caption;
  int width = 0;
};

struct WidgetDesc {
  WidgetKind kind = WidgetKind::Panel;
  std::string name;  // the control's name; forms use it for their window class
  Rect bounds;       // in the parent's client area; forms: client size
  std::string text;  // caption or edit text
  bool visible = true;
  bool enabled = true;
  FontDesc font;
  Color color = clBtnFace;         // background
  std::vector<std::string> lines;  // memo lines or combo items
  int dropdown_count = 8;
  std::vector<ListColumn> columns;
  bool grid_lines = false;
  bool row_select = false;
  bool hide_selection = true;
  bool tool_window = false;  // forms: small caption with a close box only
  bool stay_on_top = false;
  bool centered = false;
  bool checked = false;
  bool no_context_menu = false;  // a right click offers no menu
  WindowHandle owner;            // forms: the owning window
};

class WidgetSink {
 public:
  virtual ~WidgetSink() = default;
  virtual void PeerClicked() {}
  virtual void PeerSelected(int /*index*/) {}
  virtual void PeerTextEdited(const std::string& /*text*/) {}
  virtual void PeerPaint(Canvas& /*canvas*/) {}
  virtual void PeerMouseDown(Point /*at*/) {}
  virtual void PeerMouseUp(Point /*at*/) {}
  // Forms: the close box, or the session ending. Returns whether the window may close.
  virtual void PeerCloseRequested() {}
  virtual bool PeerQueryEndSession() { return true; }
};

class WidgetPeer {
 public:
  virtual ~WidgetPeer() = default;
  virtual WindowHandle Handle() const = 0;
  virtual void SetBounds(const Rect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetLines(const std::vector<std::string>& lines) = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual void Invalidate() = 0;
  virtual bool SetFocus() = 0;
  // A device context on the control's client area for drawing at once,
  // outside a paint cycle; hand it back with ReleaseDc. Null when there is none.
  virtual DcHandle GetDc() = 0;
  virtual void ReleaseDc(DcHandle dc) = 0;
};

struct CreatePeerResult {
  std::unique_ptr<WidgetPeer> peer;
  unsigned error = 0;  // the system's error code when peer is null
};

class WidgetFactory {
 public:
  virtual ~WidgetFactory() = default;
  // `parent` is null for forms.
  virtual CreatePeerResult Create(const WidgetDesc& desc, WidgetPeer* parent, WidgetSink& sink) = 0;
};

}  // namespace velocane
