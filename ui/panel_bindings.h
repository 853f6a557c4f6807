// The mode panel's controls bound to the PanelValues they hold: one table read and written by two
// loops, the drop-down lists each box offers, and the panel's values kept in the settings.
#pragma once

#include <windows.h>

#include "config/settings.h"
#include "modes/read_mode_params.h"
#include "ui/workspace.h"

namespace korval {

// Fills every drop-down list of the panel with its entries (once, at the end of the set-up).
void FillPanelLists(const Workspace& work, const Frame& frame);
// The boxes with an input history show it as their drop-down list.
void ShowInputHistories(const Workspace& work, const Frame& frame);

// Controls to values, and values to controls.
void ReadPanel(const Frame& frame, PanelValues& panel);
void WritePanel(Workspace& work, const Frame& frame);

// The panel's values from the settings at start, and back into the settings at close.
void PanelFromSettings(const Settings& s, PanelValues& panel);
void SettingsFromPanel(const PanelValues& panel, Settings& s);

// The boxes that hold numbers: their ranges, for typing, pasting and the mouse wheel.
struct NumberBox {
  int id;
  int low, high;
};
const NumberBox* NumberBoxOf(int id);
// Steps a number box by delta and keeps it in its range.
void StepNumberBox(HWND box, const NumberBox& range, int delta);

}  // namespace korval
