// Entering and leaving undo mode in the window.
#include "ui/undo_mode_view.h"

#include <commctrl.h>

#include "engine/list_filter.h"
#include "engine/undo.h"
#include "resources/resource.h"
#include "ui/list_view.h"
#include "ui/mode_selection.h"
#include "ui/status_bar.h"
#include "ui/toolbar.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

// A button's caption set only when it says something else: each set redraws the button (at every
// start, to the caption it already has).
void SetTextIfOther(HWND control, const wchar_t* text) {
  wchar_t shown[64] = L"";
  GetWindowTextW(control, shown, 64);
  if (lstrcmpW(shown, text) != 0) SetWindowTextW(control, text);
}

// Commands of the menu and the toolbar that cannot act on the rows of a change log.
constexpr int kDisabledCommands[] = {IDM_OPEN_FOLDER, IDM_OPEN_CSV,  IDM_SAVE_CSV,     IDM_SAVE_SELECTION,
                                     IDM_SAVE_ALL,    IDM_SAVE_LAST_LOG, IDM_MOVE_UP, IDM_MOVE_DOWN,
                                     IDM_MACRO_EDITOR, IDM_PREVIEW};
constexpr int kDisabledToolbarButtons[] = {IDM_OPEN_FOLDER, IDM_OPEN_CSV,  IDM_SAVE_CSV,     IDM_MOVE_UP,
                                           IDM_MOVE_DOWN,   IDM_ENTER,     IDM_RECORD_MACRO};

void FillSlotSelector(HWND selector, int slot) {
  if (!selector) return;
  if (SendMessageW(selector, CB_GETCOUNT, 0, 0) != 9) {
    SendMessageW(selector, CB_RESETCONTENT, 0, 0);
    for (int k = 1; k <= 9; ++k) SendMessageW(selector, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(k).c_str()));
  }
  SendMessageW(selector, CB_SETCURSEL, slot - 1, 0);
}

}  // namespace

void ShowUndoModeView(Workspace& work, Frame& frame) {
  const bool undo = work.UndoMode();
  HMENU menu = GetMenu(frame.main);
  CheckMenuItem(menu, IDM_UNDO_MODE, MF_BYCOMMAND | (undo ? MF_CHECKED : MF_UNCHECKED));
  for (int command : kDisabledCommands) EnableMenuItem(menu, command, MF_BYCOMMAND | (undo ? MF_GRAYED : MF_ENABLED));
  for (int command : kDisabledToolbarButtons) SetToolbarButtonEnabled(frame.toolbar, command, !undo);
  for (int id = IDC_MODE_BUTTON_FIRST; id <= IDC_MODE_BUTTON_LAST; ++id) EnableWindow(frame.Item(id), !undo);
  EnableWindow(frame.Item(IDC_MODE_TABS), !undo);
  EnableWindow(frame.Item(IDC_PREVIEW), !undo);
  ShowWindow(frame.Item(IDC_UNDO_SLOT), undo ? SW_SHOW : SW_HIDE);
  SetTextIfOther(frame.Item(IDC_UNDO), undo ? kLeaveUndoButtonText : kUndoButtonText);
  SetTextIfOther(frame.Item(IDC_EXECUTE), undo ? kUndoExecuteButtonText : kExecuteButtonText);
  SetFolderHeader(frame.list, undo ? kUndoFolderHeader : kColumnHeaders[2]);
  ShowSortArrows(frame.list, work.sort);
  SetListTextColour(frame.list, undo ? work.settings.listcolor2 : work.settings.listcolor1);
  ShowModePanel(work, frame, undo ? kUndoPanel : work.modeIndex % 12 + 1);
  ShowPreviewMark(work, frame);
  RefreshList(work, frame);
  ShowStatusHint(work, frame, kHintKeep);
}

void EnterUndoMode(Workspace& work, Frame& frame, int slot) {
  ClearSortArrows(work.sort);
  const UndoLoadResult loaded =
      LoadUndoList(work.list, work.programFolder, slot, ShowMessage);
  if (loaded == UndoLoadResult::CannotOpen) {
    ShowUndoModeView(work, frame);
    return;
  }
  ShowUndoModeView(work, frame);
  FillSlotSelector(frame.Item(IDC_UNDO_SLOT), slot);
  SetFocus(frame.Item(IDC_UNDO_SLOT));
}

void LeaveUndoMode(Workspace& work, Frame& frame, bool go) {
  const UndoOptions options{work.settings.chgconfirm, work.windows.ntFamily};
  if (go) work.listings.MarkAllStale();  // the undo renames: the previews that follow list anew
  RunUndo(work.list, go, options, SystemFileSystem(), ShowMessage, ProgressBarMover(frame));
  if (frame.progress) SendMessageW(frame.progress, PBM_SETPOS, 0, 0);
  work.run.previewed = false;
  work.run.enterExecutes = false;
  ShowUndoModeView(work, frame);
  SetPositionSample(work, frame);
}

}  // namespace korval
