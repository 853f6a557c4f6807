// The mode panels' controls are made when their mode is first shown, not with the window: the
// start makes only what the first paint shows.
#pragma once

#include <span>

#include "ui/workspace.h"

namespace korval {

// Makes those of ids that the main dialog does not hold yet, from the mode panels' template:
// hidden, in the dialog's font, anchored and placed as the template's other controls, and in the
// template's order above the mode tabs. Whether any was made.
bool CreatePanelControls(Frame& frame, std::span<const int> ids);

// Makes the controls of mode the first time they are needed; once the panel has been filled (the
// end of the set-up), the new controls get their lists, input histories, limits and values as the
// others got them, and follow a running recording and the macro editor's state.
void EnsureModeGroup(Workspace& work, Frame& frame, int mode);

}  // namespace korval
