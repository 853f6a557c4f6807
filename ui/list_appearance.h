// How the rename list looks: its colours and its font, from the settings.
#pragma once

#include <windows.h>

#include <string>

#include "config/settings.h"

namespace korval {

// The settings' background, and the text colour of normal or undo mode.
void SetListColours(HWND control, const Settings& settings, bool undoMode);
// Shows the list in the face `listfont` (an empty face keeps the font). owned holds the font the
// list uses, deleted when it is replaced.
void SetListFont(HWND control, const std::wstring& face, HFONT& owned);

}  // namespace korval
