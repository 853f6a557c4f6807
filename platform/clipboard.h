// The clipboard's Unicode text, placed and read whole, for both programs.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

// Empties the clipboard and places the text on it; false (nothing changed) when the memory or the
// clipboard cannot be had.
bool PutOnClipboard(HWND owner, const std::wstring& text);

// The clipboard's Unicode text up to its first zero; false when there is none or it cannot be read.
bool ReadClipboard(HWND owner, std::wstring& text);

}  // namespace korval
