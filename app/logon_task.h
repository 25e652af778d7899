#pragma once
// The log-on task that starts the program with "/Auto": its name in the task
// service's root folder and its definition.
#include <string>

namespace velocane {

inline constexpr const char* kLogonTaskName = "Velocane";
// Between a log-on and the start, so that the shell is likely up.
inline constexpr const char* kLogonTaskDelay = "PT5S";
// The group whose members' log-on starts the task: BUILTIN\Users, that is
// every user, as the machine-wide Run value did.
inline constexpr const char* kLogonTaskGroup = "S-1-5-32-545";

// The task definition in the task service's XML (UTF-8): a log-on trigger for
// every user after the delay; the interactive user's own token with the
// highest rights that user has, so that an administrator's log-on starts the
// program elevated without a prompt; the executable `executable` (UTF-8) with
// "/Auto"; no battery conditions, no time limit, a second start ignored while
// one runs, startable on demand, at the priority of an interactive program.
std::string LogonTaskDefinition(const std::string& executable);

}  // namespace velocane
