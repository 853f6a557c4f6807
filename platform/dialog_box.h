// What the programs' modal dialogs share: running a template with its data pointer, and ending on
// OK or Cancel.
#pragma once

#include <windows.h>

namespace korval {

// Runs the dialog template of the program with data handed to WM_INITDIALOG; true when it ended
// with OK.
inline bool RunDialog(HWND owner, int templateId, DLGPROC procedure, void* data) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, procedure,
                         reinterpret_cast<LPARAM>(data)) == IDOK;
}

// OK first runs accept (which takes the dialog's values), then ends the dialog; Cancel just ends
// it. False for any other control.
template <typename Accept>
bool EndOnOkOrCancel(HWND dialog, int id, Accept accept) {
  if (id != IDOK && id != IDCANCEL) return false;
  if (id == IDOK) accept();
  EndDialog(dialog, id);
  return true;
}

}  // namespace korval
