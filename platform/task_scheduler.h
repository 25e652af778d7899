#pragma once
// The Task Scheduler 2.0 service (taskschd): tasks in its root folder, each
// registered from a task definition in XML. A failing call raises
// EOleSysError with the HRESULT and the system's text.
#include <cstdint>
#include <memory>
#include <string>

namespace velocane {

// The root folder ("\") of a connected service.
class TaskFolder {
 public:
  virtual ~TaskFolder() = default;
  // GetTask: whether a task of that name is registered.
  virtual bool TaskExists(const std::string& name) = 0;
  // RegisterTask, created or replaced (TASK_CREATE_OR_UPDATE), for the group
  // that the definition's principal names (TASK_LOGON_GROUP). `xml` is UTF-8.
  virtual void RegisterTask(const std::string& name, const std::string& xml) = 0;
  // DeleteTask; a task that is not there fails with kTaskNotFound.
  virtual void DeleteTask(const std::string& name) = 0;
};

// A look-up of one task in the root folder, begun now and answered when
// asked: the system may answer it meanwhile, in an apartment and on a thread
// of its own, so that what starts it early need not wait for the service.
class TaskLookup {
 public:
  virtual ~TaskLookup() = default;
  // Whether the task is registered; raises what connecting or GetTask raised.
  virtual bool Result() = 0;
};

class TaskScheduler {
 public:
  virtual ~TaskScheduler() = default;
  // ConnectRootFolder and TaskExists, begun now.
  virtual std::unique_ptr<TaskLookup> BeginLookup(const std::string& name) = 0;
  // CoCreateInstance of the TaskScheduler class, Connect to this machine as
  // the calling user, GetFolder("\"). Where Task Scheduler 2.0 is not there
  // (Windows XP and 2003), the class is not registered (REGDB_E_CLASSNOTREG).
  virtual std::unique_ptr<TaskFolder> ConnectRootFolder() = 0;
};

// HRESULTs of the task service that the program tells apart.
namespace taskstatus {
constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154u);
constexpr std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80070005u);
constexpr std::int32_t kTaskNotFound = static_cast<std::int32_t>(0x80070002u);
constexpr std::int32_t kServiceNotRunning = static_cast<std::int32_t>(0x80041315u);
}  // namespace taskstatus

}  // namespace velocane
