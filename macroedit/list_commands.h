// The commands on the step list: adding a step from the mode panel, moving, deleting, selecting,
// and the tab-separated clipboard.
#pragma once

#include "macroedit/editor_state.h"
#include "macroedit/row_moves.h"

namespace korval {

// Marks the list as changed for the current slot and redraws it.
void ListChanged(EditorState& state);

void AddStepFromPanel(EditorState& state);
void MoveRows(EditorState& state, MoveDirection direction);
void DeleteRows(EditorState& state);
void DeleteAllRows(EditorState& state);
void SelectAll(EditorState& state);
void InvertSelection(EditorState& state);

// In an edit box the box's own cut, copy, paste and select-all; in the step list, rows.
void CutCommand(EditorState& state);
void CopyCommand(EditorState& state);
void PasteCommand(EditorState& state);
void SelectAllCommand(EditorState& state);

}  // namespace korval
