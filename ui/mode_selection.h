// Choosing the change mode in the window: the two tabs of twelve buttons, the step commands, and
// what a new mode does to the list (new names emptied, the filter applied anew).
#pragma once

#include "ui/workspace.h"

namespace korval {

inline constexpr int kUndoPanel = 99;  // ShowModePanel's number for undo mode
inline constexpr const wchar_t* kModeTabTitles[2] = {L"ファイル・フォルダ名変更", L"　　属性変更・その他　　"};

// Fills the tab control and the buttons' labels of the current tab.
void InitModeTabs(Workspace& work, const Frame& frame);

// Shows the panel of button 1..12 on the current tab (kUndoPanel: the undo-mode caption).
void ShowModePanel(Workspace& work, const Frame& frame, int button);

// Selects mode index 0..23: the tab that holds it, its button, its panel.
void SelectModeIndex(Workspace& work, const Frame& frame, int index);

// The next (+1) or previous (-1) labelled mode, cyclically over the 24 slots.
int SteppedModeIndex(int index, int step);

// The deletion rule chosen enables the boxes it uses.
void EnableDeleteBoxes(const Frame& frame);

// The tab control switched: the same button position on the new tab.
void OnModeTabChanged(Workspace& work, const Frame& frame);

}  // namespace korval
