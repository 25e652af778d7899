// The autostart value: the machine-wide Run entry that starts the program
// with "/Auto" at every log-on, mirrored by CheckBox1.
#include "app/ObServeUnit.h"
#include "app/registry_retry.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/registry.h"

namespace velocane {

namespace {
constexpr const char* kRunKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Velocane";
}  // namespace

std::string AutostartCommand(const std::string& executable) {
  // Quoted: a path with blanks must not be read as a shorter program and its arguments.
  return "\"" + executable + "\" /Auto";
}

void TForm1::CheckBox1Click(TComponent&) {
  TRegistry reg(Os().registry, RootKey::LocalMachine);
  if (!reg.OpenKey(kRunKey, true)) return;
  if (CheckBox1->Checked()) {
    const std::string command = AutostartCommand(Os().process.ModuleFileName());
    WriteWithRetry([&] { reg.WriteString(kRunValue, command); });
  } else {
    reg.DeleteValue(kRunValue);  // also when it is not there: nothing to report
  }
}

void TForm1::ReadAutostartState() {
  bool present = false;
  {
    TRegistry reg(Os().registry, RootKey::LocalMachine);
    if (!reg.OpenKey(kRunKey, true)) return;
    present = reg.ValueExists(kRunValue);
  }
  try {
    // Checking the box runs its click: the value is written again with the
    // path of the executable that runs now.
    CheckBox1->SetChecked(present);
  } catch (const ERegistryException&) {
    // Start-up goes on; the value stays as it was.
  }
}

}  // namespace velocane
