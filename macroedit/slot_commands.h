// The commands on whole macros: loading a slot (also "リセット", "<<" and ">>"), deleting its file,
// saving the list under a name, and merging replacements.
#pragma once

#include "macroedit/editor_state.h"

namespace korval {

// Shows the current slot's display text at the top.
void ShowSlotText(EditorState& state);

// Loads slot 1..25 after asking whether a changed list may be dropped; false when the person said
// no and nothing changed.
bool LoadSlotIntoList(EditorState& state, int slot);

void PreviousSlot(EditorState& state);
void NextSlot(EditorState& state);
void ReloadSlot(EditorState& state);
void DeleteMacroFile(EditorState& state);
void SaveListAs(EditorState& state);
void ReduceReplacementSteps(EditorState& state);

// The status bar's text.
void SetStatusText(EditorState& state, const std::wstring& text);

}  // namespace korval
