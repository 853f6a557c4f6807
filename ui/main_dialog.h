// The main dialog (template 100), a child of the main window: the list area with the splitter on
// top, the buttons and mode tabs below it. Its buttons turn into the commands of the command table.
#pragma once

#include <windows.h>

#include "ui/workspace.h"

namespace korval {

// Creates the dialog as a child of the main window and remembers where its controls stand.
HWND CreateMainDialog(MainWindowState* state);

// Places the splitter over the list area and keeps the lower controls at their distance to the
// bottom (and, for the right-hand column, to the right) edge.
void LayoutMainDialog(const Frame& frame);

// Anchors a control made in the dialog after the dialog itself, from where it was made (in the
// dialog's units, at the size and DPI the dialog was made for), and places it as the layout does now.
void AnchorControl(Frame& frame, HWND control);

}  // namespace korval
