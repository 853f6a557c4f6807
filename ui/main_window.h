// The main window of the renamer: class "Korvalith", its creation, and its window procedure.
#pragma once

#include <windows.h>

#include "ui/workspace.h"

namespace korval {

inline constexpr const wchar_t* kMainWindowClass = L"Korvalith";

// The test-mode title.
inline constexpr const wchar_t* kTestModeTitle =
    L"Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode.";

bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the main window from what the process knows; null when it could not be made or when a
// running instance took over (start->handedOver). Hidden (and never activated) during an automatic
// run without "/show".
HWND CreateMainWindow(HINSTANCE instance, WindowStart* start, bool hidden);

// The window's own size and position go back into the settings.
void RememberGeometry(const Frame& frame, Settings& s);

// The message loop with the main window's accelerators.
int RunMainLoop(HWND main);

}  // namespace korval
