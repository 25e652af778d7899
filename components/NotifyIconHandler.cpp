#include "components/NotifyIconHandler.h"

#include "platform/framework/process_wide.h"
#include "platform/messages.h"

namespace velocane {

namespace {

using Shared = TProcessWide<TNotifyIconHandler>;

// The first common controls whose shell broadcasts "TaskbarCreated": 4.71.
constexpr std::uint32_t kTaskbarCreatedVersion = 4u << 16 | 71u;

}  // namespace

std::shared_ptr<TNotifyIconHandler> TNotifyIconHandler::Acquire(Platform& platform) {
  return Shared::Acquire([&] {
    // Only common controls recent enough come with a shell that tells of its restart.
    const std::uint32_t taskbar_created =
        platform.notify_area.CommonControlsVersion() >= kTaskbarCreatedVersion
            ? platform.windowing.RegisterWindowMessage("TaskbarCreated")
            : 0;
    return std::make_shared<TNotifyIconHandler>(platform.windowing, taskbar_created);
  });
}

bool TNotifyIconHandler::Exists() { return Shared::Current() != nullptr; }

WindowHandle TNotifyIconHandler::Window() {
  const TNotifyIconHandler* handler = Shared::Current();
  return handler != nullptr ? handler->window_ : WindowHandle{};
}

std::uint32_t TNotifyIconHandler::TaskbarCreatedMessage() {
  const TNotifyIconHandler* handler = Shared::Current();
  return handler != nullptr ? handler->taskbar_created_ : 0;
}

TNotifyIconHandler::TNotifyIconHandler(Windowing& windowing, std::uint32_t taskbar_created)
    : windowing_(windowing),
      window_(windowing.CreateHiddenWindow("TNotifyIconHandler", "", false, Proc).handle),
      taskbar_created_(taskbar_created) {}

TNotifyIconHandler::~TNotifyIconHandler() {
  if (window_) windowing_.DestroyWindow(window_);
}

std::uint32_t TNotifyIconHandler::Listen(TTrayCallback callback) {
  const std::uint32_t id = next_id_++;
  icons_[id] = std::move(callback);
  return id;
}

void TNotifyIconHandler::Forget(std::uint32_t id) { icons_.erase(id); }

std::optional<std::intptr_t> TNotifyIconHandler::Proc(std::uint32_t msg, std::uintptr_t wparam,
                                                      std::intptr_t lparam) {
  switch (msg) {
    case kTrayCallbackMessage: {
      // Only for a living icon; never to the default handling. The shell's
      // id and notification are 32-bit values: a wider wParam or lParam
      // comes from elsewhere and names neither, cut short as it may be.
      constexpr std::uint32_t kMax = 0xFFFFFFFFu;
      if (static_cast<std::uintmax_t>(wparam) > kMax || lparam < 0 ||
          static_cast<std::uintmax_t>(lparam) > kMax) {
        return 0;
      }
      const TNotifyIconHandler* handler = Shared::Current();
      if (handler == nullptr) return 0;
      const auto it = handler->icons_.find(static_cast<std::uint32_t>(wparam));
      if (it == handler->icons_.end()) return 0;
      // A copy: the icon may go while it handles the notification.
      const TTrayCallback callback = it->second;
      callback(static_cast<std::uint32_t>(lparam));
      return 0;
    }
    case wm::kDestroy:
    case wm::kClose:
    case wm::kQueryEndSession:
    case wm::kQuit:
    case wm::kEndSession:
    case wm::kNcDestroy:
      return 1;
    default:
      return std::nullopt;
  }
}

}  // namespace velocane
