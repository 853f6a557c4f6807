// The status bar of the main window: the hint on the left, the "選択 %3d/ %3d" counter in the last
// 250 pixels. Texts are sent only when they changed, so that a read of thousands of rows can refresh
// the counter cheaply.
#pragma once

#include <windows.h>

#include <string>

#include "ui/workspace.h"

namespace korval {

// Hint codes.
inline constexpr int kHintKeep = -1;
inline constexpr int kHintIdle = -2;
inline constexpr int kHintSorting = 1;
inline constexpr int kHintDeleting = 2;
inline constexpr int kHintClearing = 3;
inline constexpr int kHintReading = 4;
inline constexpr int kHintSelectingAll = 25;
inline constexpr int kHintToggling = 26;
inline constexpr int kHintCounterOnly = 27;
inline constexpr int kHintModeBase = 4;  // code = mode number + 4
inline constexpr int kHintPassText = 100;  // what the last pass had to say (Workspace::passHint)
inline constexpr int kHintPathsNotTaken = 101;  // how many handed-over paths were not taken (Workspace::pathsNotTaken)
inline int ModeHint(int mode) { return mode + kHintModeBase; }

inline constexpr const wchar_t* kUndoHint = L"【UnDo】 変更したファイル名を元に戻します。";
inline constexpr const wchar_t* kTestModeBanner =
    L"■■■　テストモード　■■■　テストモード　■■■　テストモード　■■■　テストモード　■■■　テストモード　■■■";

// The hint text of a code (kHintIdle, 1..4, 25, 26, or a mode's code).
std::wstring HintText(int code, bool undoMode, bool testMode);
std::wstring CounterText(size_t selected, size_t total);

HWND CreateStatusBar(HWND parent, int dpi);
// Parts after a resize: the hint ends 250 pixels (at 96 DPI) before the right edge.
void LayoutStatusBar(HWND status, int dpi);
// Shows the hint of code (kHintKeep keeps it, kHintCounterOnly refreshes only the counter,
// kHintPassText the text of the last pass).
void ShowStatusHint(Workspace& work, const Frame& frame, int code);

}  // namespace korval
