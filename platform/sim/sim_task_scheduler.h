#pragma once
// The task service in memory: its root folder's tasks as registered, and
// failures a test arms call by call.
#include <array>
#include <map>
#include <string>

#include "platform/com.h"
#include "platform/task_scheduler.h"

namespace velocane::sim {

enum class TaskCall { kConnect, kGetTask, kRegister, kDelete };
inline constexpr std::size_t kTaskCallKinds = 4;

class SimTaskScheduler : public TaskScheduler {
 public:
  std::unique_ptr<TaskFolder> ConnectRootFolder() override;
  // Answered at once: the simulation has no threads.
  std::unique_ptr<TaskLookup> BeginLookup(const std::string& name) override;

  // Test side. The registered tasks: name and definition exactly as given.
  std::map<std::string, std::string> tasks;
  // False: Task Scheduler 2.0 is not there, its class is not registered.
  bool installed = true;
  // The next `times` calls of that kind fail with `hr`; a negative count, every one.
  void Fail(TaskCall call, HResult hr, int times = 1);
  // How many calls of that kind were made, failed ones included.
  int Calls(TaskCall call) const { return calls_[Index(call)]; }

 private:
  friend class SimTaskFolder;
  static std::size_t Index(TaskCall call) { return static_cast<std::size_t>(call); }
  // Counts the call and raises what was armed for it.
  void Enter(TaskCall call);

  struct Armed {
    HResult hr = 0;
    int times = 0;
  };
  std::array<Armed, kTaskCallKinds> armed_{};
  std::array<int, kTaskCallKinds> calls_{};
};

}  // namespace velocane::sim
