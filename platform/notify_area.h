#pragma once
// The notification area of the taskbar (Shell_NotifyIconA), and the icons it
// shows, made from pixels of our own.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace velocane {

struct IconHandle {
  std::uintptr_t value = 0;
  explicit operator bool() const { return value != 0; }
  friend bool operator==(IconHandle, IconHandle) = default;
};

enum class NotifyCommand : std::uint32_t { kAdd = 0, kModify = 1, kDelete = 2, kSetVersion = 4 };

// uFlags.
namespace nif {
constexpr std::uint32_t kMessage = 0x1;
constexpr std::uint32_t kIcon = 0x2;
constexpr std::uint32_t kTip = 0x4;
}  // namespace nif

// The notify-icon record in its single-byte form with the balloon fields. The
// backend gives the system the record size of its own build for this version.
struct NotifyIconData {
  WindowHandle window;  // receives the callbacks
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callback_message = 0;
  IconHandle icon;
  std::array<char, 128> tip{};
  std::uint32_t state = 0;
  std::uint32_t state_mask = 0;
  std::array<char, 256> info{};
  std::uint32_t timeout_or_version = 0;
  std::array<char, 64> info_title{};
  std::uint32_t info_flags = 0;
};

// The version of the record that NotifyCommand::kSetVersion asks for.
constexpr std::uint32_t kNotifyIconVersion = 3;

// Notifications of the shell that are no mouse messages. The select ones come
// only to an icon that asked for version 3 or later.
namespace nin {
constexpr std::uint32_t kSelect = 0x0400;     // chosen with the mouse (and Enter)
constexpr std::uint32_t kKeySelect = 0x0401;  // chosen with the keyboard: Space or Enter
constexpr std::uint32_t kBalloonShow = 0x0402;
constexpr std::uint32_t kBalloonHide = 0x0403;
constexpr std::uint32_t kBalloonTimeout = 0x0404;
constexpr std::uint32_t kBalloonUserClick = 0x0405;
}  // namespace nin

class NotifyArea {
 public:
  virtual ~NotifyArea() = default;
  // True when the shell accepted the request.
  virtual bool ShellNotifyIcon(NotifyCommand command, const NotifyIconData& data) = 0;

  // An icon of `width` x `height` pixels (0x00BBGGRR, row by row from the
  // top); pixels of `transparent` show what lies under the icon. Null when the
  // system refuses.
  virtual IconHandle CreateIcon(int width, int height, const std::vector<Color>& pixels,
                                Color transparent) = 0;
  virtual void DestroyIcon(IconHandle icon) = 0;
  // The common controls' file version, major in the upper and minor in the
  // lower 16 bits; 0 when it cannot be read.
  virtual std::uint32_t CommonControlsVersion() = 0;
};

}  // namespace velocane
