#pragma once
// The hidden window that every icon's requests name, which the shell's
// callbacks reach. The first icon makes it and the last one takes it along.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "platform/platform.h"

namespace velocane {

// The message the shell's callbacks arrive with.
constexpr std::uint32_t kTrayCallbackMessage = 0x0400 + 1024;  // WM_USER + 1024

// What the shell tells of an icon: the callback's lParam.
using TTrayCallback = std::function<void(std::uint32_t notification)>;

class TNotifyIconHandler {
 public:
  // The living handler, or a new one.
  static std::shared_ptr<TNotifyIconHandler> Acquire(Platform& platform);

  static bool Exists();
  static WindowHandle Window();
  // The registered "TaskbarCreated", 0 while it is not registered.
  static std::uint32_t TaskbarCreatedMessage();

  TNotifyIconHandler(Windowing& windowing, std::uint32_t taskbar_created);
  ~TNotifyIconHandler();
  TNotifyIconHandler(const TNotifyIconHandler&) = delete;
  TNotifyIconHandler& operator=(const TNotifyIconHandler&) = delete;

  WindowHandle Handle() const { return window_; }
  std::uint32_t TaskbarCreated() const { return taskbar_created_; }
  // A new icon: the id its callbacks name, which reach `callback` until
  // Forget(id). A number of our own, as the shell's id is 32 bits wide.
  std::uint32_t Listen(TTrayCallback callback);
  void Forget(std::uint32_t id);

 private:
  static std::optional<std::intptr_t> Proc(std::uint32_t msg, std::uintptr_t wparam,
                                           std::intptr_t lparam);

  Windowing& windowing_;
  WindowHandle window_;
  // 0 where the shell does not tell of its restart.
  std::uint32_t taskbar_created_;
  std::map<std::uint32_t, TTrayCallback> icons_;
  std::uint32_t next_id_ = 1;
};

}  // namespace velocane
