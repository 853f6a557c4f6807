// The parts of the main window around the dialog: toolbar, status bar, splitter with folder tree
// and list; their layout and the display flags that show or hide them.
#pragma once

#include "ui/workspace.h"

namespace korval {

// Creates toolbar, status bar, dialog, splitter, list and (when shown) tree.
bool CreateFrameParts(MainWindowState* state);

// Lays out toolbar, dialog and status bar in the main window's client area.
void LayoutFrame(const Workspace& work, const Frame& frame);

// Shows or hides toolbar, status bar and tree by `dispcontrols`, with menu checks and the tree
// button; the splitter keeps `treewidth` for the tree.
void ApplyDisplayFlags(Workspace& work, Frame& frame);

void ApplyTopmost(const Workspace& work, const Frame& frame);

// Every check mark of the main menu from the settings and state.
void ShowMenuChecks(const Workspace& work, const Frame& frame);

// The tree's selection replaces the list with that folder's content.
void OnTreeFolderSelected(Workspace& work, Frame& frame, const std::wstring& path);

}  // namespace korval
