// The system's open, save and colour dialogs, with their library loaded when one is first opened:
// loaded with the program it (and the printing libraries it brings) cost the start some
// milliseconds under Wine, and only a person's command ever opens one of them.
#pragma once

#include <windows.h>

#include <commdlg.h>

namespace korval {

// As GetOpenFileNameW, GetSaveFileNameW and ChooseColorW; false also when the library is missing.
bool OpenFileDialog(OPENFILENAMEW* dialog);
bool SaveFileDialog(OPENFILENAMEW* dialog);
bool ColourDialog(CHOOSECOLORW* dialog);

}  // namespace korval
