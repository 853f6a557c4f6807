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

}  // namespace korval
