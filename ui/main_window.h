// The main window of the renamer: class "Korvalith", its creation, and its window procedure.
#pragma once

#include <windows.h>

namespace korval {

inline constexpr const wchar_t* kMainWindowClass = L"Korvalith";
inline constexpr int kIconResource = 105;

// Timer ids of the main window.
inline constexpr UINT_PTR kTimerFinishSetup = 1500;   // 35 ms after creation
inline constexpr UINT_PTR kTimerReadArguments = 1504; // 100 ms later: the command line's paths
inline constexpr UINT_PTR kTimerAutoRun = 1505;       // the automatic run itself
inline constexpr UINT_PTR kTimerExitWatchdog = 1506;  // closes an automatic run that is done or stuck

// The test-mode title.
inline constexpr const wchar_t* kTestModeTitle =
    L"Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode.";

bool RegisterMainWindowClass(HINSTANCE instance);
// Hidden (and never activated) during an automatic run without "/show".
HWND CreateMainWindow(HINSTANCE instance, bool hidden);

}  // namespace korval
