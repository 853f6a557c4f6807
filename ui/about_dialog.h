// The about box (template 136): the program's name and version and the legend of the status icons.
#pragma once

#include <windows.h>

namespace korval {

struct AboutData {
  int usejpname = 1;
};

void ShowAboutDialog(HWND owner, const AboutData* data);

}  // namespace korval
