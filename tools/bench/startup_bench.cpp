// Start-up under Wine: from process start to the main window shown, for
// velocane.exe next to a bare Win32 window, launched in turns.
//   startup_bench.exe [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  path = path.substr(0, path.find_last_of(L"\\/"));  // tools/
  path = path.substr(0, path.find_last_of(L"\\/"));  // the build
  return path + name;
}

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
  Found found{info.dwProcessId, class_name};
  double ms = -1;
  for (;;) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
    QueryPerformanceCounter(&now);
    ms = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    if (found.shown || ms > 30000) break;
    Sleep(1);
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return found.shown ? ms : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
  const std::wstring velocane = Beside(L"\\app\\velocane.exe");
  const std::wstring bare = Beside(L"\\tools\\bare_window.exe");
  std::vector<double> program_ms, bare_ms;
  // One of each first, unmeasured: Wine loads its libraries once.
  Launch(velocane, L"TForm1");
  Launch(bare, L"BareWindow");
  for (int round = 0; round < rounds; ++round) {
    // In turns, the order swapped each round, so both meet the same machine.
    if (round % 2 == 0) {
      program_ms.push_back(Launch(velocane, L"TForm1"));
      bare_ms.push_back(Launch(bare, L"BareWindow"));
    } else {
      bare_ms.push_back(Launch(bare, L"BareWindow"));
      program_ms.push_back(Launch(velocane, L"TForm1"));
    }
    std::printf("round %d: velocane %.1f ms, bare window %.1f ms\n", round + 1, program_ms.back(),
                bare_ms.back());
  }
  const double program = Median(program_ms);
  const double base = Median(bare_ms);
  std::printf("median of %d: velocane %.1f ms, bare window %.1f ms, ratio %.2f\n", rounds, program,
              base, program / base);
  return 0;
}
