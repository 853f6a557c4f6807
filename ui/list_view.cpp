// The rename list's control: columns from the settings, texts drawn from the RenameList on demand.
#include "ui/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "config/column_order.h"
#include "platform/dpi.h"
#include "ui/list_appearance.h"

namespace korval {
namespace {

// Which of the six columns the settings show.
std::array<bool, 6> ShownColumns(const Settings& s) { return {true, true, true, true, s.listcols1 != 0, s.listcols2 != 0}; }

struct ColumnLayout {
  const wchar_t* title;
  int width;
  int format;
};

// The columns in list-view order: the four fixed ones, then size and date when they are switched on.
// Saved widths are pixels as they were saved; the widths of a first start are given at 96 DPI.
std::vector<ColumnLayout> ColumnsFor(const Settings& s, int dpi) {
  const bool unset = s.head4w == 179 || s.head1w + s.head2w + s.head3w + s.head4w == 0;
  std::array<int, 6> widths{s.head1w, s.head2w, s.head3w, s.head4w, s.head5w, s.head6w};
  if (unset) {
    widths = {192, 60, 170, 180, 98, 120};
    for (int& width : widths) width = ScaleToDpi(width, dpi);
  }
  std::vector<ColumnLayout> columns;
  for (int i = 0; i < 4; ++i) columns.push_back({kColumnHeaders[i], widths[i], LVCFMT_LEFT});
  if (s.listcols1) columns.push_back({kColumnHeaders[4], widths[4], LVCFMT_RIGHT});
  if (s.listcols2) columns.push_back({kDateHeaders[std::clamp(s.columndate, 0, 3)], widths[5], LVCFMT_LEFT});
  return columns;
}

}  // namespace

HWND CreateListControl(HWND parent, const Settings& settings) {
  HWND control = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                     LVS_EDITLABELS | LVS_OWNERDATA,
                                 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListControlId)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!control) return nullptr;
  ListView_SetExtendedListViewStyle(control, LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
  SetStatusIcons(control, WindowDpi(control));
  SetListColours(control, settings, false);
  ResetListColumns(control, settings);
  return control;
}

void SetStatusIcons(HWND control, int dpi) {
  // One icon per status code; the list destroys the icons it holds with itself.
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(control, GWLP_HINSTANCE));
  HIMAGELIST icons = LoadImageListForDpi(instance, IDB_STATUS_ICONS, dpi, RGB(255, 255, 255));
  if (!icons) return;
  if (HIMAGELIST old = ListView_SetImageList(control, icons, LVSIL_SMALL)) ImageList_Destroy(old);
}

void ResetListColumns(HWND control, const Settings& settings) {
  while (ListView_DeleteColumn(control, 0)) {
  }
  int index = 0;
  for (const ColumnLayout& layout : ColumnsFor(settings, WindowDpi(control))) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = layout.format;
    column.cx = layout.width;
    column.pszText = const_cast<wchar_t*>(layout.title);
    ListView_InsertColumn(control, index++, &column);
  }
  std::vector<int> order = ShownColumnOrder(settings.headcount, ShownColumns(settings));
  ListView_SetColumnOrderArray(control, static_cast<int>(order.size()), order.data());
  InvalidateRect(control, nullptr, TRUE);
}

bool AnswerListRequest(const NMHDR* header, const RenameList& list, const Settings& settings) {
  if (header->idFrom != kListControlId || header->code != LVN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
  LVITEMW& item = info->item;
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= list.Count()) return true;
  if (item.mask & LVIF_IMAGE) item.iImage = static_cast<int>(list.Status(static_cast<size_t>(item.iItem)));
  if (!(item.mask & LVIF_TEXT)) return true;
  const std::optional<Column> column = ColumnAt(item.iSubItem, settings.listcols1 != 0, settings.listcols2 != 0);
  if (!column || item.cchTextMax <= 0) return true;
  const std::wstring& text = list.Text(static_cast<size_t>(item.iItem), *column);
  const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
  std::copy_n(text.data(), length, item.pszText);
  item.pszText[length] = L'\0';
  return true;
}

bool TrackListSelection(const NMHDR* header, RenameList& list) {
  if (header->idFrom != kListControlId) return false;
  auto mark = [&list](int first, int last, bool selected) {
    const int count = static_cast<int>(list.Count());
    if (first < 0) first = 0, last = count - 1;
    for (int i = first; i <= last && i < count; ++i) list.Row(static_cast<size_t>(i)).selected = selected;
  };
  if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (!(change->uChanged & LVIF_STATE) || !((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) return true;
    mark(change->iItem, change->iItem, (change->uNewState & LVIS_SELECTED) != 0);
    return true;
  }
  if (header->code == LVN_ODSTATECHANGED) {
    const auto* change = reinterpret_cast<const NMLVODSTATECHANGE*>(header);
    if ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) {
      mark(change->iFrom, change->iTo, (change->uNewState & LVIS_SELECTED) != 0);
    }
    return true;
  }
  return false;
}

void ShowSortArrows(HWND control, const SortState& state) {
  HWND header = control ? ListView_GetHeader(control) : nullptr;
  if (!header) return;
  const int columns = Header_GetItemCount(header);
  for (int i = 0; i < columns; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, i, &item);
    const int before = item.fmt;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    const SortArrow arrow = HeaderArrow(state, i);
    if (arrow == SortArrow::Up) item.fmt |= HDF_SORTUP;
    if (arrow == SortArrow::Down) item.fmt |= HDF_SORTDOWN;
    // An item set again, even as it was, has the header laid out and the list told: not at each start.
    if (item.fmt != before) Header_SetItem(header, i, &item);
  }
}

void ShowListMenu(HWND control, HWND commandTarget, POINT at, bool anySelected) {
  HMENU menus = LoadMenuW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(control, GWLP_HINSTANCE)),
                          MAKEINTRESOURCEW(IDR_LIST_MENU));
  if (!menus) return;
  HMENU menu = GetSubMenu(menus, 0);
  EnableMenuItem(menu, IDM_DELETE_SELECTED, MF_BYCOMMAND | (anySelected ? MF_ENABLED : MF_GRAYED));
  // The chosen command goes to the main window as a menu command does.
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, commandTarget, nullptr);
  DestroyMenu(menus);
}

void RememberColumnWidths(HWND control, Settings& s) {
  if (!control) return;
  int* widths[] = {&s.head1w, &s.head2w, &s.head3w, &s.head4w, &s.head5w, &s.head6w};
  int column = 0;
  for (int i = 0; i < 6; ++i) {
    if ((i == 4 && !s.listcols1) || (i == 5 && !s.listcols2)) continue;
    const int width = ListView_GetColumnWidth(control, column++);
    if (width > 0) *widths[i] = width;
  }
  // The order the person dragged the headers into.
  std::vector<int> order(static_cast<size_t>(column));
  if (column > 0 && ListView_GetColumnOrderArray(control, column, order.data())) {
    s.headcount = HeadcountWithShownOrder(s.headcount, ShownColumns(s), order);
  }
}

void SetListTextColour(HWND control, int colour) {
  if (!control) return;
  ListView_SetTextColor(control, static_cast<COLORREF>(colour));
  InvalidateRect(control, nullptr, TRUE);
}

void SetFolderHeader(HWND control, const wchar_t* title) {
  if (!control) return;
  wchar_t shown[64] = L"";
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = shown;
  column.cchTextMax = 64;
  if (ListView_GetColumn(control, 2, &column) && lstrcmpW(shown, title) == 0) return;
  column.pszText = const_cast<wchar_t*>(title);
  ListView_SetColumn(control, 2, &column);
}

void RefreshListControl(HWND control, const RenameList& list) {
  if (!control) return;
  // Setting the count, even the same one, costs the control about 20 ms at 50,000 rows: a preview
  // keeps the rows and only has them drawn again.
  if (ListView_GetItemCount(control) != static_cast<int>(list.Count())) {
    ListView_SetItemCountEx(control, static_cast<int>(list.Count()), LVSICF_NOSCROLL);
  }
  InvalidateRect(control, nullptr, TRUE);
}

}  // namespace korval
