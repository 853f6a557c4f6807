// The main window of the renamer: class "Korvalith", its creation, and its window procedure.
#pragma once

#include <windows.h>

namespace korval {

inline constexpr const wchar_t* kMainWindowClass = L"Korvalith";
inline constexpr int kIconResource = 105;

// Timer ids of the main window.
inline constexpr UINT_PTR kTimerFinishSetup = 1500;  // 35 ms after creation

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);

}  // namespace korval
