// The editor's main dialog inside its window: the slot, the step list, the buttons and the panel.
#pragma once

#include <windows.h>

#include "macroedit/editor_state.h"

namespace korval {

// Creates the dialog as a child of the editor's window and sets up its list and panel.
HWND CreateMainDialog(EditorState& state);

// A move to a monitor of another DPI: the dialog's controls, font, layout and columns scaled to it.
void RescaleMainDialog(EditorState& state, int dpi);

// Fits the dialog into the window's client area above the status bar.
void FitMainDialog(EditorState& state);

}  // namespace korval
