// The file dialogs of the CSV commands and the chooser of Ctrl+S.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

struct CsvSaveDialogData {
  const wchar_t* title = L"";
  bool withFormat = false;  // the "書式" box below the dialog, preset to and read back into format
  int format = 0;           // `savecsvfmt`
  std::wstring path;        // the chosen file, on return
};

// The save dialog for "*.csv"; false when cancelled.
bool ShowCsvSaveDialog(HWND owner, CsvSaveDialogData* io);

// The open dialog "csvファイルを読み込む" for an existing "*.csv"; false when cancelled.
bool ShowCsvOpenDialog(HWND owner, std::wstring* path);

enum class SaveChoice { None, Selection, All, LastLog };

// The chooser with "リストの選択分", "リストの全て" and "直前の変更分".
SaveChoice ShowSaveChooser(HWND owner);

}  // namespace korval
