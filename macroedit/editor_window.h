// The macro editor's window: class "Korvalith Macro Editor", titled "マクロエディタ".
#pragma once

#include <windows.h>

namespace korval {

inline constexpr const wchar_t* kEditorWindowClass = L"Korvalith Macro Editor";
inline constexpr const wchar_t* kEditorTitle = L"マクロエディタ";

bool RegisterEditorWindowClass(HINSTANCE instance);
HWND CreateEditorWindow(HINSTANCE instance);

}  // namespace korval
