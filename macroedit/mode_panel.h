// The editor's copy of the mode panel: the mode buttons and, for the selected mode, its controls,
// read into and written from PanelValues through one binding table.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "modes/read_mode_params.h"

namespace korval {

// Fills the drop-down lists.
void InitModePanel(HWND dialog);

// Presses the mode's button and shows only the controls of that mode.
void ShowPanelMode(HWND dialog, int mode);

// The mode whose button is pressed.
int PanelMode(HWND dialog);

// The mode step places before (-1) or after (+1) mode, skipping modes without a button, wrapping.
int AdjacentPanelMode(int mode, int step);

// Whether the mode has a button in the editor's panel.
bool HasPanelButton(int mode);

void WritePanel(HWND dialog, const PanelValues& panel);
void ReadPanel(HWND dialog, PanelValues& panel);

// The replacement boxes' drop-down lists, most recent first; their texts stay as they are.
void FillReplaceLists(HWND dialog, const std::vector<std::wstring>& from, const std::vector<std::wstring>& to);

// The mouse wheel over a number box: the number steps by one between 0 and the box's maximum.
// False when the control is not one of those boxes.
bool StepNumberBox(HWND dialog, int controlId, int wheelDelta);

}  // namespace korval
