#include "components/NotifyIconEntry.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/exceptions.h"

namespace velocane {

namespace {

// A refused add is tried again every 2 s for a minute; after that the
// shell's "TaskbarCreated" brings the icon back once it is up.
constexpr unsigned kAddRetryMs = 2000;
constexpr int kAddRetries = 30;

}  // namespace

TNotifyIconEntry::TNotifyIconEntry(Platform& platform, TIcon& picture,
                                   WindowHandle restart_listener, TTrayCallback callback)
    : platform_(platform), picture_(picture), handler_(TNotifyIconHandler::Acquire(platform)) {
  record_.id = handler_->Listen(std::move(callback));
  record_.window = handler_->Handle();
  record_.flags = nif::kMessage | nif::kIcon | nif::kTip;
  record_.callback_message = kTrayCallbackMessage;
  // An Explorer with fewer rights than ours may still tell us it restarted.
  if (const std::uint32_t message = handler_->TaskbarCreated(); message != 0 && restart_listener) {
    platform_.windowing.AllowMessageFromLowerRights(restart_listener, message);
  }
}

TNotifyIconEntry::~TNotifyIconEntry() { handler_->Forget(record_.id); }

void TNotifyIconEntry::SetTip(const std::string& hint, bool show) {
  record_.tip.fill(0);
  if (!hint.empty() && show) {
    const std::size_t length = std::min<std::size_t>(hint.size(), record_.tip.size() - 1);
    std::memcpy(record_.tip.data(), hint.data(), length);
  }
}

void TNotifyIconEntry::SetVersion(std::uint32_t version) {
  record_.timeout_or_version = version;
  if (wanted_) AskVersion();
}

bool TNotifyIconEntry::AskVersion() { return Request(NotifyCommand::kSetVersion); }

bool TNotifyIconEntry::Request(NotifyCommand command) {
  try {
    record_.icon = picture_.Handle();
  } catch (const EReadError&) {
    record_.icon = IconHandle{};
  }
  return platform_.notify_area.ShellNotifyIcon(command, record_);
}

bool TNotifyIconEntry::Add() {
  if (!Request(NotifyCommand::kAdd)) return false;
  // Version 0 is what the shell assumes of a new icon.
  if (record_.timeout_or_version != 0) AskVersion();
  return true;
}

bool TNotifyIconEntry::Show() {
  wanted_ = true;
  const bool added = Add();
  // A refused add of an icon that is already there is no failure; only an
  // absent one is tried again.
  if (!added && !Request(NotifyCommand::kModify)) ScheduleRetry();
  return added;
}

bool TNotifyIconEntry::Hide() {
  wanted_ = false;
  retry_timer_.reset();
  return Request(NotifyCommand::kDelete);
}

bool TNotifyIconEntry::Update() { return Request(NotifyCommand::kModify); }

void TNotifyIconEntry::ListenerMessage(std::uint32_t msg) {
  const std::uint32_t taskbar_created = handler_->TaskbarCreated();
  if (taskbar_created != 0 && msg == taskbar_created && wanted_) Show();
}

void TNotifyIconEntry::ScheduleRetry() {
  if (retry_timer_) return;
  retries_left_ = kAddRetries;
  retry_timer_ = std::make_unique<TLightTimer>(platform_.windowing, kAddRetryMs,
                                               [this](TLightTimer&) { Retry(); });
  retry_timer_->SetRunning(true);
}

void TNotifyIconEntry::Retry() {
  const bool there = Add() || Request(NotifyCommand::kModify);
  if (there || --retries_left_ <= 0) retry_timer_.reset();
}

}  // namespace velocane
