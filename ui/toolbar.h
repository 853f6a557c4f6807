// The toolbar of the main window: 21 positions (14 buttons with tooltips, 7 separators), images from
// bitmap 1101. The tree button shows pressed while the tree is visible.
#pragma once

#include <windows.h>

namespace korval {

struct ToolbarButton {
  int command;            // 0 for a separator
  const wchar_t* tooltip;
};

inline constexpr int kToolbarPositions = 21;
extern const ToolbarButton kToolbarButtons[kToolbarPositions];

inline constexpr int kToolbarHeight = 24;  // the main dialog moves down by this while it is shown

HWND CreateToolbar(HWND parent);
// The tooltip of a command, or null.
const wchar_t* ToolbarTooltip(int command);
void SetToolbarButtonEnabled(HWND toolbar, int command, bool enabled);
void SetToolbarButtonPressed(HWND toolbar, int command, bool pressed);

}  // namespace korval
