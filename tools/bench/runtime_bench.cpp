// The running program under Wine, against Wine's own shell window collection
// and against the test's own, next to a bare Win32 window in the same run:
//   runtime_bench.exe idle [SECONDS]    CPU while idle with Wine's collection,
//                                       and with the test's and 0 and 10
//                                       browser windows (default 20 s each)
//   runtime_bench.exe memory [MINUTES]  private bytes after start and after
//                                       browser churn (default 10 min)
#include <windows.h>
// After windows.h, which they need.
#include <exdisp.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "tools/bench/build_path.h"
#include "tools/driver/driver.h"
#include "tools/driver/shell_server.h"

namespace {

using namespace velocane::driver;
using velocane::bench::InBuild;

// Wine reports no times of other processes, so the CPU is read where Linux
// keeps it: the process of this prefix whose command line names the program.
std::string ReadAll(const std::wstring& path) {
  const velocane::win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                     OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    text.append(buffer, got);
  }
  return text;
}

int LinuxPidOf(const std::wstring& image) {
  wchar_t prefix[MAX_PATH] = {};
  GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  std::wstring wide_prefix(prefix);
  const std::string ours = "WINEPREFIX=" + std::string(wide_prefix.begin(), wide_prefix.end());
  const std::string name(image.begin(), image.end());
  WIN32_FIND_DATAW entry;
  const velocane::win32::UniqueFind find(FindFirstFileW(L"Z:\\proc\\*", &entry));
  if (!find) return -1;
  int found = -1;
  do {
    const std::wstring dir = entry.cFileName;
    if (dir.empty() || dir.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::wstring base = L"Z:\\proc\\" + dir;
    if (ReadAll(base + L"\\cmdline").find(name) == std::string::npos) continue;
    const std::string environment = ReadAll(base + L"\\environ");
    if (environment.find(ours + '\0') == std::string::npos) continue;
    found = std::stoi(dir);
  } while (found < 0 && FindNextFileW(find.get(), &entry));
  return found;
}

// User and system time of a Linux process in milliseconds (clock ticks of 10 ms).
double LinuxCpuMs(int pid) {
  const std::string stat = ReadAll(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat");
  const std::size_t end = stat.rfind(')');
  if (end == std::string::npos) return -1;
  std::istringstream fields(stat.substr(end + 2));
  std::string field;
  unsigned long long user = 0, system = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) user = std::stoull(field);
    if (i == 15) system = std::stoull(field);
  }
  return (user + system) * 10.0;
}

// Private memory of a Linux process (resident pages of its own, clean and
// dirty), in KiB: Wine reports no private bytes of other processes.
double LinuxPrivateKiB(int pid) {
  std::istringstream lines(ReadAll(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\smaps_rollup"));
  std::string line;
  double kib = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("Private_Clean:", 0) == 0 || line.rfind("Private_Dirty:", 0) == 0) {
      kib += std::stod(line.substr(line.find(':') + 1));
    }
  }
  return kib;
}

// A program started by the benchmark and ended by it.
class Started {
 public:
  Started(const std::wstring& path, const wchar_t* class_name, const wchar_t* title)
      : image_(path.substr(path.find_last_of(L"\\/") + 1)) {
    std::wstring command = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      std::fprintf(stderr, "cannot start %ls\n", path.c_str());
      std::exit(1);
    }
    process_ = velocane::win32::StartedProcess(info);
    window_ = WaitForWindow(process_.id(), class_name, title, 30000);
    if (window_ == nullptr ||
        !WaitUntil([&] { return IsWindowVisible(window_) != FALSE; }, 10000)) {
      std::fprintf(stderr, "%ls did not show its window\n", path.c_str());
      std::exit(1);
    }
  }
  ~Started() {
    TerminateProcess(process_.process(), 0);
    WaitForSingleObject(process_.process(), 10000);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  // User and kernel time so far, in milliseconds.
  double CpuMs() {
    if (linux_pid_ < 0) linux_pid_ = LinuxPidOf(image_);
    return linux_pid_ < 0 ? -1 : LinuxCpuMs(linux_pid_);
  }
  double PrivateKiB() {
    if (linux_pid_ < 0) linux_pid_ = LinuxPidOf(image_);
    return linux_pid_ < 0 ? -1 : LinuxPrivateKiB(linux_pid_);
  }
  double WorkingSetKiB() const {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(process_.process(), &counters, sizeof counters)) return -1;
    return counters.WorkingSetSize / 1024.0;
  }

 private:
  std::wstring image_;
  velocane::win32::StartedProcess process_;
  HWND window_ = nullptr;
  int linux_pid_ = -1;
};

struct Cpu {
  double program_ms = 0;
  double shell_ms = 0;  // the collection's server, where there is one
};

// CPU of a started program over `seconds`, after it settled for two.
Cpu IdleCpu(Started& program, int seconds, bool with_shell) {
  Sleep(2000);
  const int shell = with_shell ? LinuxPidOf(L"shell_windows_server.exe") : -1;
  const double before = program.CpuMs();
  const double shell_before = shell < 0 ? 0 : LinuxCpuMs(shell);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return {program.CpuMs() - before, shell < 0 ? 0 : LinuxCpuMs(shell) - shell_before};
}

void OpenBrowsers(ShellServer& shell, int count) {
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    shell.Own("Page " + n, "http://site" + n + ".example/index.html");
  }
}

// What the system's collection answers to Count now: Wine's own answers
// E_NOTIMPL; the tests' server answers S_OK.
HRESULT CollectionCount() {
  const HRESULT initialized = CoInitialize(nullptr);
  HRESULT hr = S_OK;
  {  // The collection goes before COM does.
    velocane::win32::ComPtr<IShellWindows> collection;
    hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                          reinterpret_cast<void**>(collection.put()));
    if (SUCCEEDED(hr)) {
      long count = 0;
      hr = collection->get_Count(&count);
    }
  }
  if (SUCCEEDED(initialized)) CoUninitialize();
  return hr;
}

int Idle(int seconds) {
  const std::wstring velocane = VelocanePath();
  const std::wstring bare = InBuild(L"\\tools\\bare_window.exe");
  std::printf("CPU over %d s idle (after 2 s settling), user + system:\n", seconds);
  std::printf("%-32s %10s %12s %16s\n", "", "CPU ms", "% of a core", "shell server ms");
  const auto row = [&](const char* what, const Cpu& cpu) {
    std::printf("%-32s %10.0f %12.2f %16.0f\n", what, cpu.program_ms,
                cpu.program_ms / (seconds * 10.0), cpu.shell_ms);
    std::fflush(stdout);
  };
  {
    Started program(bare, L"BareWindow", L"");
    row("bare window", IdleCpu(program, seconds, false));
  }
  {
    // First: once the tests' server has registered, the system hands out
    // the collection of Wine's explorer no more in this session.
    const HRESULT count = CollectionCount();
    if (count != E_NOTIMPL) {
      std::fprintf(stderr,
                   "runtime_bench: the system's collection is not Wine's (Count: 0x%08lX); "
                   "run it in a new Wine session, as tools/bench.sh does\n",
                   static_cast<unsigned long>(count));
      return 1;
    }
    Started program(velocane, L"TForm1", L"Velocane");
    row("velocane, Wine's own collection", IdleCpu(program, seconds, false));
  }
  for (int windows : {0, 10}) {
    ShellServer shell;
    OpenBrowsers(shell, windows);
    Started program(velocane, L"TForm1", L"Velocane");
    const std::string what = "velocane, " + std::to_string(windows) + " browser windows";
    row(what.c_str(), IdleCpu(program, seconds, true));
  }
  {
    Started program(bare, L"BareWindow", L"");
    row("bare window (again)", IdleCpu(program, seconds, false));
  }
  return 0;
}

int Memory(int minutes) {
  ShellServer shell;
  OpenBrowsers(shell, 5);
  Started bare(InBuild(L"\\tools\\bare_window.exe"), L"BareWindow", L"");
  Started program(VelocanePath(), L"TForm1", L"Velocane");
  Sleep(5000);
  std::printf("%-28s %14s %16s %20s\n", "", "private KiB", "working set KiB",
              "bare window private");
  const auto row = [&](const std::string& when) {
    std::printf("%-28s %14.0f %16.0f %20.0f\n", when.c_str(), program.PrivateKiB(),
                program.WorkingSetKiB(), bare.PrivateKiB());
    std::fflush(stdout);
  };
  row("after start");
  // Churn: windows open, navigate, get tabs and close, a few times a second.
  std::mt19937 random(1680);
  std::vector<int> open = shell.Ids();
  int changes = 0;
  for (int minute = 1; minute <= minutes; ++minute) {
    const DWORD end = GetTickCount() + 60000;
    while (GetTickCount() < end) {
      const int op = static_cast<int>(random() % 4);
      const std::string n = std::to_string(++changes);
      if (op == 0 || open.size() < 2) {
        open.push_back(shell.Own("Page " + n, "http://churn" + n + ".example/"));
      } else if (op == 1 && open.size() < 30) {
        const int of = open[random() % open.size()];
        const auto answer =
            shell.Command({"tab", std::to_string(of), "Tab " + n, "http://tab" + n + ".example/"});
        open.push_back(std::atoi(answer.at(0).c_str()));
      } else if (op == 2) {
        shell.Command({"navigate", std::to_string(open[random() % open.size()]),
                       "http://moved" + n + ".example/a%20b"});
      } else {
        const std::size_t at = random() % open.size();
        shell.Command({"close", std::to_string(open[at])});
        open.erase(open.begin() + static_cast<std::ptrdiff_t>(at));
      }
      Sleep(250);
    }
    row("after " + std::to_string(minute) + " min (" + std::to_string(changes) + " changes)");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  const int amount = argc > 2 ? std::atoi(argv[2]) : 0;
  try {
    if (what == "idle") return Idle(amount > 0 ? amount : 20);
    if (what == "memory") return Memory(amount > 0 ? amount : 10);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "runtime_bench: %s\n", error.what());
    return 1;
  }
  std::fprintf(stderr, "usage: runtime_bench idle [SECONDS] | memory [MINUTES]\n");
  return 2;
}
