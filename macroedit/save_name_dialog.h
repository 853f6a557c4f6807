// The naming dialog of "名前を付けて保存": one of the 25 slots and the name it is saved under.
#pragma once

#include <windows.h>

#include "macroedit/save_macro.h"

namespace korval {

// Shown 420 pixels right of and 10 below the owner's top left corner. True on OK, with the chosen
// slot and the typed name in io.
bool ShowSaveNameDialog(HWND owner, SaveNameData* io);

}  // namespace korval
