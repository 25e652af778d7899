#pragma once
// Operates the real velocane.exe from outside, as a user would: starts it,
// finds its windows by title and class, reads and clicks its controls.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velocane::driver {

// The path of velocane.exe in the build this driver belongs to.
std::wstring VelocanePath();

class RunningProgram {
 public:
  // Starts the program with the given arguments; throws std::runtime_error on failure.
  explicit RunningProgram(const std::wstring& arguments = L"");
  ~RunningProgram();  // ends the program if it is still running
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD ProcessId() const { return info_.dwProcessId; }
  // Waits (bounded) for the process to end; returns its exit code, or nothing.
  bool WaitForExit(DWORD timeout_ms, DWORD* exit_code = nullptr);
  bool Running();
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// A top-level window of the given process with this class and title (either may be empty to
// match any), polled until it appears or the time runs out.
HWND WaitForWindow(DWORD process_id, const std::wstring& class_name, const std::wstring& title,
                   DWORD timeout_ms);
// A child window of this class and, if given, text; polled until it exists.
HWND WaitForChild(HWND parent, const std::wstring& class_name, const std::wstring& text,
                  DWORD timeout_ms);
std::vector<HWND> Children(HWND parent);
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

// Polls `done` until it holds or the time runs out; returns whether it held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms);

// The rows of a list view of another process, each with the texts of its
// first `columns` columns. The texts are read through a buffer in that process.
std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns);
// The selected rows of a list view.
std::vector<int> ListViewSelection(HWND list);

// The user's actions.
// A click on a row of a list view (its rectangle is read through the other
// process's memory).
void ClickListRow(HWND list, int row);
// What a control tells its parent when the user uses it; also reaches hidden
// controls, which nothing on the screen does.
void NotifyButtonClicked(HWND button);
void NotifyComboPicked(HWND combo, int index);
// Picks item `index` from a combo box's list, as a click in the drop-down does.
void SelectComboItem(HWND combo, int index);
// A left click at a point of a window's client area.
void ClickAt(HWND window, int x, int y);
// The window that has the keyboard focus in the thread of `window`, or null.
HWND FocusOf(HWND window);
// Presses a message box's button (IDYES, IDNO, IDOK, ...).
void PressDialogButton(HWND dialog, int id);
// A message box of the process with this caption, once it is up.
HWND WaitForMessageBox(DWORD process_id, const std::wstring& caption, DWORD timeout_ms);

// Wine's notification area: the icons it shows now, one small window each.
std::vector<HWND> TrayIcons();
// An icon shown now that is not among `before` (taken before the program
// started), or null.
HWND NewTrayIcon(const std::vector<HWND>& before);
// The middle of a window on the screen.
POINT CenterOf(HWND window);
// A real pointer click on the virtual display (xdotool), as the user's mouse
// makes it; false when the tool could not start. It does not wait for the
// click: the caller looks for its effect.
bool RealClick(POINT at);
// Real key presses on the virtual display (xdotool key), to the window with
// the keyboard focus: e.g. L"Tab", L"shift+Tab", L"space", L"alt+a".
bool RealKeys(const std::wstring& keys);
// The screen's pixels in a rectangle, 0x00RRGGBB row by row.
std::vector<DWORD> CaptureScreen(const RECT& area);
// The screen's pixels where a window is.
std::vector<DWORD> CaptureWindow(HWND window);
// A picture as PNG, 0x00RRGGBB pixels of `area` row by row, at a path of
// this side ("Z:/..." for one of the Linux side); false when not written.
bool WritePng(const std::string& path, const RECT& area, const std::vector<DWORD>& pixels);
// The screen where a window is, as PNG.
bool WriteWindowPng(const std::string& path, HWND window);
// A picture of the whole display, written by imagemagick to a path on the
// Linux side; waits until the file is written; false when that failed.
bool Screenshot(const std::string& unix_path);
// Makes this process per-monitor DPI-aware, so that the rectangles of a
// DPI-aware program's windows are read as they are on the screen, not scaled
// for a program that is not; false where the system cannot.
bool ReadRectanglesUnscaled();
// Where a test's screenshot goes: beside the build (the Linux side's path).
std::string ShotPath(const std::string& name);
// Starts a program of the Linux side; false when it could not start.
bool StartUnix(const std::wstring& command_line);

// The registry as the program sees it.
std::optional<DWORD> ReadDWord(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                       const std::wstring& name);
void WriteDWord(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
void WriteString(HKEY root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& value);
void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name);

// What a screen reader reads, from another process (Active Accessibility).
struct AccNode {
  int depth = 0;      // 0 for the window's client area, 1 for its children, ...
  long child_id = 0;  // CHILDID_SELF (0) for an object of its own, else its id in its parent
  std::wstring name;
  std::wstring value;
  std::wstring default_action;
  long role = 0;
  long state = 0;
  RECT location{};
};
// The client area of `window` and what lies below it, `max_depth` levels deep.
std::vector<AccNode> AccessibleTree(HWND window, int max_depth = 3);
// The element of `window`'s client area that has the focus, if any.
std::optional<AccNode> AccessibleFocus(HWND window);
// accDoDefaultAction on the child of `window`'s client area with that name;
// `seconds`, when given, gets how long that call took.
HRESULT AccessibleDefaultAction(HWND window, const std::wstring& name, double* seconds = nullptr);

// The task service's root folder, as an administrator reads it: whether a
// task is registered (nothing when the service cannot be reached), removing
// one (true also when it was not there), and the file the service keeps it in.
std::optional<bool> TaskRegistered(const std::wstring& name);
bool RemoveTask(const std::wstring& name);
std::wstring TaskFile(const std::wstring& name);

// Keeps values as they were when it was made and puts them back when it goes,
// so a test leaves the registry as it found it.
class RegistrySnapshot {
 public:
  struct Place {
    HKEY root;
    std::wstring path;
    std::wstring name;
  };
  explicit RegistrySnapshot(std::vector<Place> places);
  ~RegistrySnapshot();
  RegistrySnapshot(const RegistrySnapshot&) = delete;
  RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;

 private:
  struct Saved {
    Place place;
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };
  std::vector<Saved> saved_;
};

// Where the program keeps its state: the Internet settings key, under
// HKEY_CURRENT_USER and HKEY_CURRENT_CONFIG, and the Run key of HKEY_LOCAL_MACHINE.
inline const std::wstring kSettings =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// The Internet settings values the program writes: both limits under both
// roots, and the connection type; `extra` places are kept with them.
std::vector<RegistrySnapshot::Place> InternetSettingsPlaces(
    std::vector<RegistrySnapshot::Place> extra = {});

// The centres of the main window's flat buttons, in the panel's client area.
inline constexpr POINT kStop{29 + 34, 10 + 34};
inline constexpr POINT kAccelerate{99 + 34, 10 + 34};
inline constexpr POINT kView{169 + 34, 10 + 34};
inline constexpr POINT kMinimize{239 + 34, 10 + 34};
inline constexpr POINT kAbout{311 + 34, 10 + 34};

}  // namespace velocane::driver
