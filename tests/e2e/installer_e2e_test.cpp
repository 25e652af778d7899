// The release installer and uninstaller under Wine, silent, as an
// administrator deploys them: what they put there, what they take away, and
// what they refuse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tools/driver/driver.h"
// After windows.h, which they need.
#include <shlobj.h>

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

// Runs a program with arguments and waits for it; its exit code, or -1.
int RunAndWait(const std::wstring& program, const std::wstring& arguments,
               DWORD timeout_ms = 60000) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(info.hProcess, timeout_ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info.hProcess, &code);
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
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
  // The silent uninstall hands over to a copy of itself and ends at once:
  // its work is seen, not waited for.
  void Uninstall() {
    if (Exists(uninstaller_)) {
      RunAndWait(uninstaller_, L"/S");
      WaitUntil([&] { return !Registered() && !Exists(uninstaller_); }, 30000);
    }
    RemoveDirectoryW(program_.c_str());  // what a test may have put in the way
    RemoveDirectoryW(folder_.c_str());
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
  {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + program_ + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    HWND main = WaitForWindow(info.dwProcessId, L"TForm1", L"Velocane", 30000);
    ASSERT_NE(main, nullptr);
    HWND check = WaitForChild(main, L"Button", L"Enable acceleration on system startup", 10000);
    ASSERT_NE(check, nullptr);
    // An earlier version's Run value, which the task replaces.
    WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"" + program_ + L"\" /Auto");
    PostMessageW(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([] { return TaskRegistered(L"Velocane") == true; }, 10000))
        << "no log-on task";
    EXPECT_TRUE(WaitUntil(
        [] { return !ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane").has_value(); }, 10000));
    // And one more, as a machine without the task service would have it.
    WriteString(HKEY_LOCAL_MACHINE, kRun, L"Velocane", L"\"" + program_ + L"\" /Auto");

    // While it runs, both refuse: silently, with their own exit code.
    EXPECT_EQ(RunAndWait(installer_, L"/S"), 2);
    EXPECT_EQ(RunAndWait(uninstaller_, L"/S _?=" + folder_), 2);
    EXPECT_TRUE(Registered());
    EXPECT_TRUE(Exists(program_));

    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND warning = WaitForMessageBox(info.dwProcessId, L"Warning", 30000);
    ASSERT_NE(warning, nullptr);
    PressDialogButton(warning, IDYES);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 15000), WAIT_OBJECT_0);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }

  // The uninstall takes what it put there, the task and the Run value, nothing else.
  WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"Cable");
  WriteDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", 7);
  ASSERT_EQ(RunAndWait(uninstaller_, L"/S"), 0);
  EXPECT_TRUE(WaitUntil([&] { return !Registered() && !Exists(folder_); }, 30000));
  EXPECT_FALSE(Exists(shortcut_));
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRun, L"Velocane"), std::nullopt);
  EXPECT_EQ(TaskRegistered(L"Velocane"), false);
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer"), 7u);
  EXPECT_EQ(ReadString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType"), L"Cable");
}

TEST_F(InstallerE2E, InstallingAgainUpgradesInPlace) {
  ASSERT_EQ(RunAndWait(installer_, L"/S"), 0);
  // An old file in the way is replaced; the entry stays one entry.
  ASSERT_TRUE(DeleteFileW(program_.c_str()));
  HANDLE stale = CreateFileW(program_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(stale, INVALID_HANDLE_VALUE);
  CloseHandle(stale);
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
