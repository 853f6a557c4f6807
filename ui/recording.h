// The window's side of macro recording: ending a recording with the naming dialog.
#pragma once

#include "ui/workspace.h"

namespace korval {

// The recorder's view of the workspace.
RecorderContext RecorderContextFor(Workspace& work, const Frame& frame);

// Ends the running recording: asks for a name when a step was recorded, saves the macro onto its
// slot, and selects the macro mode with that slot.
void StopRecording(Workspace& work, Frame& frame);

}  // namespace korval
