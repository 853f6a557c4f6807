// The dialog of the very first start (template 186): the Windows version and its verdict, and the
// check box that turns the Japanese display name off.
#pragma once

#include <windows.h>

#include <string>

#include "platform/windows_version.h"

namespace korval {

struct FirstStartData {
  WindowsVersion windows;
  int usejpname = 1;  // in and out: OK stores "not checked"
};

// The text above the check box: "【 初回起動 】　　　　　[%s]:" and the verdict for that system.
std::wstring FirstStartVerdict(const WindowsVersion& windows);
// The line under the check box for the name the check state selects.
std::wstring FirstStartNameLine(bool japaneseNameOff);

// Returns true when closed with OK.
bool ShowFirstStartDialog(HWND owner, FirstStartData* io);

}  // namespace korval
