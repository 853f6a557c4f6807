// The folder dialog of "フォルダを開く": a browser of file-system folders that starts at the folder
// chosen last and says what will be added to the list.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

struct FolderDialogData {
  int fileDir = 0;          // 0: the folder's files are listed, 1: its subfolders
  std::wstring folder;      // in: where to start; out: the folder chosen
};

// "指定したフォルダ" + "以下のファイル" or "の直下のフォルダ" + "がリストに追加されます".
std::wstring FolderDialogPrompt(int fileDir);

// True when a folder was chosen.
bool ShowFolderDialog(HWND owner, FolderDialogData* io);

}  // namespace korval
