#include "platform/sim/sim_notify_area.h"

#include "platform/messages.h"

namespace velocane::sim {

bool SimNotifyArea::ShellNotifyIcon(NotifyCommand command, const NotifyIconData& data) {
  const auto key = std::make_pair(data.window.value, data.id);
  const auto it = icons_.find(key);
  bool accepted = false;
  if (!refusing_) {
    switch (command) {
      case NotifyCommand::kAdd:
        accepted = it == icons_.end();
        if (accepted) icons_[key] = Shown{data, 0};
        break;
      case NotifyCommand::kModify:
        accepted = it != icons_.end();
        if (accepted) it->second.data = data;
        break;
      case NotifyCommand::kDelete:
        accepted = it != icons_.end();
        if (accepted) icons_.erase(it);
        break;
      case NotifyCommand::kSetVersion:
        accepted = it != icons_.end();
        if (accepted) it->second.version = data.timeout_or_version;
        break;
    }
  }
  requests_.push_back(Request{command, data, accepted});
  return accepted;
}

IconHandle SimNotifyArea::CreateIcon(int width, int height, const std::vector<Color>& pixels,
                                     Color transparent) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
    return IconHandle{};
  }
  std::vector<Color> shown = pixels;
  for (Color& pixel : shown) {
    if (pixel == transparent) pixel = clNone;
  }
  const IconHandle icon{next_icon_++};
  pixels_[icon.value] = std::move(shown);
  return icon;
}

void SimNotifyArea::DestroyIcon(IconHandle icon) { pixels_.erase(icon.value); }

const SimNotifyArea::Shown* SimNotifyArea::Find(WindowHandle window, std::uint32_t id) const {
  const auto it = icons_.find({window.value, id});
  return it == icons_.end() ? nullptr : &it->second;
}

std::vector<Color> SimNotifyArea::Pixels(IconHandle icon) const {
  const auto it = pixels_.find(icon.value);
  return it == pixels_.end() ? std::vector<Color>{} : it->second;
}

void SimNotifyArea::Notify(WindowHandle window, std::uint32_t id,
                           const std::vector<std::uint32_t>& events) {
  const Shown* shown = Find(window, id);
  if (shown == nullptr) return;
  const std::uint32_t message = shown->data.callback_message;
  for (std::uint32_t event : events) windowing_.SendMessage(window, message, id, event);
}

std::vector<std::uint32_t> SimNotifyArea::NotificationsFor(Act act, std::uint32_t version) {
  // Before version 3 the keyboard came as the right button.
  const std::vector<std::uint32_t> right = {wm::kRButtonDown, wm::kRButtonUp};
  const bool v3 = version >= kNotifyIconVersion;
  switch (act) {
    case Act::kLeftClick:
      if (v3) return {wm::kLButtonDown, wm::kLButtonUp, nin::kSelect};
      return {wm::kLButtonDown, wm::kLButtonUp};
    case Act::kRightClick:
      if (v3) return {wm::kRButtonDown, wm::kRButtonUp, wm::kContextMenu};
      return right;
    case Act::kKeySelect:
      return v3 ? std::vector<std::uint32_t>{nin::kKeySelect} : right;
    case Act::kEnterAfterPointer:
      return v3 ? std::vector<std::uint32_t>{nin::kSelect} : right;
    case Act::kMenuKey:
      return v3 ? std::vector<std::uint32_t>{wm::kContextMenu} : right;
  }
  return {};
}

void SimNotifyArea::Perform(WindowHandle window, std::uint32_t id, Act act) {
  const Shown* shown = Find(window, id);
  if (shown != nullptr) Notify(window, id, NotificationsFor(act, shown->version));
}

void SimNotifyArea::RestartShell() {
  icons_.clear();
  windowing_.Broadcast(windowing_.RegisterWindowMessage("TaskbarCreated"), 0, 0);
}

}  // namespace velocane::sim
