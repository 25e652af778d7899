#pragma once
#include "platform/task_scheduler.h"

namespace velocane::win32 {

// The Task Scheduler 2.0 service through taskschd's ITaskService, on the
// calling thread's apartment.
class Win32TaskScheduler : public TaskScheduler {
 public:
  std::unique_ptr<TaskFolder> ConnectRootFolder() override;
};

}  // namespace velocane::win32
