// Where the main window opens: at its saved rectangle, or centred at a default size when nothing
// was saved or the saved rectangle lies mostly off the screens.
#pragma once

#include <windows.h>

namespace korval {

struct SavedPlacement {
  int left, top, width, height;  // -1 when unset
};

inline constexpr int kDefaultWindowWidth = 815;
inline constexpr int kDefaultWindowHeight = 437;

// virtualScreen: the bounds of all monitors; workArea: the desktop to centre on; currentWidth: the
// width the window was created with.
RECT PlaceMainWindow(const SavedPlacement& saved, const RECT& virtualScreen, const RECT& workArea, int currentWidth);

// The smallest size the user can drag the window to, from the system metrics of caption, menu and
// frame heights.
POINT MinimumTrackSize(int captionHeight, int menuHeight, int frameHeight);

}  // namespace korval
