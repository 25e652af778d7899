#include "platform/sim/sim_task_scheduler.h"

#include <exception>
#include <functional>

#include "platform/framework/exceptions.h"
#include "platform/sim/sim_errors.h"

namespace velocane::sim {

class SimTaskFolder : public TaskFolder {
 public:
  explicit SimTaskFolder(SimTaskScheduler& scheduler) : scheduler_(scheduler) {}

  bool TaskExists(const std::string& name) override {
    scheduler_.Enter(TaskCall::kGetTask);
    return scheduler_.tasks.contains(name);
  }
  void RegisterTask(const std::string& name, const std::string& xml) override {
    scheduler_.Enter(TaskCall::kRegister);
    scheduler_.tasks[name] = xml;
  }
  void DeleteTask(const std::string& name) override {
    scheduler_.Enter(TaskCall::kDelete);
    if (scheduler_.tasks.erase(name) == 0) {
      throw EOleSysError(taskstatus::kTaskNotFound,
                         SystemErrorText(static_cast<unsigned>(taskstatus::kTaskNotFound)));
    }
  }

 private:
  SimTaskScheduler& scheduler_;
};

std::unique_ptr<TaskFolder> SimTaskScheduler::ConnectRootFolder() {
  if (!installed) {
    ++calls_[Index(TaskCall::kConnect)];
    throw EOleSysError(taskstatus::kClassNotRegistered,
                       SystemErrorText(static_cast<unsigned>(taskstatus::kClassNotRegistered)));
  }
  Enter(TaskCall::kConnect);
  return std::make_unique<SimTaskFolder>(*this);
}

namespace {

class SimTaskLookup : public TaskLookup {
 public:
  explicit SimTaskLookup(std::function<bool()> look) {
    try {
      found_ = look();
    } catch (...) {
      failure_ = std::current_exception();
    }
  }
  bool Result() override {
    if (failure_) std::rethrow_exception(failure_);
    return found_;
  }

 private:
  bool found_ = false;
  std::exception_ptr failure_;
};

}  // namespace

std::unique_ptr<TaskLookup> SimTaskScheduler::BeginLookup(const std::string& name) {
  return std::make_unique<SimTaskLookup>([&] { return ConnectRootFolder()->TaskExists(name); });
}

void SimTaskScheduler::Fail(TaskCall call, HResult hr, int times) {
  armed_[Index(call)] = Armed{hr, times};
}

void SimTaskScheduler::Enter(TaskCall call) {
  ++calls_[Index(call)];
  Armed& armed = armed_[Index(call)];
  if (armed.times == 0) return;
  if (armed.times > 0) --armed.times;
  throw EOleSysError(armed.hr, SystemErrorText(static_cast<unsigned>(armed.hr)));
}

}  // namespace velocane::sim
