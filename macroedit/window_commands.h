// The commands on the window and the panel: topmost, status bar, help, about, removing the
// settings, closing, switching modes, the position-edit sample and the serial input dialog.
#pragma once

#include "macroedit/editor_state.h"

namespace korval {

inline constexpr UINT_PTR kTimerSetUp = 1500;        // 35 ms after creation
inline constexpr UINT_PTR kTimerButtonsQuiet = 1501;  // ends the 100 ms after a button
inline constexpr UINT_PTR kTimerIdentityMap = 1502;   // 350 ms after the sample was fixed

void ToggleTopmost(EditorState& state);
void ApplyTopmost(EditorState& state);
void ToggleStatusBar(EditorState& state);
void ShowHelp(EditorState& state);
void ShowAbout(EditorState& state);
void RemoveSettingsAndClose(EditorState& state);

// Asks before a changed list is dropped; true when the window may close. Writes the settings and
// removes an empty list of names.
bool PrepareToClose(EditorState& state);

void SelectMode(EditorState& state, int mode);
void StepMode(EditorState& state, int step);

// "変更前セット" fixes the sample name and opens the box for the new form; "リセット" goes back.
void TogglePositionSample(EditorState& state);
// Shows the position-edit boxes that belong to the current state of the sample.
void ShowPositionBoxes(EditorState& state);
// The new form was edited: the map follows.
void PositionTextChanged(EditorState& state);

void OpenSerialAssist(EditorState& state);
// The tag menu of the mode shown (a macro has no file to show values of): the chosen tag goes in at
// the caret of the mode's box.
void OpenTagMenu(EditorState& state);

// The case conversion changed: its own exception words come into the box.
void CaseChanged(EditorState& state);

}  // namespace korval
