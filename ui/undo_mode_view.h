// Undo mode as the main window shows it: a change log loaded into the list, with the controls that
// cannot act on log rows disabled, the slot selector shown and the execute button running the undo.
#pragma once

#include "ui/workspace.h"

namespace korval {

inline constexpr const wchar_t* kUndoButtonText = L"変更UnDo";
inline constexpr const wchar_t* kLeaveUndoButtonText = L"UnDo中止";
inline constexpr const wchar_t* kExecuteButtonText = L"☆ 実行 ☆";
inline constexpr const wchar_t* kUndoExecuteButtonText = L"★ UnDo ★";

// Loads log slot (1..9) into the list and shows undo mode, unless the slot could not be read.
void EnterUndoMode(Workspace& work, Frame& frame, int slot);
// Runs the undo of every row (go) or only leaves undo mode; the window shows the normal mode again.
void LeaveUndoMode(Workspace& work, Frame& frame, bool go);
// The window's controls follow the list's undo flag.
void ShowUndoModeView(Workspace& work, Frame& frame);

}  // namespace korval
