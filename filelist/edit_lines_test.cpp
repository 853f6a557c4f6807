// The rows as editor lines and back: panes, the exchange file's bytes, the notations.
#include "filelist/edit_lines.h"

#include <gtest/gtest.h>

#include "modes/change_mode.h"
#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

RenameList Rows(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> rows) {
  RenameList list;
  for (const auto& [oldName, newName] : rows) {
    const std::wstring name = oldName;
    const size_t dot = name.rfind(L'.');
    list.Append({name, dot == std::wstring::npos ? L"" : name.substr(dot), L"C:\\d\\", newName, L"", L"", ItemStatus::None, false});
  }
  return list;
}

TEST(EditLines, PanesShowOldOrNewNamesWithOrWithoutExtension) {
  const RenameList list = Rows({{L"photo.JPG", L""}, {L"a.txt", L"b.txt"}, {L"noext", L"<作成：x>"}});
  EXPECT_EQ(L"photo.JPG\r\na.txt\r\nnoext\r\n", EditLines(list, 0, 99, false, {kModeReplace, true}));
  EXPECT_EQ(L"photo.JPG\r\nb.txt\r\nnoext\r\n", EditLines(list, 0, 2, true, {kModeReplace, true}));
  EXPECT_EQ(L"photo\r\nb\r\nnoext\r\n", EditLines(list, 0, 2, true, {kModeReplace, false}));
  EXPECT_EQ(L"b.txt\r\n", EditLines(list, 1, 1, true, {kModeReplace, true}));
  // In the notation modes the pane holds the descriptions as they are, empty ones too.
  EXPECT_EQ(L"\r\nb.txt\r\n<作成：x>\r\n", EditLines(list, 0, 2, true, {kModeTimestamp, false}));
}

TEST(EditLines, LinesBecomeNewNamesInOrder) {
  RenameList list = Rows({{L"photo.JPG", L""}, {L"a.txt", L""}, {L"b.txt", L""}});
  ApplyEditLines(list, 0, 2, L"picture\r\nx\n", {kModeReplace, false});
  EXPECT_EQ(L"picture.JPG", list.Row(0).newName);  // the extension follows when it is not edited
  EXPECT_EQ(L"x.txt", list.Row(1).newName);
  EXPECT_EQ(L"", list.Row(2).newName);              // fewer lines than rows: the rest are empty
  ApplyEditLines(list, 1, 2, L"one.txt\r\ntwo.txt\r\nsurplus\r\n", {kModeReplace, true});
  EXPECT_EQ(L"picture.JPG", list.Row(0).newName);   // outside the page
  EXPECT_EQ(L"one.txt", list.Row(1).newName);
  EXPECT_EQ(L"two.txt", list.Row(2).newName);
  // A line too long for a name stays whole (the name is refused for its length), extension and all.
  ApplyEditLines(list, 0, 0, std::wstring(400, L'n') + L"\r\n", {kModeReplace, true});
  EXPECT_EQ(400u, list.Row(0).newName.size());
  ApplyEditLines(list, 0, 0, std::wstring(253, L'n') + L"\r\n", {kModeReplace, false});
  EXPECT_EQ(std::wstring(253, L'n') + L".JPG", list.Row(0).newName);
}

TEST(EditLines, NotationLinesAreCheckedWhole) {
  struct Case {
    int mode;
    const wchar_t* line;
    bool kept;
  } cases[] = {
      {kModeTimestamp, L"<更新：2019/06/01 12:00:00>", true},
      {kModeTimestamp, L"<更新：2019/02/30 12:00:00>", true},  // days are checked against 1..31 only
      {kModeTimestamp, L"<両方：2999/12/31 23:59:59>", true},
      {kModeTimestamp, L"<更新：2019/13/01 12:00:00>", false},
      {kModeTimestamp, L"<更新：0999/01/01 12:00:00>", false},
      {kModeTimestamp, L"<変更：2019/06/01 12:00:00>", false},
      {kModeTimestamp, L"<更新：2019/06/01 24:00:00>", false},
      {kModeTimestamp, L"<更新：2019/06/01 12:00:00> ", false},
      {kModeTimestamp, L"<更新:2019/06/01 12:00:00>", false},
      {kModeAttribute, L"<読：Y, 隠：N, ア：-, シ：->", true},
      {kModeAttribute, L"<読：y, 隠：N, ア：-, シ：->", false},
      {kModeAttribute, L"<読：Y, 隠：N, ア：-, シ：-", false},
      {kModeReplace, L"anything <at all>", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.kept ? std::wstring(c.line) : std::wstring(), CheckNotationLine(c.mode, c.line)) << c.mode;
  }
}

TEST(EditLines, TheExchangeFileCarriesEscapesAndComesBackUnchanged) {
  TempFolder folder;
  const std::wstring path = folder / L"edit_ren.txt";
  const std::wstring lines = L"写真.jpg\r\n\u00e9t\u00e9.txt\r\n";
  ASSERT_TRUE(WriteExchangeFile(path, lines, 2));
  // Shift_JIS for 写真, the escapes for é, no byte order mark.
  EXPECT_EQ(std::string("\x8e\xca\x90\x5e.jpg\r\n\\u00e9t\\u00e9.txt\r\n"), folder.ReadFile(L"edit_ren.txt"));
  std::wstring text;
  ASSERT_TRUE(ReadExchangeFile(path, 2, text));
  EXPECT_EQ(lines, text);
  RenameList list = Rows({{L"a.jpg", L""}, {L"b.txt", L""}, {L"c.txt", L"old"}});
  ASSERT_TRUE(ReadExchangeFile(path, 3, text));
  ApplyEditLines(list, 0, 2, text, {kModeReplace, true});
  EXPECT_EQ(L"写真.jpg", list.Row(0).newName);
  EXPECT_EQ(L"\u00e9t\u00e9.txt", list.Row(1).newName);
  EXPECT_EQ(L"", list.Row(2).newName);
  EXPECT_FALSE(ReadExchangeFile(folder / L"missing.txt", 2, text));
}

// Whatever an editor leaves in the file (cut, far too long, binary, random), the rows keep their
// count and every new name stays within a path's room.
TEST(EditLines, AnyExchangeFileGivesBoundedNames) {
  TempFolder folder;
  unsigned seed = 12345;
  auto random = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0xFF; };
  for (int round = 0; round < 200; ++round) {
    std::string bytes(static_cast<size_t>(random()) * (round % 7 + 1) * 3, '\0');
    for (char& b : bytes) b = static_cast<char>(round % 3 == 0 ? "ab\r\n\\u00"[random() % 9] : random());
    folder.WriteFile(L"edit_ren.txt", bytes);
    RenameList list = Rows({{L"a.jpg", L""}, {L"b.txt", L""}});
    std::wstring text;
    ASSERT_TRUE(ReadExchangeFile(folder / L"edit_ren.txt", 2, text));
    ApplyEditLines(list, 0, 1, text, {round % 2 ? kModeReplace : kModeTimestamp, round % 4 < 2});
    ASSERT_EQ(2u, list.Count());
    for (const RenameItem& row : list.Rows()) EXPECT_LE(row.newName.size(), kMaxBuiltPath);
  }
}

}  // namespace
}  // namespace korval
