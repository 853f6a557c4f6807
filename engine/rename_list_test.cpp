#include "engine/rename_list.h"

#include <gtest/gtest.h>

#include "platform/path_limits.h"

namespace korval {
namespace {

TEST(RenameList, RowsAreAddressedByPositionAndTextsAreBounded) {
  RenameList list;
  list.Append({L"b.txt", L".txt", L"C:\\d\\", L"", L"", L"", ItemStatus::None, false});
  list.Insert(0, {L"a.txt", L".txt", L"C:\\d\\", L"", L"", L"", ItemStatus::None, false});
  list.Insert(99, {L"c", L"", L"C:\\d\\", L"", L"", L"", ItemStatus::None, false});
  ASSERT_EQ(3u, list.Count());
  EXPECT_EQ(L"a.txt", list.Text(0, Column::OldName));
  EXPECT_EQ(L"c", list.Text(2, Column::OldName));
  list.SetText(1, Column::NewName, std::wstring(kMaxLongPathChars + 1, L'x'));
  EXPECT_EQ(kMaxLongPathChars, list.Text(1, Column::NewName).size());
  EXPECT_EQ(L"C:\\d\\b.txt", list.Row(1).SourcePath());
  list.Erase(0);
  list.Erase(7);
  EXPECT_EQ(L"b.txt", list.Text(0, Column::OldName));
  EXPECT_EQ(2u, list.Count());
}

TEST(RenameList, ListViewColumnsFollowTheShownColumns) {
  EXPECT_EQ(Column::NewName, ColumnAt(3, true, true));
  EXPECT_EQ(Column::Size, ColumnAt(4, true, true));
  EXPECT_EQ(Column::Date, ColumnAt(5, true, true));
  EXPECT_EQ(Column::Date, ColumnAt(4, false, true));
  EXPECT_FALSE(ColumnAt(5, false, true).has_value());
  EXPECT_FALSE(ColumnAt(4, false, false).has_value());
  EXPECT_FALSE(ColumnAt(-1, true, true).has_value());
}

TEST(ItemStatus, LegendListsTwelveIconsInTheAboutBoxOrder) {
  const std::wstring legend = StatusLegendText();
  EXPECT_EQ(0u, legend.find(L"‥‥ 絶対パスを含めたファイル名の長さが256文字以上\r\n\r\n‥‥ 無効文字 / \" : < > * ? | あり または 文字数0"));
  EXPECT_NE(std::wstring::npos, legend.find(L"\r\n\r\n‥‥ \\  あり\r\n\r\n"));
  EXPECT_EQ(legend.size() - wcslen(L"‥‥ 変更したファイル名を元に戻す"), legend.rfind(L"‥‥ 変更したファイル名を元に戻す"));
  EXPECT_EQ(12u, std::size(kStatusLegend));
}

}  // namespace
}  // namespace korval
