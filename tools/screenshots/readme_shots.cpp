// The README's pictures of the real program under Wine: the main window, the
// gauge while Accelerate runs, the browser window list uncovered, the about
// box and the icon in the notification area; the main window and the about
// box again at 144 DPI. Each is cut from the screen by the window's own
// rectangle and written as PNG into the folder given.
//   readme_shots.exe <folder>
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/driver/driver.h"
#include "tools/driver/shell_server.h"

namespace {

using namespace velocane::driver;

// The middles of the flat buttons on the panel.

struct Picture {
  RECT area{};
  std::vector<DWORD> pixels;
};

Picture Take(const RECT& area) { return {area, CaptureScreen(area)}; }

Picture TakeWindow(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  return Take(area);
}

void Write(const std::string& folder, const char* name, const Picture& picture) {
  const std::string path = folder + "\\" + name;
  if (!WritePng(path, picture.area, picture.pixels)) {
    throw std::runtime_error("could not write " + path);
  }
  std::printf("%-24s %ld x %ld\n", name, picture.area.right - picture.area.left,
              picture.area.bottom - picture.area.top);
}

void Require(bool done, const char* what) {
  if (!done) throw std::runtime_error(what);
}

// Lets Wine finish painting before a picture is taken.
void Settle() { Sleep(700); }

bool LimitsAre(DWORD per_server, DWORD per_1_0_server) {
  return ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer") == per_server &&
         ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server") == per_1_0_server;
}

// A stored type is read only after a stored pair, as on a machine where the
// program ran before.
void StoreTheType() {
  WriteDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPerServer", 2);
  WriteDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPer1_0Server", 4);
  WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"Cable");
}

// The connection box is the one combo box shown; the translation boxes stay
// hidden. The stored type is picked once the start-up steps are through.
void WaitForTheStoredType(HWND main) {
  Require(WaitUntil(
              [&] {
                for (HWND child : Children(main)) {
                  if (ClassOf(child) == L"ComboBox" && IsWindowVisible(child) &&
                      TextOf(child) == L"Cable") {
                    return true;
                  }
                }
                return false;
              },
              15000),
          "the stored connection type was not picked");
}

void Shoot(const std::string& folder) {
  RegistrySnapshot snapshot(InternetSettingsPlaces());
  StoreTheType();
  ShellServer shell;
  shell.Own("Example Domain", "http://www.example.com/");
  shell.Own("Release notes", "http://velocane.example/notes/3.12.html");
  shell.Own("Search results", "https://search.example/?q=connection%20limits");

  const std::vector<HWND> icons_before = TrayIcons();
  RunningProgram program;
  HWND main = WaitForWindow(program.ProcessId(), L"TForm1", L"Velocane", 30000);
  Require(main != nullptr, "the main window did not appear");
  HWND panel = WaitForChild(main, L"TVelocanePanel", L"", 10000);
  HWND list = WaitForChild(main, L"SysListView32", L"", 10000);
  Require(panel != nullptr && list != nullptr, "the main window has no panel or list");
  Require(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000),
          "the main window was not shown");
  WaitForTheStoredType(main);
  SetForegroundWindow(main);
  Settle();
  Write(folder, "main-window.png", TakeWindow(main));

  // The gauge moves until the new limits are written; the middle of its run is kept.
  std::vector<Picture> run;
  ClickAt(panel, kAccelerate.x, kAccelerate.y);
  WaitUntil(
      [&] {
        run.push_back(TakeWindow(main));
        return LimitsAre(20, 20);
      },
      60000);
  Require(LimitsAre(20, 20), "Accelerate did not write the limits");
  Write(folder, "gauge-accelerate.png", run[run.size() / 2]);

  ClickAt(panel, kMinimize.x, kMinimize.y);
  HWND icon = nullptr;
  WaitUntil([&] { return (icon = NewTrayIcon(icons_before)) != nullptr; }, 10000);
  Require(icon != nullptr, "no icon in the notification area");
  Settle();
  HWND tray = GetAncestor(icon, GA_ROOT);
  Write(folder, "tray-icon.png", TakeWindow(tray));
  // While accelerated the icon alternates its pictures every few seconds.
  const std::vector<DWORD> first_icon = CaptureWindow(icon);
  Require(WaitUntil([&] { return CaptureWindow(icon) != first_icon; }, 15000),
          "the icon did not change its picture");
  Settle();
  Write(folder, "tray-icon-cycled.png", TakeWindow(tray));

  Require(RealClick(CenterOf(icon)), "xdotool did not start");
  Require(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000),
          "a click on the icon did not bring the window back");

  ClickAt(panel, kStop.x, kStop.y);
  Require(WaitUntil([&] { return LimitsAre(2, 4); }, 60000), "Stop did not restore the defaults");

  ClickAt(panel, kView.x, kView.y);
  Require(
      WaitUntil([&] { return ListViewRows(list, 3).size() == 3 && IsWindowVisible(list); }, 10000),
      "View did not uncover the three browser windows");
  Settle();
  Write(folder, "browser-list.png", TakeWindow(main));

  ClickAt(panel, kAbout.x, kAbout.y);
  HWND about = WaitForWindow(program.ProcessId(), L"", L"About", 15000);
  Require(about != nullptr, "no about box");
  HWND ok = WaitForChild(about, L"Button", L"OK", 5000);
  Require(ok != nullptr, "the about box has no OK button");
  Settle();
  Write(folder, "about-box.png", TakeWindow(about));
  NotifyButtonClicked(ok);
  Require(WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }, 10000),
          "OK did not close the about box");

  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(program.ProcessId(), L"Warning", 30000);
  if (warning != nullptr) PressDialogButton(warning, IDYES);
  program.WaitForExit(15000);
}

// The main window and the about box at 144 DPI (150 %), the display's DPI
// set as the LogPixels setting that each process reads as it starts.
void ShootAt144Dpi(const std::string& folder) {
  RegistrySnapshot snapshot(InternetSettingsPlaces());
  RegistrySnapshot desktop({{HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels"}});
  WriteDWord(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", 144);
  StoreTheType();
  RunningProgram program;
  HWND main = WaitForWindow(program.ProcessId(), L"TForm1", L"Velocane", 30000);
  Require(main != nullptr, "the main window did not appear at 144 DPI");
  HWND panel = WaitForChild(main, L"TVelocanePanel", L"", 10000);
  Require(panel != nullptr, "the main window has no panel at 144 DPI");
  Require(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000),
          "the main window was not shown at 144 DPI");
  WaitForTheStoredType(main);
  SetForegroundWindow(main);
  Settle();
  Write(folder, "main-window-144.png", TakeWindow(main));

  ClickAt(panel, MulDiv(kAbout.x, 144, 96), MulDiv(kAbout.y, 144, 96));
  HWND about = WaitForWindow(program.ProcessId(), L"", L"About", 15000);
  Require(about != nullptr, "no about box at 144 DPI");
  HWND ok = WaitForChild(about, L"Button", L"OK", 5000);
  Require(ok != nullptr, "the about box has no OK button at 144 DPI");
  Settle();
  Write(folder, "about-box-144.png", TakeWindow(about));
  NotifyButtonClicked(ok);
  Require(WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }, 10000),
          "OK did not close the about box at 144 DPI");

  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(program.ProcessId(), L"Warning", 30000);
  if (warning != nullptr) PressDialogButton(warning, IDYES);
  program.WaitForExit(15000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: readme_shots <folder>\n");
    return 2;
  }
  // Before any window call: the pictures at 144 DPI are read in the display's
  // own pixels.
  if (!ReadRectanglesUnscaled()) {
    std::fprintf(stderr, "readme_shots: could not make itself DPI-aware\n");
    return 1;
  }
  try {
    Shoot(argv[1]);
    ShootAt144Dpi(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "readme_shots: %s\n", error.what());
    return 1;
  }
  return 0;
}
