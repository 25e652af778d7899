// Where velocane's start-up goes under Wine: the steps of the program entry,
// each timed, from the process's creation to the main window shown and
// painted. One launch a line; tools/bench.sh runs it several times.
//   startup_phases.exe          the program's own steps
//   startup_phases.exe tasks    only the task service's connection and look-up
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/ObServeUnit.h"
#include "app/program.h"
#include "platform/framework/application.h"
#include "platform/win32/win32_platform.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

// Milliseconds since the process was created, as the system keeps it.
double SinceCreation() {
  FILETIME creation, exit, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime);
  };
  return (ticks(now) - ticks(creation)) / 10000.0;
}

struct Phase {
  std::string name;
  double ms;
};
std::vector<Phase> phases;
double last = 0;
void Mark(const char* name) {
  const double now = Now();
  phases.push_back(Phase{name, now - last});
  last = now;
}

// The main window with a mark after its objects and around its OnCreate.
class TTimedForm : public velocane::TForm1 {
 public:
  explicit TTimedForm(velocane::TApplication& application) : TForm1(application) {
    Mark("the form's objects");
    auto create = OnCreate;
    OnCreate = [create](velocane::TComponent& sender) {
      Mark("the form's windows and its components' settings");
      create(sender);
      Mark("FormCreate");
    };
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  const double entered = SinceCreation();
  last = Now();
  velocane::Platform& platform = velocane::win32::Win32Platform();
  if (std::strcmp(command_line, "tasks") == 0) {
    platform.com.Initialize();
    try {
      platform.task_scheduler.ConnectRootFolder()->TaskExists("Velocane");
    } catch (const std::exception&) {
    }
    Mark("task service: connect and look up");
  } else {
    velocane::TApplication application(platform);
    application.Initialize();
    application.SetTitle(velocane::kApplicationTitle);
    Mark("COM and the application window");
    auto& form = application.CreateForm<TTimedForm>();
    form.Show();
    Mark("shown, painted, hidden controls' windows made");
  }
  std::printf("before WinMain %.1f ms;", entered);
  double total = entered;
  for (const Phase& phase : phases) {
    std::printf(" %s %.1f ms;", phase.name.c_str(), phase.ms);
    total += phase.ms;
  }
  std::printf(" total %.1f ms\n", total);
  std::fflush(stdout);
  ExitProcess(0);  // no close sequence: the registry stays as it is
}
