// The toolbar of the main window: 21 positions (14 buttons with tooltips, 7 separators), images from
// bitmap 1101, drawn at 16, 24 and 32 pixels and chosen by the window's DPI. The tree button shows
// pressed while the tree is visible.
#pragma once

#include <windows.h>

namespace korval {

struct ToolbarButton {
  int command;            // 0 for a separator
  const wchar_t* tooltip;
};

inline constexpr int kToolbarPositions = 21;
extern const ToolbarButton kToolbarButtons[kToolbarPositions];

// The toolbar's band at the top of the window, which the main dialog moves down by while the toolbar
// is shown (at 96 DPI).
inline constexpr int kToolbarHeight = 24;

HWND CreateToolbar(HWND parent, int dpi);
// Gives the toolbar its pictures at the DPI (a window moved to another monitor), or frees them (dpi 0,
// before the window goes).
void SetToolbarImages(HWND toolbar, int dpi);
// The tooltip of a command, or null.
const wchar_t* ToolbarTooltip(int command);
void SetToolbarButtonEnabled(HWND toolbar, int command, bool enabled);
void SetToolbarButtonPressed(HWND toolbar, int command, bool pressed);

}  // namespace korval
