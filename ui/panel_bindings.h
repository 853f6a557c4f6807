// The mode panel's controls bound to the PanelValues they hold: one table read and written by two
// loops, the drop-down lists each box offers, and the panel's values kept in the settings.
#pragma once

#include <windows.h>

#include <span>

#include "config/settings.h"
#include "modes/read_mode_params.h"
#include "ui/workspace.h"

namespace korval {

// Fills the drop-down lists of the panel with their entries and sets the boxes' limits (at the end of
// the set-up, and for controls made later): those of ids, or every control made when ids is empty.
void FillPanelLists(const Workspace& work, const Frame& frame, std::span<const int> ids = {});
// The boxes with an input history show it as their drop-down list.
void ShowInputHistories(const Workspace& work, const Frame& frame);

// Controls to values, and values to controls (those of ids, or all when ids is empty). A control not
// made yet keeps its value in the panel.
void ReadPanel(const Frame& frame, PanelValues& panel);
void WritePanel(Workspace& work, const Frame& frame, std::span<const int> ids = {});

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
