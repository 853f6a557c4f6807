// What both programs' top-level windows share: the class registration (with the common controls
// initialised) and the message loop.
#pragma once

#include <windows.h>

namespace korval {

bool RegisterTopLevelClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure, int iconResource,
                           int menuResource = 0);

// Runs until WM_QUIT; accelerators, when given, are translated for their window first.
int RunMessageLoop(HWND acceleratorWindow = nullptr, HACCEL accelerators = nullptr);

}  // namespace korval
