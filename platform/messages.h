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
constexpr std::uint32_t kTimer = 0x0113;
constexpr std::uint32_t kUser = 0x0400;
}  // namespace wm

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
