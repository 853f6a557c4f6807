// The date and time pickers of the time stamp mode and the "現在時刻" box that keeps them at the
// current time.
#pragma once

#include "modes/read_mode_params.h"
#include "ui/workspace.h"

namespace korval {

// Formats the pickers; without "現在時刻" the time starts at 00:00:00.
void InitTimeControls(const Frame& frame, const PanelValues& panel);
// The pickers' values as the panel's base date "yyyy/MM/dd" and time "HH:mm:ss".
void ReadTimeControls(const Frame& frame, PanelValues& panel);
// Timer 1503: the pickers follow the clock while "現在時刻" is checked and shown.
void TickClock(Workspace& work, const Frame& frame);

}  // namespace korval
