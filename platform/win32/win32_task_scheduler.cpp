#include "platform/win32/win32_task_scheduler.h"

#include <exception>
#include <string>
#include <thread>

#include "platform/framework/exceptions.h"
#include "platform/win32/bstr.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_errors.h"
// After windows.h, which it needs.
#include <taskschd.h>

namespace velocane::win32 {

namespace {

void Check(HRESULT hr) {
  if (FAILED(hr)) throw EOleSysError(hr, SystemErrorText(static_cast<unsigned>(hr)));
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) {
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  }
  return wide;
}

Bstr MakeBstr(const std::string& utf8) {
  const std::wstring wide = FromUtf8(utf8);
  Bstr result(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
  if (result.get() == nullptr) Check(E_OUTOFMEMORY);
  return result;
}

class Win32TaskFolder : public TaskFolder {
 public:
  explicit Win32TaskFolder(ComPtr<ITaskFolder> folder) : folder_(std::move(folder)) {}

  bool TaskExists(const std::string& name) override {
    ComPtr<IRegisteredTask> task;
    const HRESULT hr = folder_->GetTask(MakeBstr(name).get(), task.put());
    if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return false;
    Check(hr);
    return true;
  }

  void RegisterTask(const std::string& name, const std::string& xml) override {
    VARIANT empty;
    VariantInit(&empty);
    ComPtr<IRegisteredTask> task;
    // The account comes from the definition's principal: a group, whose
    // members' own log-on token runs the task.
    Check(folder_->RegisterTask(MakeBstr(name).get(), MakeBstr(xml).get(), TASK_CREATE_OR_UPDATE,
                                empty, empty, TASK_LOGON_GROUP, empty, task.put()));
  }

  void DeleteTask(const std::string& name) override {
    Check(folder_->DeleteTask(MakeBstr(name).get(), 0));
  }

 private:
  ComPtr<ITaskFolder> folder_;
};

class Win32TaskLookup : public TaskLookup {
 public:
  Win32TaskLookup(Win32TaskScheduler& scheduler, std::string name)
      : thread_([this, &scheduler, name = std::move(name)] {
          // Nothing of the caller's apartment is used here: the service's
          // objects live and die on this thread.
          const ComScope com(COINIT_MULTITHREADED);
          try {
            found_ = scheduler.ConnectRootFolder()->TaskExists(name);
          } catch (...) {
            failure_ = std::current_exception();
          }
        }) {}
  ~Win32TaskLookup() override { Join(); }
  Win32TaskLookup(const Win32TaskLookup&) = delete;
  Win32TaskLookup& operator=(const Win32TaskLookup&) = delete;

  bool Result() override {
    Join();
    if (failure_) std::rethrow_exception(failure_);
    return found_;
  }

 private:
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  bool found_ = false;
  std::exception_ptr failure_;
  std::thread thread_;  // last: it starts once the results have a place
};

}  // namespace

std::unique_ptr<TaskLookup> Win32TaskScheduler::BeginLookup(const std::string& name) {
  return std::make_unique<Win32TaskLookup>(*this, name);
}

std::unique_ptr<TaskFolder> Win32TaskScheduler::ConnectRootFolder() {
  ComPtr<ITaskService> service;
  Check(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                         reinterpret_cast<void**>(service.put())));
  VARIANT empty;
  VariantInit(&empty);
  Check(service->Connect(empty, empty, empty, empty));
  ComPtr<ITaskFolder> root;
  Check(service->GetFolder(MakeBstr("\\").get(), root.put()));
  return std::make_unique<Win32TaskFolder>(std::move(root));
}

}  // namespace velocane::win32
