// Choosing the change mode in the window: the two tabs of twelve buttons, the step commands, and
// what a new mode does to the list (new names emptied, the filter applied anew).
#pragma once

#include "ui/workspace.h"

namespace korval {

inline constexpr int kUndoPanel = 99;  // ShowModePanel's number for undo mode
inline constexpr const wchar_t* kModeTabTitles[2] = {L"ファイル・フォルダ名変更", L"　　属性変更・その他　　"};

// Fills the tab control and the buttons' labels of the current tab.
void InitModeTabs(Workspace& work, const Frame& frame);

// Only the mode button 1..12 shows pressed (0: none); the panel stays as it is.
void CheckModeButton(const Frame& frame, int button);

// Shows the panel of button 1..12 on the current tab (kUndoPanel: the undo-mode caption).
void ShowModePanel(Workspace& work, Frame& frame, int button);

// Makes mode index 0..23 the current one (the first mode for a slot without one) and shows its tab
// and that tab's button labels; the panel stays as it is.
void SetModeIndex(Workspace& work, const Frame& frame, int index);
// Selects mode index 0..23: the tab that holds it, its button, its panel.
void SelectModeIndex(Workspace& work, Frame& frame, int index);

// The next (+1) or previous (-1) labelled mode, cyclically over the 24 slots.
int SteppedModeIndex(int index, int step);

// "リスト全消去": the first box of the mode's panel is emptied when a person types into it.
void EmptyModeFirstBox(const Workspace& work, const Frame& frame);

// The deletion rule chosen enables the boxes it uses.
void EnableDeleteBoxes(const Frame& frame);

// The tab control switched: the same button position on the new tab.
void OnModeTabChanged(Workspace& work, Frame& frame);

}  // namespace korval
