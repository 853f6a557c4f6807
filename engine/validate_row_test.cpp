#include "engine/validate_row.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "modes/change_mode.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// A folder with the source files and one existing file "taken.txt" and folder "TakenDir".
class ValidateRowTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.WriteFile(L"Abc.txt", "a");
    dir_.WriteFile(L"taken.txt", "t");
    dir_.WriteFile(L"\uFF21.txt", "full-width A");
    dir_.WriteFile(L"a@b.txt", "at");
    CreateDirectoryW((dir_ / L"TakenDir").c_str(), nullptr);
  }

  ItemStatus Validate(const std::wstring& oldName, const std::wstring& newName, int mode, PathExistence& existence) {
    RenameList list;
    list.Append({oldName, L"", dir_.Path(), newName, L"", L"", ItemStatus::None, false});
    const ItemStatus status = ValidateRow(list, 0, mode, true, existence);
    EXPECT_EQ(status, list.Status(0));
    return status;
  }

  TempFolder dir_;
};

struct Case {
  const wchar_t* oldName;
  const wchar_t* newName;
  int mode;
  ItemStatus status;
};

TEST_F(ValidateRowTest, StatusOfEveryRuleLiveAndFromTheSnapshot) {
  const Case cases[] = {
      {L"Abc.txt", L"new.txt", kModeExtension, ItemStatus::Ready},
      {L"Abc.txt", L"", kModeExtension, ItemStatus::InvalidName},
      {L"Abc.txt", L"a:b.txt", kModeExtension, ItemStatus::InvalidName},
      {L"Abc.txt", L"a\\b.txt", kModeExtension, ItemStatus::Backslash},
      {L"Abc.txt", L".hidden", kModeExtension, ItemStatus::UnsuitableChar},
      {L"Abc.txt", L".a:b", kModeExtension, ItemStatus::InvalidName},  // the character test wins
      {L"Abc.txt", L"a,b.txt", kModeExtension, ItemStatus::UnsuitableChar},
      {L"Abc.txt", L"a;b.txt", kModeExtension, ItemStatus::UnsuitableChar},
      {L"Abc.txt", L"a|b\\c", kModeExtension, ItemStatus::InvalidName},  // the first rule found decides
      {L"Abc.txt", L"a*b.txt", kModeExtension, ItemStatus::InvalidName},
      // Names the system refuses or changes: half a surrogate pair, devices, a trailing dot or space,
      // control characters.
      {L"Abc.txt", L"\xDE00" L"a.txt", kModeReplace, ItemStatus::InvalidName},
      {L"Abc.txt", L"a\xD83D" L".txt", kModeReplace, ItemStatus::InvalidName},
      {L"Abc.txt", L"\xD83D\xDE00" L"a.txt", kModeReplace, ItemStatus::Ready},
      {L"Abc.txt", L"con.txt", kModeReplace, ItemStatus::InvalidName},
      {L"Abc.txt", L"LPT9 .tar.gz", kModeReplace, ItemStatus::InvalidName},
      {L"Abc.txt", L"COM0.txt", kModeReplace, ItemStatus::Ready},
      {L"Abc.txt", L"console.txt", kModeReplace, ItemStatus::Ready},
      {L"Abc.txt", L"abc.", kModeReplace, ItemStatus::InvalidName},
      {L"Abc.txt", L"abc.txt ", kModeReplace, ItemStatus::InvalidName},
      {L"Abc.txt", L"a\tb.txt", kModeReplace, ItemStatus::InvalidName},
      {L"Abc.txt", L"Abc.txt", kModeExtension, ItemStatus::Unchanged},
      {L"Abc.txt", L"ABC.TXT", kModeExtension, ItemStatus::Unchanged},
      {L"Abc.txt", L"ABC.TXT", kModeLetterCase, ItemStatus::Ready},  // no existence test in this mode
      {L"Abc.txt", L"Abc.txt", kModeLetterCase, ItemStatus::Unchanged},
      {L"\uFF21.txt", L"\uFF41.txt", kModeAddText, ItemStatus::Unchanged},  // full-width letters fold
      {L"\uFF21.txt", L"\uFF41.txt", kModeLetterCase, ItemStatus::Ready},
      {L"\uFF21.txt", L"\uFF41.TXT", kModeAddText, ItemStatus::Unchanged},
      {L"a@b.txt", L"A@B.TXT", kModeReplace, ItemStatus::Unchanged},  // ASCII folds in every locale
      {L"a@b.txt", L"a`b.txt", kModeReplace, ItemStatus::Ready},      // "@" and "`" are no case pair
      {L"a@b.txt", L"a@b.txt\uFF41", kModeReplace, ItemStatus::Ready},
      {L"Abc.txt", L"TAKEN.TXT", kModeSerialNumber, ItemStatus::TargetExists},
      {L"Abc.txt", L"takendir", kModeSerialNumber, ItemStatus::TargetExists},  // folders count too
      {L"Abc.txt", L"taken.txt", kModeShortName, ItemStatus::Ready},
      {L"Abc.txt", L"taken.txt", kModeMacro, ItemStatus::TargetExists},
      {L"missing.txt", L"ok.txt", kModeExtension, ItemStatus::SourceMissing},
      {L"missing.txt", L"a:b", kModeExtension, ItemStatus::SourceMissing},  // overrides every result
      {L"Abc.txt", L"", kModeTimestamp, ItemStatus::InvalidName},
      {L"Abc.txt", L"<作成：2020/01/01 00:00:00>", kModeTimestamp, ItemStatus::Ready},  // characters not checked
      {L"Abc.txt", L"*", kModeAttribute, ItemStatus::InvalidName},
      {L"missing.txt", L"", kModeAttribute, ItemStatus::SourceMissing},
  };
  for (const Case& c : cases) {
    LiveExistence live;
    FolderSnapshot snapshot;
    EXPECT_EQ(c.status, Validate(c.oldName, c.newName, c.mode, live)) << Utf8(c.newName) << " mode " << c.mode;
    EXPECT_EQ(c.status, Validate(c.oldName, c.newName, c.mode, snapshot)) << Utf8(c.newName) << " mode " << c.mode;
  }
}

// Every path exists except those named; records the questions.
struct ScriptedExistence final : PathExistence {
  std::vector<std::wstring> missing, asked;
  bool Exists(const std::wstring& path) override {
    asked.push_back(path);
    return std::find(missing.begin(), missing.end(), path) == missing.end();
  }
  bool IsOwnShortName(const std::wstring&, const std::wstring&) override { return false; }
};

TEST(ValidateRow, TooLongStartsAt256CharactersWithTheFolder) {
  const std::wstring folder = L"C:\\" + std::wstring(236, L'f') + L"\\";
  ASSERT_EQ(240u, folder.size());
  RenameList list;
  list.Append({L"a.txt", L"", folder, std::wstring(16, L'n'), L"", L"", ItemStatus::None, false});
  list.Append({L"a.txt", L"", folder, std::wstring(15, L'n'), L"", L"", ItemStatus::None, false});
  list.Append({L"a.txt", L"", folder, std::wstring(16, L'n') + L":*", L"", L"", ItemStatus::None, false});
  ScriptedExistence existence;
  existence.missing = {folder + std::wstring(15, L'n')};
  EXPECT_EQ(ItemStatus::TooLong, ValidateRow(list, 0, kModeExtension, false, existence));
  EXPECT_EQ(ItemStatus::Ready, ValidateRow(list, 1, kModeExtension, false, existence));
  EXPECT_EQ(ItemStatus::InvalidName, ValidateRow(list, 2, kModeExtension, false, existence));  // "*" still counts
  EXPECT_EQ(ItemStatus::None, list.Status(0));  // store clear: nothing written
  // A too-long name is never looked up as a target.
  EXPECT_EQ(std::count(existence.asked.begin(), existence.asked.end(), folder + std::wstring(16, L'n')), 0);
}

TEST(ValidateRow, NoTargetLookupForUnchangedOrInvalidNames) {
  RenameList list;
  list.Append({L"a.txt", L"", L"C:\\d\\", L"A.TXT", L"", L"", ItemStatus::None, false});
  list.Append({L"a.txt", L"", L"C:\\d\\", L"b?.txt", L"", L"", ItemStatus::None, false});
  ScriptedExistence existence;
  EXPECT_EQ(ItemStatus::Unchanged, ValidateRow(list, 0, kModeReplace, true, existence));
  EXPECT_EQ(ItemStatus::InvalidName, ValidateRow(list, 1, kModeReplace, true, existence));
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\d\\a.txt", L"C:\\d\\a.txt"}), existence.asked);
}

TEST_F(ValidateRowTest, FilteredRowsStayFiltered) {
  LiveExistence live;
  RenameList list;
  list.Append({L"missing", L"", dir_.Path(), L"", L"", L"", ItemStatus::Filtered, false});
  EXPECT_EQ(ItemStatus::Filtered, ValidateRow(list, 0, kModeExtension, true, live));
  EXPECT_EQ(ItemStatus::Filtered, list.Status(0));
}

}  // namespace
}  // namespace korval
