// The command table and its dispatcher.
#include "ui/command_table.h"

#include "engine/show_message.h"
#include "platform/com_apartment.h"
#include "resources/resource.h"

namespace korval {
namespace {

// An automatic run (the window shown with "/show" or "/test") opens no dialogs and switches neither
// the list target nor undo mode; the rest of the window stays usable once its run has ended.
constexpr unsigned kDialogGuards = kNotAutomatic;

constexpr CommandRow kCommands[] = {
    {IDM_OPEN_FOLDER, IDM_OPEN_FOLDER, kNotInUndoMode | kDialogGuards, OnOpenFolder},
    {IDM_EXIT, IDM_EXIT, kNoGuard, OnExit},
    {IDM_HELP, IDM_HELP, kNoGuard, OnHelp},
    {IDM_CUT, IDM_PASTE, kNoGuard, OnEditCommand},
    // The rows of a change log are not saved as a list (undo mode disables the commands).
    {IDM_SAVE_CSV, IDM_SAVE_CSV, kNotInUndoMode | kDialogGuards, OnSaveChooser},
    {IDM_SAVE_SELECTION, IDM_SAVE_SELECTION, kNotInUndoMode | kDialogGuards, OnSaveSelection},
    {IDM_SAVE_ALL, IDM_SAVE_ALL, kNotInUndoMode | kDialogGuards, OnSaveAll},
    {IDM_SAVE_LAST_LOG, IDM_SAVE_LAST_LOG, kNotInUndoMode | kDialogGuards, OnSaveLastLog},
    {IDM_OPEN_CSV, IDM_OPEN_CSV, kNotInUndoMode | kDialogGuards | kAskEditedNames, OnOpenCsv},
    {IDM_ABOUT, IDM_ABOUT, kDialogGuards, OnAbout},
    {IDM_FOCUS_NEXT, IDM_FOCUS_NEXT, kNoGuard, OnFocusStep},
    {IDM_FOCUS_PREVIOUS, IDM_FOCUS_PREVIOUS, kNoGuard, OnFocusStep},
    {IDM_PREVIEW, IDM_PREVIEW, kNotInUndoMode | kAskEditedNames, OnPreview},
    {IDM_ENTER, IDM_ENTER, kNoGuard, OnEnter},
    {IDM_SHIFT_ENTER, IDM_SHIFT_ENTER, kNoGuard, OnEnter},
    {IDM_MOVE_UP, IDM_MOVE_DOWN, kNotInUndoMode, OnMoveSelection},
    {IDM_TOGGLE_SELECTION, IDM_TOGGLE_SELECTION, kNoGuard, OnToggleSelection},
    {IDM_DELETE_SELECTED, IDM_DELETE_SELECTED, kNoGuard, OnDeleteSelected},
    {IDM_CLEAR_LIST, IDM_CLEAR_LIST, kNoGuard, OnClearList},
    {IDM_EXECUTE, IDM_EXECUTE, kNoGuard, OnExecute},
    {IDM_RESET, IDM_RESET, kNoGuard, OnReset},
    {IDM_SELECT_ALL, IDM_SELECT_ALL, kNoGuard, OnSelectAll},
    {IDM_REFRESH, IDM_REFRESH, kNotInUndoMode, OnRefresh},
    {IDM_UNDO_MODE, IDM_UNDO_MODE, kNotRecording | kNotAutomatic, OnUndoMode},
    {IDM_OPEN_ITEM, IDM_OPEN_ITEM, kNotInUndoMode, OnOpenItem},
    {IDM_PAGE_DOWN, IDM_PAGE_UP, kNoGuard, OnPage},
    {IDM_TOGGLE_TARGET, IDM_TOGGLE_TARGET, kNotRecording | kNotAutomatic, OnToggleTarget},
    {IDM_SELECT_ALL_TEXT, IDM_SELECT_ALL_TEXT, kNoGuard, OnSelectAllText},
    {IDM_OPEN_PARENT, IDM_OPEN_PARENT, kNotInUndoMode, OnOpenParent},
    {IDM_PREVIOUS_MODE, IDM_NEXT_MODE, kNotInUndoMode | kAskEditedNames, OnStepMode},
    {IDM_PROPERTIES, IDM_PROPERTIES, kNotInUndoMode, OnProperties},
    {IDM_DIRECT_RENAME, IDM_DIRECT_RENAME, kNotInUndoMode, OnDirectRename},
    {IDM_TEXT_EDITOR, IDM_TEXT_EDITOR, kNotAutomatic, OnTextEditor},
    {IDM_TAG_MENU, IDM_TAG_MENU, kNotInUndoMode | kNotAutomatic, OnTagMenu},
    {IDM_ESCAPE, IDM_ESCAPE, kNoGuard, OnEscape},
    {IDM_TOGGLE_TOOLBAR, IDM_TOGGLE_TOOLBAR, kNoGuard, OnToggleToolbar},
    {IDM_TOGGLE_STATUS_BAR, IDM_TOGGLE_STATUS_BAR, kNoGuard, OnToggleStatusBar},
    {IDM_TOGGLE_TREE, IDM_TOGGLE_TREE, kNoGuard, OnToggleTree},
    {IDM_TOPMOST, IDM_TOPMOST, kNoGuard, OnTopmost},
    {IDM_LIVE_PREVIEW, IDM_LIVE_PREVIEW, kNoGuard, OnLivePreviewSwitch},
    {IDM_MACRO_EDITOR, IDM_MACRO_EDITOR, kNotInUndoMode | kDialogGuards, OnMacroEditor},
    {IDM_RECORD_MACRO, IDM_RECORD_MACRO, kNotInUndoMode | kNotAutomatic | kAskEditedNames, OnRecordMacro},
    {IDM_HISTORY_FILTER, IDM_HISTORY_OTHER, kNoGuard, OnHistorySwitch},
    {IDM_SORT_FIRST, IDM_SORT_LAST, kNotInUndoMode, OnSort},
    {IDM_OPTIONS, IDM_OPTIONS, kDialogGuards, OnOptions},
    {IDM_SHELL_VERB, IDM_SHELL_VERB, kNoGuard, OnShellVerb},
    {IDM_DELETE_SETTINGS, IDM_DELETE_SETTINGS, kDialogGuards, OnDeleteSettings},
};

bool GuardsAllow(unsigned guards, Workspace& work) {
  if ((guards & kNotInUndoMode) && work.UndoMode()) return false;
  if ((guards & kNotRecording) && work.Recording()) return false;
  if ((guards & kNotAutomatic) && work.Automatic()) return false;
  if ((guards & kAskEditedNames) && !ConfirmDropEditedNames(work)) return false;
  return true;
}

}  // namespace

std::span<const CommandRow> CommandTable() { return kCommands; }

Dispatch DispatchCommand(Workspace& work, Frame& frame, int id) {
  for (const CommandRow& row : kCommands) {
    if (id < row.first || id > row.last) continue;
    if (work.Playing() || work.busy || work.run.passRunning) return Dispatch::Ignored;
    if (!GuardsAllow(row.guards, work)) return Dispatch::Refused;
    // Commands open the shell's dialogs and read shortcuts: COM is there even before the set-up ran.
    EnterComApartment();
    CommandContext context{work, frame, id};
    row.handler(context);
    return Dispatch::Done;
  }
  return Dispatch::Unknown;
}

bool ConfirmDropEditedNames(Workspace& work) {
  if (!work.run.editedInTextEditor || work.Playing()) return true;
  if (ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONQUESTION, kDropEditedNamesCaption,
                  kDropEditedNamesText, MessageClass::Question) != IDYES) {
    return false;
  }
  work.run.editedInTextEditor = false;
  return true;
}

}  // namespace korval
