// Where the main window opens: at its saved rectangle, or centred at a default size when nothing
// was saved or the saved rectangle lies mostly off the screens.
#pragma once

#include <windows.h>

namespace korval {

struct SavedPlacement {
  int left, top, width, height;  // -1 when unset
};

// Sizes at 96 DPI, scaled to the window's DPI.
inline constexpr int kDefaultWindowWidth = 815;
inline constexpr int kDefaultWindowHeight = 437;

// virtualScreen: the bounds of all monitors; workArea: the desktop to centre on; currentWidth: the
// width the window was created with; dpi: the window's DPI, which scales the default size; minimum:
// the smallest size, to which a smaller saved size is raised (saved at another display scaling).
RECT PlaceMainWindow(const SavedPlacement& saved, const RECT& virtualScreen, const RECT& workArea, int currentWidth,
                     int dpi, POINT minimum);

// The smallest size the user can drag the window to at the DPI, from the system metrics of caption,
// menu and frame heights at that DPI.
POINT MinimumTrackSize(int dpi, int captionHeight, int menuHeight, int frameHeight);

// Moves a window that reaches beyond the work area of its monitor back onto it, as far as it fits: a
// dialog opened at its owner's corner can grow past the screen's edge at a large display scaling.
void KeepOnWorkArea(HWND window);

}  // namespace korval
