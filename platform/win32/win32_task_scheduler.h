#pragma once
#include "platform/task_scheduler.h"

namespace velocane::win32 {

// The Task Scheduler 2.0 service through taskschd's ITaskService, on the
// calling thread's apartment.
class Win32TaskScheduler : public TaskScheduler {
 public:
  std::unique_ptr<TaskFolder> ConnectRootFolder() override;
  // On a thread of its own, in a multithreaded apartment of its own.
  std::unique_ptr<TaskLookup> BeginLookup(const std::string& name) override;
};

}  // namespace velocane::win32
