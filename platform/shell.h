#pragma once
// The shell's window collection (ShellWindows) and the browser objects in it
// (IWebBrowser2). Texts are in the ANSI code page: they are converted from the
// wide strings on arrival, and addresses back on the way out; a character the
// code page lacks arrives as '?'. A failing call raises EOleException when the
// object described the failure (IErrorInfo), EOleSysError with the HRESULT and
// the system's text otherwise; asking an item for its browser raises
// EIntfCastError, as an interface cast does.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/types.h"

namespace velocane {

// A browser object. The reference is counted: the object lives while a
// BrowserRef to it is held.
class ShellBrowser {
 public:
  virtual ~ShellBrowser() = default;
  virtual std::string LocationURL() = 0;
  virtual std::string LocationName() = 0;
  // The browser's top-level window.
  virtual WindowHandle Hwnd() = 0;
  // Starts loading the address; Flags, TargetFrameName, PostData and Headers are empty.
  virtual void Navigate(const std::string& url) = 0;
  virtual void SetVisible(bool visible) = 0;
};
using BrowserRef = std::shared_ptr<ShellBrowser>;

// An item of the collection: its IDispatch.
class ShellItem {
 public:
  virtual ~ShellItem() = default;
  // QueryInterface for IWebBrowser2; raises EIntfCastError when the item has none.
  virtual BrowserRef QueryBrowser() = 0;
};
using ShellItemRef = std::shared_ptr<ShellItem>;

// The collection (IShellWindows).
class ShellWindows {
 public:
  virtual ~ShellWindows() = default;
  virtual int Count() = 0;
  // The item at a 0-based index (a variant holding the 32-bit integer); null for a nil item.
  virtual ShellItemRef Item(int index) = 0;
};
using ShellWindowsRef = std::shared_ptr<ShellWindows>;

class Shell {
 public:
  virtual ~Shell() = default;
  // CoCreateInstance of the ShellWindows class, for IShellWindows.
  virtual ShellWindowsRef CreateShellWindows() = 0;
  // CoCreateInstance of the InternetExplorer class, for IWebBrowser2: a new browser, still hidden.
  virtual BrowserRef CreateBrowser() = 0;
};

// HRESULTs the program meets.
namespace hresult {
constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002u);
constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80004001u);
constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154u);
constexpr std::int32_t kServerUnavailable = static_cast<std::int32_t>(0x800706BAu);
constexpr std::int32_t kUnknownInterface = static_cast<std::int32_t>(0x800706B5u);
constexpr std::int32_t kCallFailed = static_cast<std::int32_t>(0x800706BEu);
constexpr std::int32_t kCallFailedDne = static_cast<std::int32_t>(0x800706BFu);
constexpr std::int32_t kServerDied = static_cast<std::int32_t>(0x80010007u);
constexpr std::int32_t kDisconnected = static_cast<std::int32_t>(0x80010108u);
constexpr std::int32_t kServerDiedDne = static_cast<std::int32_t>(0x80010012u);
}  // namespace hresult

// The object's server is gone: a reference to it will never answer again.
constexpr bool ServerIsGone(std::int32_t hr) {
  return hr == hresult::kServerUnavailable || hr == hresult::kUnknownInterface ||
         hr == hresult::kCallFailed || hr == hresult::kCallFailedDne ||
         hr == hresult::kServerDied || hr == hresult::kServerDiedDne ||
         hr == hresult::kDisconnected;
}

}  // namespace velocane
