// Redrawing a dialog after its controls were shown, hidden or moved.
#pragma once

#include <windows.h>

namespace korval {

// Redraws the area (the whole client area when null) with every child in it, borders included:
// a control shown where another was hidden, or moved, keeps no half-drawn frame.
void RedrawWithFrames(HWND window, const RECT* area = nullptr);

}  // namespace korval
