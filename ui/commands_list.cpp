// Commands on the rows of the list: selection, moving, deleting, sorting, refreshing, and opening a
// row's file or folder in the shell.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "engine/direct_rename.h"
#include "engine/list_selection.h"
#include "engine/list_sort.h"
#include "filelist/list_texts.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/mode_selection.h"
#include "ui/list_view.h"
#include "ui/status_bar.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

// Shows a passing hint while work runs, and the previous one again afterwards.
class PassingHint {
 public:
  PassingHint(Workspace& work, const Frame& frame, int code) : work_(work), frame_(frame), previous_(work.hint) {
    ShowStatusHint(work, frame, code);
  }
  ~PassingHint() { ShowStatusHint(work_, frame_, previous_); }

 private:
  Workspace& work_;
  const Frame& frame_;
  int previous_;
};

void FocusRow(const Frame& frame, size_t row) {
  if (!frame.list) return;
  ListView_SetItemState(frame.list, static_cast<int>(row), LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_EnsureVisible(frame.list, static_cast<int>(row), FALSE);
}

// The row that has the focus and is selected, the one the shell commands act on.
const RenameItem* FocusedSelectedRow(const Workspace& work, const Frame& frame) {
  if (!frame.list) return nullptr;
  const int focused = ListView_GetNextItem(frame.list, -1, LVNI_FOCUSED);
  if (focused < 0 || static_cast<size_t>(focused) >= work.list.Count()) return nullptr;
  const RenameItem& row = work.list.Row(static_cast<size_t>(focused));
  return row.selected ? &row : nullptr;
}

bool IsEditBox(HWND window) {
  wchar_t name[16] = L"";
  return window && GetClassNameW(window, name, 16) && lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

void OnEditCommand(CommandContext& c) {
  // The list cuts, copies and pastes rows as CSV text; the boxes of the dialog their own text.
  if (ListClipboardCommand(c)) return;
  HWND focus = GetFocus();
  if (!IsEditBox(focus)) return;
  const UINT message = c.id == IDM_CUT ? WM_CUT : c.id == IDM_COPY ? WM_COPY : WM_PASTE;
  SendMessageW(focus, message, 0, 0);
}

void OnSelectAll(CommandContext& c) {
  PassingHint hint(c.work, c.frame, kHintSelectingAll);
  SelectAllRows(c.work.list);
  PushSelection(c.work, c.frame);
}

void OnToggleSelection(CommandContext& c) {
  PassingHint hint(c.work, c.frame, kHintToggling);
  ToggleSelection(c.work.list);
  PushSelection(c.work, c.frame);
}

void OnMoveSelection(CommandContext& c) {
  const MoveResult moved = MoveSelection(c.work.list, c.id == IDM_MOVE_UP);
  if (!moved.moved) return;
  MarkPreviewStale(c.work, c.frame);
  RefreshList(c.work, c.frame);
  PushSelection(c.work, c.frame);
  FocusRow(c.frame, moved.focusRow);
}

namespace {

// What an emptied list leaves behind goes with its rows, however the rows went.
void ForgetEmptiedList(CommandContext& c) {
  c.work.listings.Clear();
  SetPositionSample(c.work, c.frame);
  EmptyModeFirstBox(c.work, c.frame);
}

}  // namespace

void OnDeleteSelected(CommandContext& c) {
  PassingHint hint(c.work, c.frame, kHintDeleting);
  const DeleteResult deleted = DeleteSelectedRows(c.work.list);
  // Every row selected and deleted: the list is emptied as "リスト全消去" empties it.
  if (deleted.cleared) {
    ForgetEmptiedList(c);
  } else if (!c.work.UndoMode()) {
    SetPositionSample(c.work, c.frame);
  }
  RefreshList(c.work, c.frame);
  PushSelection(c.work, c.frame);
  if (c.frame.list) SetFocus(c.frame.list);
  if (!c.work.list.Empty()) FocusRow(c.frame, deleted.focusRow);
}

void OnClearList(CommandContext& c) {
  PassingHint hint(c.work, c.frame, kHintClearing);
  ClearList(c.work.list);
  ForgetEmptiedList(c);
  RefreshList(c.work, c.frame);
}

void OnRefresh(CommandContext& c) {
  const Settings& s = c.work.settings;
  for (RenameItem& row : c.work.list.Rows()) {
    const std::wstring path = row.SourcePath();
    if (s.listcols1 && s.file_dir == 0) row.size = FormatSizeText(path, s.sizeUnit).text;
    if (s.listcols2) FormatDateText(path, s.columndate, s.timezone, row.date);
  }
  RefreshList(c.work, c.frame);
}

void OnSort(CommandContext& c) {
  const int column = (c.id - IDM_SORT_FIRST) / 10, direction = c.id % 10;
  if (column >= kSortColumnCount || direction > kSortDescending) return;
  PassingHint hint(c.work, c.frame, kHintSorting);
  SortOptions options = SortOptionsFrom(c.work.settings);
  options.afterPreview = c.work.run.previewed;
  SortList(c.work.list, c.work.sort, column, direction, options);
  ShowSortArrows(c.frame.list, c.work.sort);
  RefreshList(c.work, c.frame);
  PushSelection(c.work, c.frame);
}

void OnOpenItem(CommandContext& c) {
  if (const RenameItem* row = FocusedSelectedRow(c.work, c.frame)) {
    ShellExecuteW(c.frame.main, nullptr, row->SourcePath().c_str(), nullptr, row->folder.c_str(), SW_SHOWNORMAL);
  }
}

void OnOpenParent(CommandContext& c) {
  if (const RenameItem* row = FocusedSelectedRow(c.work, c.frame)) {
    ShellExecuteW(c.frame.main, L"open", row->folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

void OnProperties(CommandContext& c) {
  const RenameItem* row = FocusedSelectedRow(c.work, c.frame);
  if (!row) return;
  const std::wstring path = row->SourcePath();
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = c.frame.main;
  info.lpVerb = L"properties";
  info.lpFile = path.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}

void OnDirectRename(CommandContext& c) {
  if (!c.frame.list || !FocusedSelectedRow(c.work, c.frame)) return;
  SetFocus(c.frame.list);
  ListView_EditLabel(c.frame.list, ListView_GetNextItem(c.frame.list, -1, LVNI_FOCUSED));
}

void FinishDirectRenameInWindow(Workspace& work, Frame& frame, size_t row, const std::wstring& edited) {
  const std::wstring logFolder = work.settings.writelog ? work.programFolder : L"";
  if (!FinishDirectRename(work.list, row, edited, SystemFileSystem(), work.panel.filterText, logFolder)) return;
  SetPositionSample(work, frame);
  RefreshList(work, frame);
}

void OnPage(CommandContext& c) {
  if (c.frame.list) SendMessageW(c.frame.list, WM_VSCROLL, c.id == IDM_PAGE_DOWN ? SB_PAGEDOWN : SB_PAGEUP, 0);
}

void OnSelectAllText(CommandContext& c) {
  HWND focus = GetFocus();
  if (focus && focus == c.frame.list) {
    OnSelectAll(c);
  } else if (IsEditBox(focus)) {
    SendMessageW(focus, EM_SETSEL, 0, -1);
  }
}

}  // namespace korval
