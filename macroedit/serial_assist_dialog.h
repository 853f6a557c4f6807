// The serial-number input dialog "連番入力支援": a serial template split into its fields and put
// back together.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

struct SerialAssistData {
  int mode = 3;           // the mode whose box is edited, for the title
  std::wstring serial;    // the template, in and out
};

bool ShowSerialAssistDialog(HWND owner, SerialAssistData* io);

}  // namespace korval
