// The release installer and uninstaller under Wine, silent, as an
// administrator deploys them: what they put there, what they take away, and
// what they refuse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tools/driver/driver.h"
// After windows.h, which they need.
#include <shlobj.h>

#include "platform/win32/handles.h"

namespace velocane {
namespace {

using namespace driver;

const std::wstring kUninstall =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velocane";

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The installer that tools/package.sh built, named by the test's environment
// as a path of the Linux side.
std::wstring Installer() {
  const char* path = std::getenv("VELOCANE_INSTALLER");
  if (path == nullptr) return L"";
  std::wstring dos = L"Z:";
  for (const char* c = path; *c != 0; ++c) dos += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return dos;
}

// Runs a command line exactly as given (a program, quoted, and its arguments),
// as a deployment tool runs a registered one, and waits for it; its exit
// code, or -1.
int RunCommand(std::wstring command, DWORD timeout_ms = 60000) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return -1;
  }
  const win32::StartedProcess started(info);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(started.process(), timeout_ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(started.process(), &code);
  }
  return static_cast<int>(code);
}

int RunAndWait(const std::wstring& program, const std::wstring& arguments) {
  return RunCommand(L"\"" + program + L"\" " + arguments);
}

class InstallerE2E : public ::testing::Test {
 protected:
  InstallerE2E()
      : snapshot_(InternetSettingsPlaces({{HKEY_LOCAL_MACHINE, kRun, L"Velocane"}})),
        installer_(Installer()),
        folder_(Folder(CSIDL_PROGRAM_FILES) + L"\\Velocane"),
        program_(folder_ + L"\\velocane.exe"),
        uninstaller_(folder_ + L"\\uninstall.exe"),
        shortcut_(Folder(CSIDL_COMMON_PROGRAMS) + L"\\Velocane.lnk") {}

  void SetUp() override {
    ASSERT_FALSE(installer_.empty()) << "VELOCANE_INSTALLER is not set (tools/test.sh sets it)";
    ASSERT_TRUE(Exists(installer_)) << "no installer: tools/package.sh builds it";
    Uninstall();  // a clean machine, whatever an earlier run left
  }
  void TearDown() override {
    Uninstall();
    RemoveTask(L"Velocane");
  }

  bool Registered() {
    return ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"DisplayName").has_value();
  }
  // The commands registered for removal: the silent one as it stands, and
  // the interactive one with /S, as deployment tools use either.
  std::wstring QuietUninstall() {
    return ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"QuietUninstallString").value_or(L"");
  }
  std::wstring UninstallWithS() {
    return ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"UninstallString").value_or(L"") + L" /S";
  }
  void Uninstall() {
    if (Registered()) RunCommand(QuietUninstall());
    RemoveDirectoryW(program_.c_str());  // what a test may have put in the way
    RemoveDirectoryW(folder_.c_str());
  }
  // Right after a removal has returned, nothing of the program is left.
  void ExpectRemoved() {
    EXPECT_FALSE(Registered());
    EXPECT_FALSE(Exists(program_));
    EXPECT_FALSE(Exists(uninstaller_));
    EXPECT_FALSE(Exists(folder_));
    EXPECT_FALSE(Exists(shortcut_));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane"), std::nullopt);
    EXPECT_EQ(TaskRegistered(L"Velocane"), false);
  }
  // Everything the setup put there is still there.
  void ExpectInstalled() {
    EXPECT_TRUE(Registered());
    EXPECT_TRUE(Exists(program_));
    EXPECT_TRUE(Exists(uninstaller_));
    EXPECT_TRUE(Exists(shortcut_));
  }
  // The installed program, started as the Start menu starts it.
  struct Started {
    win32::StartedProcess process;
    HWND main = nullptr;
    HWND check = nullptr;
  };
  Started StartInstalled() {
    Started s;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + program_ + L"\"";
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      return s;
    }
    s.process = win32::StartedProcess(info);
    s.main = WaitForWindow(s.process.id(), L"TForm1", L"Velocane", 30000);
    if (s.main != nullptr) {
      s.check = WaitForChild(s.main, L"Button", L"Enable acceleration on system startup", 10000);
      // Shown once start-up has read the start at log-on.
      WaitUntil([&] { return IsWindowVisible(s.main) != FALSE; }, 10000);
    }
    return s;
  }
  void CloseInstalled(Started& s) {
    PostMessageW(s.main, WM_CLOSE, 0, 0);
    HWND warning = WaitForMessageBox(s.process.id(), L"Warning", 30000);
    ASSERT_NE(warning, nullptr);
    PressDialogButton(warning, IDYES);
    EXPECT_EQ(WaitForSingleObject(s.process.process(), 15000), WAIT_OBJECT_0);
    s.process = {};
  }

  RegistrySnapshot snapshot_;
  std::wstring installer_, folder_, program_, uninstaller_, shortcut_;
};

TEST_F(InstallerE2E, SilentInstallRunAndUninstall) {
  ASSERT_EQ(RunAndWait(installer_, L"/S"), 0);
  EXPECT_TRUE(Exists(program_));
  EXPECT_TRUE(Exists(uninstaller_));
  EXPECT_TRUE(Exists(shortcut_)) << "no Start-menu shortcut";
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"DisplayName"), L"Velocane 3.12");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"DisplayVersion"), L"3.12");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation"), folder_);
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"DisplayIcon"), program_ + L",0");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"UninstallString"),
            L"\"" + uninstaller_ + L"\"");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"QuietUninstallString"),
            L"\"" + uninstaller_ + L"\" /S");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"Publisher"), L"The Velocane developers");
  EXPECT_GT(ReadDWord(HKEY_LOCAL_MACHINE, kUninstall, L"EstimatedSize").value_or(0), 0u);
  EXPECT_EQ(ReadDWord(HKEY_LOCAL_MACHINE, kUninstall, L"NoModify"), 1u);
  EXPECT_EQ(ReadDWord(HKEY_LOCAL_MACHINE, kUninstall, L"NoRepair"), 1u);

  // The installed program runs, and its check box starts it at log-on from there.
  Started program = StartInstalled();
  ASSERT_NE(program.check, nullptr);
  // An earlier version's Run value, which the task replaces.
  WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"" + program_ + L"\" /Auto");
  PostMessageW(program.check, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([] { return TaskRegistered(L"Velocane") == true; }, 10000))
      << "no log-on task";
  EXPECT_TRUE(WaitUntil(
      [] { return !ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane").has_value(); }, 10000));
  // And one more, as a machine without the task service would have it.
  WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"" + program_ + L"\" /Auto");

  // While it runs, the setup and both registered removals refuse, silently,
  // with their own exit code, and leave everything as it is.
  EXPECT_EQ(RunAndWait(installer_, L"/S"), 2);
  EXPECT_EQ(RunCommand(QuietUninstall()), 2);
  EXPECT_EQ(RunCommand(UninstallWithS()), 2);
  ExpectInstalled();
  EXPECT_EQ(TaskRegistered(L"Velocane"), true);
  CloseInstalled(program);

  // The removal takes what the setup put there, the task and the Run value,
  // nothing else, before it returns.
  WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"Cable");
  WriteDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", 7);
  ASSERT_EQ(RunCommand(QuietUninstall()), 0);
  ExpectRemoved();
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer"), 7u);
  EXPECT_EQ(ReadString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType"), L"Cable");
}

TEST_F(InstallerE2E, TheInteractiveUninstallStringWithSlashSWaitsAndReportsToo) {
  ASSERT_EQ(RunAndWait(installer_, L"/S"), 0);
  WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"" + program_ + L"\" /Auto");
  ASSERT_EQ(RunCommand(UninstallWithS()), 0);
  ExpectRemoved();
}

TEST_F(InstallerE2E, ARemovalThatFailsSaysSoAndKeepsTheEntryToTryAgain) {
  ASSERT_EQ(RunAndWait(installer_, L"/S"), 0);
  {
    // Another program holds the program's file: it cannot be deleted.
    const win32::UniqueFile held(CreateFileW(program_.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunCommand(QuietUninstall()), 3);
  }
  EXPECT_TRUE(Registered());
  EXPECT_TRUE(Exists(program_));
  // Once the file is free, the registered removal finishes the work.
  ASSERT_EQ(RunCommand(QuietUninstall()), 0);
  ExpectRemoved();
}

TEST_F(InstallerE2E, InstallingAgainUpgradesInPlace) {
  ASSERT_EQ(RunAndWait(installer_, L"/S"), 0);
  // An old file in the way is replaced; the entry stays one entry.
  ASSERT_TRUE(DeleteFileW(program_.c_str()));
  {
    const win32::UniqueFile stale(
        CreateFileW(program_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_NE(stale.get(), INVALID_HANDLE_VALUE);
  }
  ASSERT_EQ(RunAndWait(installer_, L"/S"), 0);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(program_.c_str(), GetFileExInfoStandard, &data));
  EXPECT_GT(data.nFileSizeLow, 100000u);
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation"), folder_);
}

TEST_F(InstallerE2E, UninstallAfterTheFolderWasDeletedByHandStillCleansUp) {
  ASSERT_EQ(RunAndWait(installer_, L"/S"), 0);
  WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"" + program_ + L"\" /Auto");
  // The user kept a copy of the uninstaller and deleted the folder.
  const std::wstring copy = Folder(CSIDL_COMMON_APPDATA) + L"\\velocane-uninstall-copy.exe";
  ASSERT_TRUE(CopyFileW(uninstaller_.c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(DeleteFileW(program_.c_str()));
  ASSERT_TRUE(DeleteFileW(uninstaller_.c_str()));
  ASSERT_TRUE(RemoveDirectoryW(folder_.c_str()));
  EXPECT_EQ(RunAndWait(copy, L"/S _?=" + folder_), 0);
  EXPECT_FALSE(Registered());
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane"), std::nullopt);
  EXPECT_FALSE(Exists(shortcut_));
  DeleteFileW(copy.c_str());
}

TEST_F(InstallerE2E, AFailingStepIsReportedAndRegistersNothing) {
  // A folder where the program must go: its file cannot be written.
  ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CreateDirectoryW(program_.c_str(), nullptr));
  EXPECT_EQ(RunAndWait(installer_, L"/S"), 3);
  EXPECT_FALSE(Registered());
  EXPECT_FALSE(Exists(shortcut_));
}

}  // namespace
}  // namespace velocane
