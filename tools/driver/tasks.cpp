// The task service as an administrator reads it: the tasks of its root folder.
#include <taskschd.h>

#include "platform/win32/bstr.h"
#include "platform/win32/handles.h"
#include "tools/driver/driver.h"

namespace velocane::driver {

namespace {

using win32::Bstr;
using win32::ComPtr;
using win32::ComScope;

// The root folder, or empty when the service cannot be reached. A fresh
// prefix's service may answer "not running" to the first connection.
ComPtr<ITaskFolder> RootFolder() {
  ComPtr<ITaskService> service;
  if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                              reinterpret_cast<void**>(service.put())))) {
    return nullptr;
  }
  VARIANT empty;
  VariantInit(&empty);
  HRESULT hr = E_FAIL;
  for (int attempt = 0; attempt < 20 && FAILED(hr); ++attempt) {
    if (attempt > 0) Sleep(250);
    hr = service->Connect(empty, empty, empty, empty);
  }
  ComPtr<ITaskFolder> root;
  if (FAILED(hr)) return nullptr;
  Bstr path(SysAllocString(L"\\"));
  if (FAILED(service->GetFolder(path.get(), root.put()))) return nullptr;
  return root;
}

}  // namespace

std::optional<bool> TaskRegistered(const std::wstring& name) {
  ComScope com;
  ComPtr<ITaskFolder> root = RootFolder();
  if (!root) return std::nullopt;
  Bstr task_name(SysAllocString(name.c_str()));
  ComPtr<IRegisteredTask> task;
  const HRESULT hr = root->GetTask(task_name.get(), task.put());
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return false;
  if (FAILED(hr)) return std::nullopt;
  return true;
}

bool RemoveTask(const std::wstring& name) {
  ComScope com;
  ComPtr<ITaskFolder> root = RootFolder();
  if (!root) return false;
  Bstr task_name(SysAllocString(name.c_str()));
  const HRESULT hr = root->DeleteTask(task_name.get(), 0);
  return SUCCEEDED(hr) || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

std::wstring TaskFile(const std::wstring& name) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\Tasks\\" + name;
}

}  // namespace velocane::driver
