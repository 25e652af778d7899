#pragma once
// How the main window looks where others draw it too: the slate colour of its
// panels, memos, combo box and check box, and the settings of its gauge.
#include "components/vex/vextgauge.h"
#include "platform/types.h"

namespace velocane {

// Red 128, green 128, blue 192.
constexpr Color kSlate = 12615808;

// The main window's gauge `AG`: its place on the panel, colours and bevels.
void ConfigureMainGauge(TVexGauge& gauge);

}  // namespace velocane
