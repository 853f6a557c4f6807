// The text editor dialog: the new names typed in the built-in two-pane editor (pages of 1,000
// rows) or in an external editor through the exchange file, put back into the list and previewed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "config/settings.h"
#include "engine/rename_list.h"

namespace korval {

inline constexpr const wchar_t* kEditorMissingFormat = L"エディタ \"%s\" が見つかりません。";
inline constexpr const wchar_t* kEditorMissingCaption2 = L"Editor File Not Found";
inline constexpr const wchar_t* kExchangeUnreadableText = L"\"%s\" を読み込めませんでした。ファイル名は変更していません。";
inline constexpr const wchar_t* kExchangeUnreadableCaption = L"Can't Open File!";

struct TextEditorData {
  RenameList* list = nullptr;
  Settings* settings = nullptr;   // `txteditor`, `editorpath`, `textedtext`
  int mode = 1;
  int firstMode = 0;              // 0 the built-in editor, 1..3 an external one (`txteditor` + 1)
  std::wstring exchangePath;      // "%sedit_ren.txt"
  std::function<void()> applied;  // the lines went into the list: preview them
};

void ShowTextEditorDialog(HWND owner, TextEditorData* io);

// Starts the external editor of `txteditor` on the exchange file; false (and said) when the chosen
// editor does not exist.
bool StartExternalEditor(HWND owner, const Settings& s, const std::wstring& path);

}  // namespace korval
