// The folder browser.
#include "ui/folder_dialog.h"

#include <shlobj.h>

#include "ui/folder_tree.h"

namespace korval {
namespace {

int CALLBACK StartAtFolder(HWND browser, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

std::wstring FolderDialogPrompt(int fileDir) {
  return std::wstring(L"指定したフォルダ") + (fileDir ? L"の直下のフォルダ" : L"以下のファイル") + L"がリストに追加されます";
}

bool ShowFolderDialog(HWND owner, FolderDialogData* io) {
  const std::wstring prompt = FolderDialogPrompt(io->fileDir);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = prompt.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = StartAtFolder;
  info.lParam = io->folder.empty() ? 0 : reinterpret_cast<LPARAM>(io->folder.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return false;
  const std::wstring path = PathOf(chosen);
  CoTaskMemFree(chosen);
  if (!path.empty()) io->folder = path;
  return !path.empty();
}

}  // namespace korval
