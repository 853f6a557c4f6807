// The assist dialog of the serial template ("連番入力支援"): prefix, start, suffix and step in fields
// of their own, put together into a template on OK.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

struct SerialAssistData {
  int mode = 3;           // for the title "[%s] 入力支援"
  std::wstring templateText;  // in: the template to split; out: the rebuilt one
};

// True when closed with OK.
bool ShowSerialAssistDialog(HWND owner, SerialAssistData* io);

}  // namespace korval
