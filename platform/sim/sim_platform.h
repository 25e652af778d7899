#pragma once
// The whole simulated platform, one object per test.
#include "platform/platform.h"
#include "platform/sim/sim_accessibility.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_drawing.h"
#include "platform/sim/sim_notify_area.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_task_scheduler.h"
#include "platform/sim/sim_widgets.h"
#include "platform/sim/sim_windowing.h"

namespace velocane::sim {

class SimPlatform {
 public:
  SimClock clock;
  SimRegistry registry;
  SimProcess process{clock};
  SimWindowing windowing{clock};
  SimDrawing drawing;
  SimWidgets widgets{windowing, drawing};
  SimCom com;
  SimNotifyArea notify_area{windowing};
  SimShell shell{windowing};
  SimTaskScheduler task_scheduler;
  SimAccessibility accessibility;
  velocane::Platform platform{registry, process,     windowing, widgets,        com,
                              drawing,  notify_area, shell,     task_scheduler, accessibility};
};

}  // namespace velocane::sim
