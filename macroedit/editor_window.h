// The macro editor's window: class "Korvalith Macro Editor", titled "マクロエディタ".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace korval {

inline constexpr const wchar_t* kEditorWindowClass = L"Korvalith Macro Editor";
inline constexpr const wchar_t* kEditorTitle = L"マクロエディタ";

struct EditorState;

// Where the editor keeps its files and what its command line asked for.
struct EditorStart {
  std::wstring programFolder;  // with its trailing backslash
  std::vector<std::wstring> arguments;
};

bool RegisterEditorWindowClass(HINSTANCE instance);
HWND CreateEditorWindow(HINSTANCE instance, const EditorStart& start);

// The state of an editor window, for the message loop and for tests.
EditorState* EditorStateOf(HWND window);

// Runs the editor's messages until it closes: its keys first, then the main dialog's navigation.
int RunEditorMessageLoop(HWND window);

}  // namespace korval
