// Everything the editor's window keeps: the settings, the slots, the rows of the step list, the
// modified marker and the handles of its windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config/settings_store.h"
#include "macro/macro_list.h"
#include "macroedit/editor_settings.h"
#include "macroedit/save_macro.h"
#include "macroedit/step_row.h"
#include "modes/position_edit.h"

namespace korval {

// The largest number of "/"-separated parts a merge may build, chosen in the reduction dialog.
struct ReduceData {
  int maxmultirep = 6;  // list index 0..6 of the parts 2..8
};

struct EditorState {
  std::wstring programFolder;  // with its trailing backslash
  SettingsStore store{StoreKind::Ini, L"", L""};
  EditorSettings settings;
  bool settingsRemoved = false;

  MacroSlotNames names = UnregisteredSlots();
  int slot = 1;      // the current slot 1..25
  int modified = 0;  // 0, or the slot whose list was changed
  StepRows rows;

  PositionMapState position;
  bool sampleFixed = false;

  DWORD buttonsQuietUntil = 0;  // button clicks before this tick are ignored

  HWND window = nullptr, dialog = nullptr, list = nullptr, statusBar = nullptr;
  // The main dialog's controls where the template put them, and the dialog's size then: the list
  // grows with the dialog, the controls below it move down.
  std::vector<std::pair<HWND, RECT>> layout;
  SIZE layoutBase{};
  int dpi = 96;                  // the DPI of the window's monitor; the layout scales by it
  int baseDpi = 96;              // the DPI the dialog was made for: `layout` is in pixels at it
  HFONT templateFont = nullptr;  // the font the dialog template made, for `baseDpi`
  HFONT dialogFont = nullptr;    // that font re-made for `dpi` when it differs from `baseDpi`
  HACCEL accelerators = nullptr;

  // The dialogs the editor asks through; tests put their own answers here.
  AskSaveName askSaveName;
  std::function<bool(ReduceData&)> askReduce;
};

// The slot's display text "%02d：%s".
std::wstring SlotDisplayText(const EditorState& state, int slot);

}  // namespace korval
