#include "filelist/csv_insert.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

RenameList Named(std::initializer_list<const wchar_t*> names) {
  RenameList list;
  for (const wchar_t* name : names) list.Append({name, L"", L"C:\\", L"", L"", L"", ItemStatus::None, false});
  return list;
}

std::wstring Names(const RenameList& list) {
  std::wstring out;
  for (const RenameItem& row : list.Rows()) out += row.oldName;
  return out;
}

struct InsertCase {
  std::optional<size_t> focused;
  size_t room;  // rows the list may hold
  const wchar_t* names;
  size_t inserted;
};

TEST(CsvInsert, RowsGoBeforeTheFocusedRowWithinTheRoomLeft) {
  const InsertCase cases[] = {
      {std::nullopt, 10, L"abcxy", 2}, {0, 10, L"abcxy", 2},         {1, 10, L"axybc", 2}, {2, 10, L"abxyc", 2},
      {3, 10, L"abcxy", 2},            {99, 10, L"abcxy", 2},         {1, 4, L"axbc", 1},   {1, 3, L"abc", 0},
  };
  for (const InsertCase& c : cases) {
    RenameList list = Named({L"a", L"b", L"c"});
    const RenameList read = Named({L"x", L"y"});
    const size_t inserted =
        InsertCsvRows(list, read.Rows(), c.focused, [&](size_t count) { return count < c.room; });
    EXPECT_EQ(inserted, c.inserted) << c.names;
    EXPECT_EQ(Names(list), c.names);
  }
}

TEST(CsvInsert, InsertedRowsStartUnselectedWithoutStatusOrColumns) {
  RenameList list;
  RenameItem row{L"a.txt", L".txt", L"C:\\", L"b", L"12", L"2000", ItemStatus::InvalidName, true};
  InsertCsvRows(list, {row}, std::nullopt, nullptr);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.Row(0).status, ItemStatus::None);
  EXPECT_FALSE(list.Row(0).selected);
  EXPECT_TRUE(list.Row(0).size.empty());
  EXPECT_TRUE(list.Row(0).date.empty());
  EXPECT_EQ(list.Row(0).newName, L"b");
}

}  // namespace
}  // namespace korval
