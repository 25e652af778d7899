// Start-up under Wine: from process start to the main window shown, for
// velocane.exe next to a bare Win32 window, and next to the same bare window
// loading what the program loads before its own work, launched in turns.
//   startup_bench.exe [ROUNDS [OTHER]]
// OTHER, a path of another build's velocane.exe (Windows form), joins the
// turns, so that two builds are compared on the same machine in one run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "tools/bench/build_path.h"

namespace {

using velocane::bench::InBuild;

struct Found {
  DWORD process_id;
  const wchar_t* class_name;
  bool shown = false;
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (pid == found->process_id && IsWindowVisible(hwnd) && wcscmp(name, found->class_name) == 0) {
    found->shown = true;
    return FALSE;
  }
  return TRUE;
}

// Milliseconds from CreateProcess to the window shown; the process is ended after.
double Launch(const std::wstring& program, const wchar_t* class_name) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::fprintf(stderr, "cannot start %ls\n", program.c_str());
    std::exit(1);
  }
  const velocane::win32::StartedProcess started(info);
  Found found{started.id(), class_name};
  double ms = -1;
  for (;;) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
    QueryPerformanceCounter(&now);
    ms = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    if (found.shown || ms > 30000) break;
    Sleep(1);
  }
  TerminateProcess(started.process(), 0);
  WaitForSingleObject(started.process(), 10000);
  return found.shown ? ms : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Program {
  const char* label;
  std::wstring path;
  const wchar_t* class_name;
  std::vector<double> ms;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
  std::vector<Program> programs = {
      {"velocane", InBuild(L"\\app\\velocane.exe"), L"TForm1", {}},
      {"bare window", InBuild(L"\\tools\\bare_window.exe"), L"BareWindow", {}},
      {"bare window loading as velocane",
       InBuild(L"\\tools\\bare_window_loaded.exe"),
       L"BareWindow",
       {}},
  };
  if (argc > 2) {
    const std::string other = argv[2];
    programs.push_back({"other velocane", std::wstring(other.begin(), other.end()), L"TForm1", {}});
  }
  // One of each first, unmeasured: Wine loads its libraries once.
  for (Program& p : programs) Launch(p.path, p.class_name);
  for (int round = 0; round < rounds; ++round) {
    // In turns, the order reversed each round, so all meet the same machine.
    for (std::size_t i = 0; i < programs.size(); ++i) {
      Program& p = programs[round % 2 == 0 ? i : programs.size() - 1 - i];
      p.ms.push_back(Launch(p.path, p.class_name));
    }
    std::printf("round %d:", round + 1);
    for (const Program& p : programs) std::printf(" %s %.1f ms;", p.label, p.ms.back());
    std::printf("\n");
  }
  const double program = Median(programs[0].ms);
  const double bare = Median(programs[1].ms);
  const double loaded = Median(programs[2].ms);
  std::printf(
      "median of %d: velocane %.1f ms, bare window %.1f ms, bare window loading as velocane "
      "%.1f ms\n",
      rounds, program, bare, loaded);
  std::printf(
      "ratios: velocane / bare %.2f; loading alone / bare %.2f; velocane / loading alone %.2f\n",
      program / bare, loaded / bare, program / loaded);
  if (programs.size() > 3) {
    const double other = Median(programs[3].ms);
    std::printf("other velocane %.1f ms: / loading alone %.2f; velocane / other %.2f\n", other,
                other / loaded, program / other);
  }
  return 0;
}
