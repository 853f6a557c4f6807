// The main window at its monitor's DPI: the pictures drawn for it, the tree's width, and the move to a
// monitor of another DPI, which scales every part of the window and re-makes its fonts and pictures.
#pragma once

#include <windows.h>

#include "config/settings.h"
#include "ui/workspace.h"

namespace korval {

inline constexpr int kSplitterHalfWidth = 3;  // at 96 DPI
inline constexpr int kDefaultTreeWidth = 180;  // at 96 DPI

// The splitter position for `treewidth`: a saved width as it was saved, the default scaled.
int TreeWidth(const Settings& settings, int dpi);

// Loads the list-target pictures and the preview mark for the frame's DPI and shows them, freeing
// the ones they replace; ShowListTarget then picks the target's picture.
void LoadFramePictures(Frame& frame);
void FreeFramePictures(Frame& frame);

// WM_DPICHANGED: the window takes the suggested rectangle, and every part is scaled to the new DPI.
void OnDpiChanged(Workspace& work, Frame& frame, int dpi, const RECT& suggested);

}  // namespace korval
