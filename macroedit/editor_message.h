// How the editor speaks to the user: one routine over the message sink, owned by the editor's window.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

// The window the editor's message boxes belong to; set once when it is created.
void SetEditorMessageOwner(HWND owner);

// Shows text with caption in a box of style (MB_ buttons and icon); returns the pressed button.
int EditorMessage(const std::wstring& text, const wchar_t* caption, UINT style);

}  // namespace korval
