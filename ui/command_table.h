// The commands of the main window's menu, keys, toolbar and buttons: one table of {id, guards,
// handler}, dispatched in one place.
#pragma once

#include <span>

#include "ui/workspace.h"

namespace korval {

// What must hold before a command acts. A command whose guard fails does nothing.
enum CommandGuard : unsigned {
  kNoGuard = 0,
  kNotInUndoMode = 1u << 0,
  kNotRecording = 1u << 1,
  kNotAutomatic = 1u << 2,
  kAskEditedNames = 1u << 3,  // the text-editor question (ConfirmDropEditedNames)
};

struct CommandContext {
  Workspace& work;
  Frame& frame;
  int id;
};

using CommandHandler = void (*)(CommandContext&);

struct CommandRow {
  int first, last;  // the ids the row handles (one, or a range such as the sort orders)
  unsigned guards;
  CommandHandler handler;
};

std::span<const CommandRow> CommandTable();

enum class Dispatch { Done, Ignored, Refused, Unknown };

// Runs the command's handler when its guards allow. Every command is ignored while a macro plays
// or the busy flag is set.
Dispatch DispatchCommand(Workspace& work, Frame& frame, int id);

inline constexpr const wchar_t* kDropEditedNamesText =
    L"テキストエディタで編集したファイル名がリセットされますが、\r\n継続してよろしいですか。";
inline constexpr const wchar_t* kDropEditedNamesCaption = L"Clear Edited File Name?";

// While names typed in the text editor stand in the list (and no macro plays), asks whether they
// may be dropped: false on No; Yes clears the flag.
bool ConfirmDropEditedNames(Workspace& work);

// The two buttons as a click on them acts: "☆ 実行 ☆" refuses in test mode, then executes (40027);
// "変更確認" previews (40018).
void PressExecuteButton(Workspace& work, Frame& frame);
void PressPreviewButton(Workspace& work, Frame& frame);

inline constexpr const wchar_t* kTestModeRefusalText = L"テストモードのため実行できません。";
inline constexpr const wchar_t* kTestModeRefusalCaption = L"cannot rename because of test mode";

// The list target (files or folders) as the menu check and the picture show it.
void ShowListTarget(const Workspace& work, const Frame& frame);

// The handlers, by concern (commands_*.cpp).
void OnOpenFolder(CommandContext& c);
void OnExit(CommandContext& c);
void OnHelp(CommandContext& c);
void OnAbout(CommandContext& c);
void OnMacroEditor(CommandContext& c);
void OnRecordMacro(CommandContext& c);

void OnEditCommand(CommandContext& c);  // cut, copy, paste
// Cut, copy and paste of rows as CSV text when the list has the focus; false when it has not.
bool ListClipboardCommand(CommandContext& c);
void OnSaveChooser(CommandContext& c);
void OnSaveSelection(CommandContext& c);
void OnSaveAll(CommandContext& c);
void OnSaveLastLog(CommandContext& c);
void OnOpenCsv(CommandContext& c);
void OnSelectAll(CommandContext& c);
void OnToggleSelection(CommandContext& c);
void OnMoveSelection(CommandContext& c);
void OnDeleteSelected(CommandContext& c);
void OnClearList(CommandContext& c);
void OnRefresh(CommandContext& c);
void OnSort(CommandContext& c);
void OnOpenItem(CommandContext& c);
void OnOpenParent(CommandContext& c);
void OnProperties(CommandContext& c);
void OnDirectRename(CommandContext& c);
void OnTextEditor(CommandContext& c);
void OnTagMenu(CommandContext& c);

// The end of an in-place edit of row's name: renamed on disk after the question, the sample and
// the list follow.
void FinishDirectRenameInWindow(Workspace& work, Frame& frame, size_t row, const std::wstring& edited);
void OnPage(CommandContext& c);
void OnSelectAllText(CommandContext& c);

void OnPreview(CommandContext& c);
void OnExecute(CommandContext& c);
void OnEnter(CommandContext& c);
void OnReset(CommandContext& c);
void OnEscape(CommandContext& c);
void OnStepMode(CommandContext& c);
void OnUndoMode(CommandContext& c);
void OnToggleTarget(CommandContext& c);

void OnToggleToolbar(CommandContext& c);
void OnToggleTree(CommandContext& c);
void OnToggleStatusBar(CommandContext& c);
void OnTopmost(CommandContext& c);
void OnLivePreviewSwitch(CommandContext& c);
void OnHistorySwitch(CommandContext& c);
void OnFocusStep(CommandContext& c);

void OnOptions(CommandContext& c);
void OnShellVerb(CommandContext& c);
void OnDeleteSettings(CommandContext& c);

}  // namespace korval
