// The running window's side of a hand-over: the paths a second start sends are read as drops, or
// kept while a pass or a box is under way and read as soon as the window is free again. Where they
// may not be added at all (undo mode, a macro playing), the status bar says how many were not taken.
#pragma once

#include <windows.h>

#include "ui/workspace.h"

namespace korval {

// The hand-over message; the answer goes back to the sender (kHandOverTaken when it took them all).
LRESULT ReceiveHandOver(Workspace& work, Frame& frame, WPARAM lowest, LPARAM highest);
// WM_COPYDATA: the paths too long for an atom, read the same way; 0 for data of another kind.
LRESULT ReceiveCopiedHandOver(Workspace& work, Frame& frame, const COPYDATASTRUCT* data);

// Timer 1511: the paths kept are read once the window is free; until then it waits.
void TakeHeldPaths(Workspace& work, Frame& frame);

}  // namespace korval
