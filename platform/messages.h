#pragma once
// Window message numbers and flags, with the values the system gives them, so
// the simulation and the real backend speak the same numbers.
#include <cstdint>

namespace velocane {

namespace wm {
constexpr std::uint32_t kNull = 0x0000;
constexpr std::uint32_t kDestroy = 0x0002;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kQueryEndSession = 0x0011;
constexpr std::uint32_t kQuit = 0x0012;
constexpr std::uint32_t kEndSession = 0x0016;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kTimer = 0x0113;
constexpr std::uint32_t kUser = 0x0400;
}  // namespace wm

// WM_SYSCOMMAND's commands: the system menu's entries.
namespace sc {
constexpr std::uint16_t kMinimize = 0xF020;
constexpr std::uint16_t kMaximize = 0xF030;
constexpr std::uint16_t kClose = 0xF060;
constexpr std::uint16_t kRestore = 0xF120;
}  // namespace sc

namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
}  // namespace mb

// Message box results.
namespace idbutton {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace idbutton

}  // namespace velocane
