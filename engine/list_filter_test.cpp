#include "engine/list_filter.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

RenameList MakeList() {
  RenameList list;
  for (const wchar_t* name : {L"abc.txt", L"xABCx.jpg", L"photo abc.png", L"readme.TXT", L"写真.jpg"}) {
    list.Append({name, L"", L"C:\\d\\", L"", L"", L"", ItemStatus::Ready, false});
  }
  return list;
}

std::wstring Kept(const RenameList& list) {
  std::wstring kept;
  for (const RenameItem& item : list.Rows()) kept += item.status == ItemStatus::Filtered ? L'-' : L'+';
  return kept;
}

TEST(ListFilter, TokensWildcardsSubstringsAndNegation) {
  struct Case { const wchar_t* filter; const wchar_t* kept; };
  const Case cases[] = {
      {L"", L"+++++"},
      {L"abc", L"+-+--"},           // substring, case-sensitive
      {L"*.txt", L"+----"},         // wildcard over the whole name, case-sensitive
      {L"!*.txt", L"-++++"},
      {L"*.jpg *.png", L"-++-+"},
      {L"写真", L"----+"},
      {L"a?c.txt", L"+----"},
      {L"abc  zzz", L"+-+--"},      // an empty token matches nothing
      {L"!", L"-----"},             // negated empty filter: everything matches, so everything goes
      {L"zzz", L"-----"},
  };
  for (const Case& c : cases) {
    RenameList list = MakeList();
    ApplyFilter(list, FilterKind::Full, c.filter);
    EXPECT_EQ(std::wstring(c.kept), Kept(list)) << Utf8(c.filter);
  }
}

TEST(ListFilter, FullClearsStatusesAndChangedOnlyKeepsThem) {
  RenameList list = MakeList();
  EXPECT_TRUE(ApplyFilter(list, FilterKind::Full, L""));
  for (const RenameItem& item : list.Rows()) EXPECT_EQ(ItemStatus::None, item.status);
  EXPECT_FALSE(ApplyFilter(list, FilterKind::Full, L""));

  list = MakeList();
  list.Row(0).status = ItemStatus::Succeeded;
  list.Row(1).status = ItemStatus::Filtered;
  EXPECT_TRUE(ApplyFilter(list, FilterKind::ChangedOnly, L"*.jpg"));
  EXPECT_EQ(ItemStatus::Filtered, list.Status(0));  // enters
  EXPECT_EQ(ItemStatus::None, list.Status(1));      // leaves
  EXPECT_EQ(ItemStatus::Filtered, list.Status(2));
  EXPECT_EQ(ItemStatus::Ready, list.Status(4));     // stays in: keeps its status
}

TEST(ListFilter, OnlyTheSixteenFirstTokensCount) {
  RenameList list = MakeList();
  std::wstring filter;
  for (int i = 0; i < 16; ++i) filter += L"zz" + std::to_wstring(i) + L" ";
  ApplyFilter(list, FilterKind::Full, filter + L"abc");  // the 17th token
  EXPECT_EQ(L"-----", Kept(list));
  ApplyFilter(list, FilterKind::Full, filter.substr(0, filter.size() - 1));
  EXPECT_EQ(L"-----", Kept(list));
}

TEST(ListFilter, SelectionKeywordKeepsSelectedRowsAndSelectionOnlyNeedsIt) {
  RenameList list = MakeList();
  list.Row(1).selected = true;
  list.Row(4).selected = true;
  EXPECT_FALSE(ApplyFilter(list, FilterKind::SelectionOnly, L"abc"));
  EXPECT_EQ(ItemStatus::Ready, list.Status(0));
  EXPECT_TRUE(ApplyFilter(list, FilterKind::SelectionOnly, L"リスト選択"));
  EXPECT_EQ(L"-+--+", Kept(list));
  list.Row(0).selected = true;
  EXPECT_TRUE(ApplyFilter(list, FilterKind::SelectionOnly, L"リスト選択"));
  EXPECT_EQ(L"++--+", Kept(list));
  EXPECT_EQ(L"リスト選択", list.lastFilterText);
}

TEST(ListFilter, NothingHappensInUndoMode) {
  RenameList list = MakeList();
  list.undoMode = true;
  EXPECT_FALSE(ApplyFilter(list, FilterKind::Full, L"zzz"));
  EXPECT_EQ(L"+++++", Kept(list));
}

}  // namespace
}  // namespace korval
