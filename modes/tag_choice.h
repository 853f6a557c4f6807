// The menu of tags that the "タグ" buttons open, in the renamer and in the macro editor: every tag with
// its label (and a file's value, where the caller has one), the chosen "<:Name>" written into the box
// at its caret.
#pragma once

#include <windows.h>

#include <string>

#include "metadata/tag_values.h"

namespace korval {

// One menu line: "タイトル  <:Title>" and, when the values hold the tag, its value behind a tab.
std::wstring TagMenuText(const TagDescriptor& tag, const TagValues& values);

// Shows the menu under the button; the chosen tag replaces what was selected in the box (a combo
// box or an edit), as typing would.
void ChooseTagIntoBox(HWND owner, HWND button, HWND box, const TagValues& values);

}  // namespace korval
