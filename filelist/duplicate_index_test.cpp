#include "filelist/duplicate_index.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

RenameList ListOf(std::initializer_list<std::pair<const wchar_t*, std::wstring>> rows) {
  RenameList list;
  for (const auto& [folder, name] : rows) {
    RenameItem item;
    item.folder = folder;
    item.oldName = name;
    list.Append(item);
  }
  return list;
}

TEST(DuplicateIndex, CaseInsensitiveFullPaths) {
  const RenameList list = ListOf({{L"C:\\a\\", L"x.txt"}, {L"C:\\a\\", L"Y.TXT"}, {L"C:\\b\\", L"x.txt"},
                                  {L"C:\\a\\", L"x.txt"}, {L"D:\\Ü\\", L"Ä.txt"}});
  DuplicateIndex index;
  ASSERT_TRUE(index.Build(list));
  const struct {
    const wchar_t* path;
    size_t count;
    long row;
  } cases[] = {
      {L"C:\\a\\x.txt", 5, 0},   {L"c:\\A\\X.TXT", 5, 0}, {L"C:\\a\\y.txt", 5, 1},
      {L"C:\\a\\y.txt", 1, -1},  // only the first `count` rows are compared
      {L"C:\\b\\x.txt", 3, 2},   {L"C:\\b\\x.txt", 2, -1}, {L"C:\\a\\x.tx", 5, -1},
      {L"C:\\a\\x.txt ", 5, -1}, {L"C:\\a", 5, -1},        {L"d:\\ü\\ä.TXT", 5, 4},
      {L"", 5, 0},               {L"", 0, 0},               // an empty path counts as a duplicate
      {L"C:\\a\\x.txt", 99, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.row, index.FindDuplicatePath(c.path, c.count)) << Utf8(c.path);
}

TEST(DuplicateIndex, LongPathsGetEmptySlotsAndMatchNothing) {
  // Paths as long as the system takes have their slots; longer ones (which no reading lists) do not.
  const std::wstring folder = L"C:\\" + std::wstring(kMaxLongPathChars - 9, L'f') + L"\\";
  const RenameList list = ListOf({{folder.c_str(), L"12345"}, {folder.c_str(), L"123456"}});
  DuplicateIndex index;
  ASSERT_TRUE(index.Build(list));
  EXPECT_EQ(0, index.FindDuplicatePath(folder + L"12345", 2));   // kMaxLongPathChars
  EXPECT_EQ(-1, index.FindDuplicatePath(folder + L"123456", 2)); // one more: empty slot
  EXPECT_EQ(-1, index.FindDuplicatePath(folder + std::wstring(400, L'z'), 2));
}

TEST(DuplicateIndex, ReleasedIndexFindsNothing) {
  const RenameList list = ListOf({{L"C:\\", L"a"}});
  DuplicateIndex index;
  ASSERT_TRUE(index.Build(list));
  EXPECT_EQ(1u, index.Slots());
  index.Release();
  EXPECT_EQ(-1, index.FindDuplicatePath(L"C:\\a", 1));
  ASSERT_TRUE(index.Build(RenameList{}));
  EXPECT_EQ(-1, index.FindDuplicatePath(L"C:\\a", 1));
}

TEST(DuplicateIndex, FiftyThousandRowsAnswerQuickly) {
  RenameList list;
  for (int i = 0; i < 50000; ++i) {
    RenameItem item;
    item.folder = L"C:\\photos\\";
    item.oldName = L"img" + std::to_wstring(i) + L".jpg";
    list.Append(item);
  }
  DuplicateIndex index;
  ASSERT_TRUE(index.Build(list));
  const DWORD start = GetTickCount();
  long found = 0;
  for (int i = 0; i < 50000; ++i) found += index.FindDuplicatePath(L"C:\\PHOTOS\\IMG" + std::to_wstring(i) + L".JPG", 50000) == i;
  EXPECT_EQ(50000, found);
  EXPECT_LT(GetTickCount() - start, 5000u);  // a linear scan would need billions of comparisons
}

}  // namespace
}  // namespace korval
