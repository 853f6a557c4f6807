// Commands of the file and help menus: the folder dialog, closing, help, the about box, the macro
// editor and macro recording.
#include <windows.h>

#include <shellapi.h>

#include "engine/show_message.h"
#include "resources/resource.h"
#include "ui/about_dialog.h"
#include "ui/command_table.h"
#include "ui/folder_dialog.h"
#include "ui/macro_editor_launch.h"
#include "ui/recording.h"
#include "ui/window_actions.h"

namespace korval {

inline constexpr const wchar_t* kHelpMissingText = L"ヘルプHTMLファイルが見つかりません。";
inline constexpr const wchar_t* kHelpMissingCaption = L"No Help HTML File!";

void OnOpenFolder(CommandContext& c) {
  FolderDialogData data{c.work.settings.file_dir, c.work.lastFolder};
  if (!ShowFolderDialog(c.frame.main, &data)) return;
  c.work.lastFolder = data.folder;
  ReadIntoList(c.work, c.frame, [&](ListReader& reader) { return reader.ReadPathIntoList(data.folder, false, false); });
}

void OnExit(CommandContext& c) { PostMessageW(c.frame.main, WM_CLOSE, 0, 0); }

void OnHelp(CommandContext& c) {
  const std::wstring page = c.work.programFolder + L"help\\index.html";
  const bool exists = GetFileAttributesW(page.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (exists && reinterpret_cast<INT_PTR>(ShellExecuteW(c.frame.main, L"open", page.c_str(), nullptr, nullptr,
                                                        SW_SHOWNORMAL)) > 32) {
    return;
  }
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kHelpMissingCaption, kHelpMissingText,
              MessageClass::Error);
}

void OnAbout(CommandContext& c) {
  const AboutData data{c.work.settings.usejpname};
  ShowAboutDialog(c.frame.main, &data);
}

void OnMacroEditor(CommandContext& c) {
  // "リスト更新": the names the editor saved show in the slot list.
  if (OpenMacroEditor(c.work.recorder, c.work.panel.macrono, c.work.programFolder, c.work.macroEditorStarted,
                      c.work.macroSlots, c.frame.main) == EditorLaunch::ListReread) {
    ShowMacroSlots(c.work, c.frame);
  }
  if (HWND button = c.frame.Item(IDC_MACRO_EDIT)) {
    SetWindowTextW(button, c.work.macroEditorStarted ? kRefreshListButtonText : kEditButtonText);
  }
}

void OnRecordMacro(CommandContext& c) { ToggleRecordingFromWindow(c.work, c.frame); }

}  // namespace korval
