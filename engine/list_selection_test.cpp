#include "engine/list_selection.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

// Rows named "1", "2", ... ; a '*' in the pattern selects the row at that position.
RenameList MakeList(const std::wstring& pattern) {
  RenameList list;
  for (size_t i = 0; i < pattern.size(); ++i) {
    RenameItem item{std::to_wstring(i + 1), L"", L"C:\\d\\", L"new" + std::to_wstring(i + 1), L"", L""};
    item.selected = pattern[i] == L'*';
    item.status = static_cast<ItemStatus>(i % kStatusCount);
    list.Append(std::move(item));
  }
  return list;
}

// Names in row order, a selected row marked with "*".
std::wstring Order(const RenameList& list) {
  std::wstring order;
  for (const RenameItem& item : list.Rows()) {
    if (!order.empty()) order += L",";
    order += item.oldName + (item.selected ? L"*" : L"");
  }
  return order;
}

TEST(ListSelectionMove, RunsMoveOnePositionAndEdgesStay) {
  struct Case { const wchar_t* pattern; bool up; const wchar_t* order; bool moved; size_t focus; };
  const Case cases[] = {
      {L".**", true, L"2*,3*,1", true, 0},
      {L"*..", true, L"1*,2,3", false, 0},             // the first row cannot go up
      {L"**.*", true, L"1*,2*,4*,3", true, 0},         // a run at the top stays, the other moves
      {L".*.*.", true, L"2*,1,4*,3,5", true, 0},
      {L"..***.**", true, L"1,3*,4*,5*,2,7*,8*,6", true, 1},
      {L"**.", false, L"3,1*,2*", true, 2},
      {L"..*", false, L"1,2,3*", false, 2},            // the last row cannot go down
      {L"*.**", false, L"2,1*,3*,4*", true, 3},
      {L".*.*.", false, L"1,3,2*,5,4*", true, 4},
      {L"...", true, L"1,2,3", false, 0},
      {L"***", false, L"1*,2*,3*", false, 2},
      {L"*", true, L"1*", false, 0},
      {L"", false, L"", false, 0},
  };
  for (const Case& c : cases) {
    RenameList list = MakeList(c.pattern);
    const MoveResult result = MoveSelection(list, c.up);
    EXPECT_EQ(std::wstring(c.order), Order(list)) << Utf8(c.pattern) << " " << c.up;
    EXPECT_EQ(c.moved, result.moved) << Utf8(c.pattern);
    EXPECT_EQ(c.focus, result.focusRow) << Utf8(c.pattern);
  }
}

TEST(ListSelectionMove, MovedRowsKeepTheirTextsAndStatus) {
  RenameList list = MakeList(L"..**");
  list.Row(2).size = L"  12";
  MoveSelection(list, true);
  ASSERT_EQ(L"1,3*,4*,2", Order(list));
  EXPECT_EQ(L"new3", list.Row(1).newName);
  EXPECT_EQ(L"  12", list.Row(1).size);
  EXPECT_EQ(static_cast<ItemStatus>(2), list.Row(1).status);
  EXPECT_EQ(static_cast<ItemStatus>(1), list.Row(3).status);
  MoveSelection(list, false);
  EXPECT_EQ(L"1,2,3*,4*", Order(list));
}

TEST(ListSelectionDelete, SelectedRowsGoAndTheRowAtTheFirstGapIsFocused) {
  struct Case { const wchar_t* pattern; const wchar_t* order; size_t removed; bool cleared; size_t focus; };
  const Case cases[] = {
      {L".*.*.", L"1,3*,5", 2, false, 1},
      {L"*....", L"2*,3,4,5", 1, false, 0},
      {L"...**", L"1,2,3*", 2, false, 2},      // past the end: the last remaining row
      {L"***", L"", 3, true, 0},               // everything selected is a clear
      {L"", L"", 0, true, 0},
      {L"...", L"1*,2,3", 0, false, 0},        // nothing selected: nothing goes, row 0 is focused
  };
  for (const Case& c : cases) {
    RenameList list = MakeList(c.pattern);
    const DeleteResult result = DeleteSelectedRows(list);
    EXPECT_EQ(std::wstring(c.order), Order(list)) << Utf8(c.pattern);
    EXPECT_EQ(c.removed, result.removed) << Utf8(c.pattern);
    EXPECT_EQ(c.cleared, result.cleared) << Utf8(c.pattern);
    EXPECT_EQ(c.focus, result.focusRow) << Utf8(c.pattern);
  }
}

TEST(ListSelectionDelete, ManyRowsCompactInOrderWithTheirTexts) {
  std::wstring pattern;
  for (int i = 0; i < 1500; ++i) pattern += (i % 3 == 0 || (i > 700 && i < 1300)) ? L'*' : L'.';
  RenameList list = MakeList(pattern);
  const DeleteResult result = DeleteSelectedRows(list);
  size_t kept = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'*') continue;
    ASSERT_LT(kept, list.Count());
    EXPECT_EQ(std::to_wstring(i + 1), list.Row(kept).oldName);
    EXPECT_EQ(L"new" + std::to_wstring(i + 1), list.Row(kept).newName);
    EXPECT_EQ(static_cast<ItemStatus>(i % kStatusCount), list.Row(kept).status);
    ++kept;
  }
  EXPECT_EQ(kept, list.Count());
  EXPECT_EQ(pattern.size() - kept, result.removed);
  EXPECT_GE(result.removed, 500u);
  EXPECT_EQ(0u, result.focusRow);
  EXPECT_EQ(1u, SelectedCount(list));
}

TEST(ListSelectionAll, SelectAllToggleAndClear) {
  RenameList list = MakeList(L"*..*.");
  EXPECT_EQ(3u, ToggleSelection(list));
  EXPECT_EQ(L"1,2*,3*,4,5*", Order(list));
  EXPECT_EQ(5u, SelectAllRows(list));
  EXPECT_EQ(L"1*,2*,3*,4*,5*", Order(list));
  EXPECT_EQ(0u, ToggleSelection(list));
  ClearList(list);
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(0u, SelectAllRows(list));
  EXPECT_EQ(0u, ToggleSelection(list));
}

}  // namespace
}  // namespace korval
