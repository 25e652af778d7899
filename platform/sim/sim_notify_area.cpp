#include "platform/sim/sim_notify_area.h"

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

void SimNotifyArea::RestartShell() {
  icons_.clear();
  windowing_.Broadcast(windowing_.RegisterWindowMessage("TaskbarCreated"), 0, 0);
}

}  // namespace velocane::sim
