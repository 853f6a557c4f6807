// The window's side of macros: the slot list, recording started and ended with its window and the
// naming dialog, and deleting a macro.
#pragma once

#include "ui/workspace.h"

namespace korval {

// The recorder's view of the workspace.
RecorderContext RecorderContextFor(Workspace& work);

// The slot list shows the macro list file's names again; the selection stays (or is the one given).
void ReloadMacroSlots(Workspace& work, const Frame& frame);
// The slot list shows the names the workspace holds, the chosen slot selected.
void ShowMacroSlots(const Workspace& work, const Frame& frame);

// The slot list and its buttons rest while a recording runs.
void EnableMacroSlotControls(const Frame& frame, bool enable);

// "● 記録開始" and the toolbar's record button: starts a recording, or ends the running one.
void ToggleRecordingFromWindow(Workspace& work, Frame& frame);
// Ends the running recording: asks for a name when a step was recorded, saves the macro onto its
// slot, and selects the macro mode with that slot.
void StopRecording(Workspace& work, Frame& frame);
// "削除": the selected slot's macro, after the question.
void DeleteSelectedMacro(Workspace& work, const Frame& frame);

}  // namespace korval
