#pragma once
// The platform a program runs on: one reference per interface. The program
// entry or a test fixture chooses the backend; everything else takes this.
#include "platform/accessibility.h"
#include "platform/com.h"
#include "platform/drawing.h"
#include "platform/notify_area.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/task_scheduler.h"
#include "platform/widgets.h"
#include "platform/windowing.h"

namespace velocane {

struct Platform {
  Registry& registry;
  Process& process;
  Windowing& windowing;
  WidgetFactory& widgets;
  Com& com;
  Drawing& drawing;
  NotifyArea& notify_area;
  Shell& shell;
  TaskScheduler& task_scheduler;
  Accessibility& accessibility;
};

}  // namespace velocane
