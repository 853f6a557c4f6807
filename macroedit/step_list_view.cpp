// The virtual step list: the rows live in the editor's model, the list view only shows them.
#include "macroedit/step_list_view.h"

#include <algorithm>
#include <vector>

#include "config/column_order.h"
#include "macroedit/step_description.h"
#include "platform/dpi.h"

namespace korval {
namespace {

constexpr int kColumnCount = 3;

int EditorSettings::*const kColumnWidths[kColumnCount] = {&EditorSettings::head1w, &EditorSettings::head2w,
                                                          &EditorSettings::head3w};

}  // namespace

void SetupStepList(HWND list, const EditorSettings& settings) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  const wchar_t* titles[kColumnCount] = {L"モード", L"設定", L"設定2"};
  // Widths never changed are the defaults, given at 96 DPI; changed ones are pixels as they were saved.
  const EditorSettings fresh;
  bool defaults = true;
  for (auto width : kColumnWidths) defaults = defaults && settings.*width == fresh.*width;
  for (int column = 0; column < kColumnCount; ++column) {
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.pszText = const_cast<wchar_t*>(titles[column]);
    lvc.cx = settings.*kColumnWidths[column];
    if (defaults) lvc.cx = ScaleToDpi(lvc.cx, WindowDpi(list));
    lvc.iSubItem = column;
    ListView_InsertColumn(list, column, &lvc);
  }
  std::vector<int> order = ColumnOrderOf(settings.headcount, kColumnCount);
  ListView_SetColumnOrderArray(list, kColumnCount, order.data());
}

void RememberColumnWidths(HWND list, EditorSettings& settings) {
  for (int column = 0; column < kColumnCount; ++column) {
    const int width = ListView_GetColumnWidth(list, column);
    if (width > 0) settings.*kColumnWidths[column] = width;
  }
  int order[kColumnCount];
  constexpr bool kShown[kColumnCount] = {true, true, true};
  if (ListView_GetColumnOrderArray(list, kColumnCount, order)) {
    settings.headcount = HeadcountWithShownOrder(settings.headcount, kShown, order);
  }
}

void RefreshStepList(HWND list, size_t rowCount) {
  ListView_SetItemCountEx(list, static_cast<int>(rowCount), LVSICF_NOSCROLL);
  InvalidateRect(list, nullptr, FALSE);
}

void FillStepCell(const StepRows& rows, NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows.size()) return;
  const StepRow& row = rows[static_cast<size_t>(item.iItem)];
  const std::wstring* texts[kColumnCount] = {&row.mode, &row.setting, &row.setting2};
  if (item.iSubItem < 0 || item.iSubItem >= kColumnCount) return;
  const std::wstring& text = *texts[item.iSubItem];
  const size_t count = std::min<size_t>({text.size(), static_cast<size_t>(item.cchTextMax - 1), kStepColumnChars});
  text.copy(item.pszText, count);
  item.pszText[count] = L'\0';
}

std::vector<bool> SelectedRows(HWND list, size_t rowCount) {
  std::vector<bool> selected(rowCount, false);
  int index = -1;
  while ((index = ListView_GetNextItem(list, index, LVNI_SELECTED)) >= 0) {
    if (static_cast<size_t>(index) < rowCount) selected[static_cast<size_t>(index)] = true;
  }
  return selected;
}

void SelectRows(HWND list, const std::vector<bool>& selected) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (size_t i = 0; i < selected.size(); ++i) {
    if (selected[i]) ListView_SetItemState(list, static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
  }
}

void SelectAllRows(HWND list, bool select) { ListView_SetItemState(list, -1, select ? LVIS_SELECTED : 0, LVIS_SELECTED); }

int FocusedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_FOCUSED); }

void FocusOnlyRow(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row < 0) return;
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
}

}  // namespace korval
