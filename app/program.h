#pragma once
// The program entry, on whatever platform it is given.
#include "platform/platform.h"

namespace velocane {

constexpr const char* kApplicationTitle = "Velocane 3.12";

// Initialises the application, creates the main window, runs the message loop
// until the program ends, and frees everything. Returns the exit code.
int RunProgram(Platform& platform);

}  // namespace velocane
