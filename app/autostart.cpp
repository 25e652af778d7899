// The start at log-on, mirrored by CheckBox1: a task of the task service that
// starts the program with "/Auto" with the user's highest rights, since the
// system does not start a program that asks for elevation from the Run key.
// Where Task Scheduler 2.0 is not there, the machine-wide Run value does it.
#include "app/ObServeUnit.h"
#include "app/logon_task.h"
#include "app/registry_retry.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/registry.h"

namespace velocane {

namespace {

constexpr const char* kRunKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Velocane";

// The service's root folder. Empty when the service cannot be reached (no
// rights, not running): then only the box changes. `installed` turns false
// where the service's class is not registered at all.
std::unique_ptr<TaskFolder> ConnectTasks(TaskScheduler& scheduler, bool& installed) {
  installed = true;
  for (int attempt = 1;; ++attempt) {
    try {
      return scheduler.ConnectRootFolder();
    } catch (const EOleSysError& error) {
      if (error.ErrorCode() == taskstatus::kClassNotRegistered) installed = false;
      // A service that is still starting answers "not running" once.
      if (error.ErrorCode() == taskstatus::kServiceNotRunning && attempt == 1) continue;
      return nullptr;
    }
  }
}

}  // namespace

std::string AutostartCommand(const std::string& executable) {
  // Quoted: a path with blanks must not be read as a shorter program and its arguments.
  return "\"" + executable + "\" /Auto";
}

void TForm1::CheckBox1Click(TComponent&) {
  if (reading_autostart_ && CheckBox1->Checked()) {
    // The box is checked for the first picture; registering again with this
    // executable's path comes after it. A failure there is ignored, as at
    // start-up.
    Application()->Post(CheckBox1->Lifetime(), [this] {
      try {
        ApplyAutostart(true);
      } catch (const EOleSysError&) {
      } catch (const ERegistryException&) {
      }
    });
    return;
  }
  ApplyAutostart(CheckBox1->Checked());
}

void TForm1::ApplyAutostart(bool wanted) {
  bool installed = true;
  const std::unique_ptr<TaskFolder> tasks = ConnectTasks(Os().task_scheduler, installed);
  if (!installed) {
    WriteRunValue(wanted);
    return;
  }
  if (wanted) {
    if (tasks) RegisterLogonTask(*tasks);
  } else {
    if (tasks) {
      try {
        tasks->DeleteTask(kLogonTaskName);
      } catch (const EOleSysError&) {
        // Also when it is not there: nothing to report.
      }
    }
    RemoveRunValue();
  }
}

void TForm1::RegisterLogonTask(TaskFolder& tasks) {
  const std::string definition = LogonTaskDefinition(Os().process.ModuleFileNameUtf8());
  try {
    try {
      tasks.RegisterTask(kLogonTaskName, definition);
    } catch (const EOleSysError&) {
      tasks.RegisterTask(kLogonTaskName, definition);
    }
  } catch (const EOleSysError& error) {
    throw EOleSysError(error.ErrorCode(), std::string("Failed to register the log-on task '") +
                                              kLogonTaskName + "': " + error.what());
  }
  // An earlier version's Run value would start the program a second time.
  RemoveRunValue();
}

void TForm1::WriteRunValue(bool present) {
  TRegistry reg(Os().registry, RootKey::LocalMachine);
  if (!reg.OpenKey(kRunKey, true)) return;
  if (present) {
    const std::string command = AutostartCommand(Os().process.ModuleFileName());
    WriteWithRetry([&] { reg.WriteString(kRunValue, command); });
  } else {
    reg.DeleteValue(kRunValue);  // also when it is not there: nothing to report
  }
}

void TForm1::RemoveRunValue() {
  TRegistry reg(Os().registry, RootKey::LocalMachine);
  if (reg.OpenKey(kRunKey, false)) reg.DeleteValue(kRunValue);
}

bool TForm1::RunValueExists() {
  TRegistry reg(Os().registry, RootKey::LocalMachine);
  return reg.OpenKey(kRunKey, true) && reg.ValueExists(kRunValue);
}

void TForm1::ReadAutostartState() {
  bool present = false;
  try {
    present = autostart_lookup_->Result();
  } catch (const EOleSysError& error) {
    if (error.ErrorCode() == taskstatus::kServiceNotRunning) {
      // A service that is still starting is asked once more.
      bool installed = true;
      if (const std::unique_ptr<TaskFolder> tasks = ConnectTasks(Os().task_scheduler, installed)) {
        try {
          present = tasks->TaskExists(kLogonTaskName);
        } catch (const EOleSysError&) {
          // Read as absent; the Run value may still tell.
        }
      }
    }
    // Otherwise (no rights, no service, none at all) read as absent.
  }
  autostart_lookup_.reset();
  // A Run value asked for the start at log-on too (an earlier version wrote
  // it, or there is no task service); checking the box puts the task in its
  // place, or writes the value again for this executable.
  if (!present) present = RunValueExists();
  reading_autostart_ = true;
  try {
    CheckBox1->SetChecked(present);
  } catch (const ERegistryException&) {
    // Start-up goes on; the start stays as it was.
  } catch (const EOleSysError&) {
    // The same for a task that could not be registered.
  }
  reading_autostart_ = false;
}

}  // namespace velocane
