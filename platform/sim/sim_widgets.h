#pragma once
// Peers for the simulation: they keep what the real window would show, so a
// test can look at it. Forms are top-level windows of the simulated desktop.
#include <memory>
#include <vector>

#include "platform/sim/sim_drawing.h"
#include "platform/sim/sim_windowing.h"
#include "platform/widgets.h"

namespace velocane::sim {

class SimPeer : public WidgetPeer {
 public:
  SimPeer(const WidgetDesc& desc, WidgetSink& sink, WindowHandle handle, SimWindowing& windowing,
          SimDrawing& drawing, SimPeer* parent)
      : state(desc),
        sink(sink),
        handle_(handle),
        windowing_(windowing),
        drawing_(drawing),
        parent_(parent) {}
  ~SimPeer() override;

  WindowHandle Handle() const override { return handle_; }
  void SetBounds(const Rect& bounds) override { state.bounds = bounds; }
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override { state.enabled = enabled; }
  void SetText(const std::string& text) override { state.text = text; }
  void SetLines(const std::vector<std::string>& lines) override { state.lines = lines; }
  void SetChecked(bool checked) override { state.checked = checked; }
  void Invalidate() override { ++invalidations; }
  bool SetFocus() override;
  DcHandle GetDc() override { return Surface(); }
  void ReleaseDc(DcHandle) override {}

  // The pixels of the control's client area, kept between paints as the
  // screen keeps them. Render() runs a whole paint cycle into it.
  DcHandle Surface();
  void Render();

  // The user's mouse: a press and a release at one point of the client area.
  void MouseClick(Point at) {
    sink.PeerMouseDown(at);
    sink.PeerMouseUp(at);
  }

  WidgetDesc state;
  WidgetSink& sink;
  int invalidations = 0;

 private:
  WindowHandle handle_;
  SimWindowing& windowing_;
  SimDrawing& drawing_;
  SimPeer* parent_;
  DcHandle surface_;
  BitmapHandle surface_bitmap_;
};

class SimWidgets : public WidgetFactory {
 public:
  SimWidgets(SimWindowing& windowing, SimDrawing& drawing)
      : windowing_(windowing), drawing_(drawing) {}
  CreatePeerResult Create(const WidgetDesc& desc, WidgetPeer* parent, WidgetSink& sink) override;

  // Test side: the next creation fails with this system error code.
  void FailNextCreate(unsigned error) { fail_next_create_ = error; }
  WindowHandle Focused() const { return focused_; }

 private:
  friend class SimPeer;
  SimWindowing& windowing_;
  SimDrawing& drawing_;
  unsigned fail_next_create_ = 0;
  WindowHandle focused_;
};

}  // namespace velocane::sim
