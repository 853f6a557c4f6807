// The small window that stands beside the main window while a macro is recorded: its "■ 終了"
// button ends the recording. It moves along when the main window moves.
#pragma once

#include <windows.h>

#include <functional>

namespace korval {

inline constexpr const wchar_t* kRecordingWindowClass = L"KorvalithRecording";

// Opens the window 450 pixels right of and 35 below the owner's top left corner; stop is called when
// the person presses "■ 終了" or closes the window.
HWND OpenRecordingWindow(HWND owner, std::function<void()> stop);
void CloseRecordingWindow(HWND window);
// The owner moved by (dx, dy).
void MoveRecordingWindow(HWND window, int dx, int dy);

}  // namespace korval
