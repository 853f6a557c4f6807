// Where the editor's window opens.
#pragma once

#include <windows.h>

namespace korval {

// Sizes at 96 DPI, scaled to the window's DPI.
inline constexpr int kEditorDefaultHeight = 540;
inline constexpr int kEditorMaxDefaultWidth = 660;

// The stored place when position and size are not negative, the position is not left of or above
// -10 and the window fits the desktop with 10 pixels to spare; otherwise a window 540 pixels high,
// of the stored width when that fits or else at most 660 wide, centred on the desktop. The stored
// place is in pixels as it was stored; the default sizes grow with the DPI.
RECT PlaceEditorWindow(int left, int top, int width, int height, const RECT& desktop, int dpi);

}  // namespace korval
