#include "tools/driver/shell_server.h"

#include <cstdlib>
#include <stdexcept>

namespace velocane::driver {

namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', from);
    fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
    if (tab == std::string::npos) return fields;
    from = tab + 1;
  }
}

}  // namespace

std::wstring ShellServerPath() {
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  // build/<preset>/tests/x.exe -> build/<preset>/tools/shell_windows_server.exe
  path = path.substr(0, path.find_last_of(L"\\/"));
  path = path.substr(0, path.find_last_of(L"\\/"));
  return path + L"\\tools\\shell_windows_server.exe";
}

ShellServer::ShellServer(bool serve_browsers) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  // The server's ends: the server keeps its own copies, ours close once it has started.
  win32::UniqueKernelHandle child_in;
  win32::UniqueKernelHandle child_out;
  if (!CreatePipe(child_in.put(), to_server_.put(), &inherit, 0) ||
      !CreatePipe(from_server_.put(), child_out.put(), &inherit, 0)) {
    throw std::runtime_error("cannot make the pipes to the shell server");
  }
  SetHandleInformation(to_server_.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(from_server_.get(), HANDLE_FLAG_INHERIT, 0);
  win32::UniqueFile nul(
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_in.get();
  startup.hStdOutput = child_out.get();
  startup.hStdError = nul.get();
  std::wstring command = L"\"" + ShellServerPath() + L"\"";
  if (serve_browsers) command += L" --serve-browsers";
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &started)) {
    throw std::runtime_error("cannot start the shell server");
  }
  process_ = win32::StartedProcess(started);
  child_in.reset();
  child_out.reset();
  nul.reset();
  const std::string ready = ReadLine(30000);
  if (ready.rfind("ready", 0) != 0) {
    Kill();
    throw std::runtime_error("the shell server did not come up: " + ready);
  }
}

ShellServer::~ShellServer() {
  if (Running()) {
    DWORD written = 0;
    WriteFile(to_server_.get(), "quit\n", 5, &written, nullptr);
    if (WaitForSingleObject(process_.process(), 10000) != WAIT_OBJECT_0) Kill();
  }
}

bool ShellServer::Running() const {
  return WaitForSingleObject(process_.process(), 0) == WAIT_TIMEOUT;
}

void ShellServer::Kill() {
  TerminateProcess(process_.process(), 255);
  WaitForSingleObject(process_.process(), 10000);
}

std::string ShellServer::ReadLine(DWORD timeout_ms) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    const std::size_t newline = pending_.find('\n');
    if (newline != std::string::npos) {
      std::string line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      return line;
    }
    DWORD available = 0;
    if (!PeekNamedPipe(from_server_.get(), nullptr, 0, nullptr, &available, nullptr)) return {};
    if (available > 0) {
      std::string chunk(available, '\0');
      DWORD read = 0;
      if (!ReadFile(from_server_.get(), chunk.data(), available, &read, nullptr)) return {};
      pending_.append(chunk, 0, read);
      continue;
    }
    if (GetTickCount64() >= end || !Running()) return {};
    Sleep(5);
  }
}

std::vector<std::string> ShellServer::Command(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : "\t") + field;
  line += "\n";
  DWORD written = 0;
  if (!WriteFile(to_server_.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                 nullptr)) {
    throw std::runtime_error("the shell server is gone");
  }
  std::vector<std::string> answer = Split(ReadLine(60000));
  if (answer[0] != "ok") {
    throw std::runtime_error("shell server: " + line + " -> " +
                             (answer.size() > 1 ? answer[1] : answer[0]));
  }
  answer.erase(answer.begin());
  return answer;
}

int ShellServer::Own(const std::string& title, const std::string& url) {
  return std::atoi(Command({"own", title, url}).at(0).c_str());
}

int ShellServer::Wine(const std::string& url) {
  return std::atoi(Command({"wine", url}).at(0).c_str());
}

HWND ShellServer::WindowOf(int id) {
  const std::vector<std::string> items = Command({"list"});
  for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
    if (std::atoi(items[i].c_str()) == id) {
      return reinterpret_cast<HWND>(std::strtoull(items[i + 1].c_str(), nullptr, 16));
    }
  }
  return nullptr;
}

std::vector<int> ShellServer::Ids() {
  const std::vector<std::string> items = Command({"list"});
  std::vector<int> ids;
  for (std::size_t i = 0; i + 1 < items.size(); i += 2) ids.push_back(std::atoi(items[i].c_str()));
  return ids;
}

std::vector<std::string> ShellServer::Navigations(int id) {
  return Command({"navigations", std::to_string(id)});
}

}  // namespace velocane::driver
