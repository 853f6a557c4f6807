// The naming dialog at the end of a macro recording: the 25 slot texts in an editable drop-down
// list with the recording's start slot chosen; the person picks a slot and keeps or types a name.
#pragma once

#include <windows.h>

#include <string>

#include "macro/macro_list.h"

namespace korval {

struct MacroNameData {
  const MacroSlotNames* slots = nullptr;
  int slot = 0;       // in: the start slot; out: the slot chosen
  std::wstring name;  // out: the name typed or shown (at most 256 characters)
};

// True when closed with OK.
bool ShowMacroNameDialog(HWND owner, MacroNameData* io);

}  // namespace korval
