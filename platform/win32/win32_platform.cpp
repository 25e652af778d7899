#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_accessibility.h"
#include "platform/win32/win32_drawing.h"
#include "platform/win32/win32_notify_area.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_task_scheduler.h"
#include "platform/win32/win32_widgets.h"
#include "platform/win32/win32_windowing.h"

namespace velocane::win32 {

velocane::Platform& Win32Platform() {
  static Win32Registry registry;
  static Win32Process process;
  static Win32Windowing windowing;
  static Win32Widgets widgets;
  static Win32Com com;
  static Win32Drawing drawing;
  static Win32NotifyArea notify_area;
  static Win32Shell shell;
  static Win32TaskScheduler task_scheduler;
  static Win32Accessibility accessibility;
  static velocane::Platform platform{
      registry, process,     windowing, widgets,        com,
      drawing,  notify_area, shell,     task_scheduler, accessibility};
  return platform;
}

}  // namespace velocane::win32
