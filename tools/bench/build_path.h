#pragma once
// Where the benchmarks find the programs they start: in the same build.
#include <windows.h>

#include <string>

namespace velocane::bench {

// `name` is a path below the build folder, such as L"\\app\\velocane.exe";
// the benchmark itself runs from the build's tools folder.
inline std::wstring InBuild(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  path = path.substr(0, path.find_last_of(L"\\/"));  // tools/
  path = path.substr(0, path.find_last_of(L"\\/"));  // the build
  return path + name;
}

}  // namespace velocane::bench
