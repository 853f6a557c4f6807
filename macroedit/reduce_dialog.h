// The dialog "置換の数の削減": the largest number of parts a merged replacement may have.
#pragma once

#include <windows.h>

#include "macroedit/editor_state.h"

namespace korval {

// True on OK, with the chosen list index (parts - 2) in io.
bool ShowReduceDialog(HWND owner, ReduceData* io);

}  // namespace korval
