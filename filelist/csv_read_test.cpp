#include "filelist/csv_read.h"

#include <gtest/gtest.h>

#include "engine/change_log.h"
#include "filelist/csv_write.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

struct LineCase {
  const wchar_t* line;
  bool refused;
  const wchar_t* oldName;  // null: the line gives no row
  const wchar_t* newName;
  const wchar_t* folder;
};

std::wstring Describe(const RenameItem& row) { return row.oldName + L"|" + row.newName + L"|" + row.folder; }

TEST(CsvRead, EachLineShapeGivesThisRow) {
  const LineCase cases[] = {
      // The three layouts, with either separator.
      {L"\"a.txt\",\"b.txt\",\"C:\\d\\\"", false, L"a.txt", L"b.txt", L"C:\\d\\"},
      {L"\"a.txt\"\t\"b.txt\"\t\"C:\\d\\\"", false, L"a.txt", L"b.txt", L"C:\\d\\"},
      {L"\"a.txt\",\"\",\"C:\\d\\\"", false, L"a.txt", L"", L"C:\\d\\"},
      {L"C:\\d\\a.txt", false, L"a.txt", L"", L"C:\\d\\"},
      {L"\"C:\\d\\a.txt\",\"b.txt\"", false, L"a.txt", L"b.txt", L"C:\\d\\"},
      {L"\"C:\\d\\a.txt\"\t\"b.txt\"", false, L"a.txt", L"b.txt", L"C:\\d\\"},
      // Hand-written: unquoted, a folder without its backslash, a folder as the second field.
      {L"a.txt,b.txt,C:\\d", false, L"a.txt", L"b.txt", L"C:\\d\\"},
      {L"a.txt,C:\\d\\", false, L"a.txt", L" ", L"C:\\d\\"},
      // An unquoted first field holds a comma when the next field is quoted.
      {L"a,b.txt,\"c.txt\",\"C:\\d\\\"", false, L"a,b.txt", L"c.txt", L"C:\\d\\"},
      // A full path as the new name, in the same folder.
      {L"C:\\d\\a.txt,C:\\d\\b.txt", false, L"a.txt", L"b.txt", L"C:\\d\\"},
      {L"C:\\d\\a.txt,C:\\e\\b.txt", true, nullptr, nullptr, nullptr},
      // A rename line of the change log.
      {L"\"C:\\d\\a.txt\",\"C:\\d\\b.txt\",\"<NORMAL>\"", false, L"a.txt", L"b.txt", L"C:\\d\\"},
      {L"\"C:\\d\\a.txt\",\"C:\\e\\b.txt\",\"<NORMAL>\"", true, nullptr, nullptr, nullptr},
      // A time-stamp notation as the new name.
      {L"\"a.txt\",\"<更新：2000/01/01 00:00:00>\",\"C:\\d\\\"", false, L"a.txt", L"<更新：2000/01/01 00:00:00>",
       L"C:\\d\\"},
      // Comments and blank lines give no row.
      {L"# 変更前,変更後,フォルダ名", false, nullptr, nullptr, nullptr},
      {L"", false, nullptr, nullptr, nullptr},
      {L"  \t ", false, nullptr, nullptr, nullptr},
      // Shapes that name nothing.
      {L"a.txt", true, nullptr, nullptr, nullptr},
      {L"a.txt,b.txt", true, nullptr, nullptr, nullptr},
      {L"C:\\d\\", true, nullptr, nullptr, nullptr},
      {L"\"a.txt\",\"b.txt\",\"c.txt\"", true, nullptr, nullptr, nullptr},
      {L",,", true, nullptr, nullptr, nullptr},
      // Folders that are not whole paths.
      {L"C:a.txt,b.txt", true, nullptr, nullptr, nullptr},
      {L"\\d\\a.txt,b.txt", true, nullptr, nullptr, nullptr},
      {L"\"a.txt\",\"b.txt\",\"d\\\"", true, nullptr, nullptr, nullptr},
      {L"\\\\server\\share\\a.txt,b.txt", false, L"a.txt", L"b.txt", L"\\\\server\\share\\"},
      // Paths refused wherever they are given.
      {L"\\\\?\\C:\\d\\a.txt,b.txt", true, nullptr, nullptr, nullptr},
      {L"\"a.txt\",\"b.txt\",\"C:\\d\xD800\\\"", true, nullptr, nullptr, nullptr},
  };
  for (const LineCase& c : cases) {
    const std::wstring text = c.line;
    size_t cursor = 0;
    std::optional<RenameItem> row;
    const CsvLineResult result = ParseCsvLine(text, cursor, row);
    EXPECT_EQ(result, c.refused ? CsvLineResult::Refused : CsvLineResult::LastLine) << c.line;
    EXPECT_EQ(cursor, text.size()) << c.line;
    if (c.oldName == nullptr) {
      EXPECT_FALSE(row.has_value()) << c.line;
      continue;
    }
    ASSERT_TRUE(row.has_value()) << c.line;
    EXPECT_EQ(Describe(*row), std::wstring(c.oldName) + L"|" + c.newName + L"|" + c.folder) << c.line;
  }
}

TEST(CsvRead, RenameLinesOfTheChangeLogAreRead) {
  const CsvImport import = ParseCsvText(FormatRenameLine(L"C:\\d\\a.txt", L"C:\\d\\b.txt"));
  ASSERT_EQ(import.rows.size(), 1u);
  EXPECT_EQ(Describe(import.rows[0]), L"a.txt|b.txt|C:\\d\\");
}

TEST(CsvRead, TheExtensionColumnComesFromTheOldName) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"\"a.b.JPG\",\"x\",\"C:\\d\\\"", L".JPG"}, {L"\"noext\",\"x\",\"C:\\d\\\"", L""}};
  for (const auto& [line, extension] : cases) {
    const CsvImport import = ParseCsvText(line);
    ASSERT_EQ(import.rows.size(), 1u) << line;
    EXPECT_EQ(import.rows[0].extension, extension) << line;
    EXPECT_EQ(import.rows[0].status, ItemStatus::None);
  }
}

struct LengthCase {
  size_t folderLength;  // characters of the folder, drive and backslashes included
  size_t nameLength;
  bool read;
};

// Paths as long as the system takes and names up to 255 characters are read; longer ones refused.
TEST(CsvRead, PathsUpToTheSystemsLimitAreReadAndLongerOnesRefused) {
  const size_t longest = kMaxLongPathChars;
  const LengthCase cases[] = {{9, 250, true},        {300, 200, true},         {5, 255, true},  {5, 256, false},
                              {longest - 255, 255, true}, {longest - 254, 255, false}, {255, 4, true}};
  for (const LengthCase& c : cases) {
    // Parts of up to 200 characters: a part over 255 is refused by itself.
    std::wstring folder = L"C:\\";
    while (folder.size() < c.folderLength) {
      folder += std::wstring(std::min<size_t>(200, c.folderLength - folder.size() - 1), L'f') + L"\\";
    }
    const std::wstring name = std::wstring(c.nameLength - 4, L'n') + L".txt";
    for (CsvLayout layout : {CsvLayout::Standard, CsvLayout::OldFullPath, CsvLayout::OldFullPathAndNew}) {
      RenameItem item{name, L".txt", folder, name, L"", L"", ItemStatus::None, false};
      const CsvImport import = ParseCsvText(CsvRowText(item, layout, L','));
      EXPECT_EQ(import.rows.size(), c.read ? 1u : 0u) << c.folderLength << " " << c.nameLength;
      EXPECT_EQ(import.refusedLine.has_value(), !c.read);
      if (c.read && !import.rows.empty()) {
        EXPECT_EQ(import.rows[0].SourcePath(), folder + name);
      }
    }
  }
}

TEST(CsvRead, LineEndsOfEitherKindAndCommentsAnywhere) {
  const wchar_t* texts[] = {
      L"\"a\",\"b\",\"C:\\d\\\"\r\n\"c\",\"e\",\"C:\\d\\\"\r\n",
      L"\"a\",\"b\",\"C:\\d\\\"\n\"c\",\"e\",\"C:\\d\\\"\n",
      L"\"a\",\"b\",\"C:\\d\\\"\n\"c\",\"e\",\"C:\\d\\\"\r\n",
      L"# x\r\n\"a\",\"b\",\"C:\\d\\\"\r\n\r\n#,\n\"c\",\"e\",\"C:\\d\\\"",
  };
  for (const wchar_t* text : texts) {
    const CsvImport import = ParseCsvText(text);
    EXPECT_FALSE(import.refusedLine.has_value()) << text;
    ASSERT_EQ(import.rows.size(), 2u) << text;
    EXPECT_EQ(Describe(import.rows[0]), L"a|b|C:\\d\\");
    EXPECT_EQ(Describe(import.rows[1]), L"c|e|C:\\d\\");
  }
}

TEST(CsvRead, ARefusedLineStopsTheImportAndKeepsTheRowsBefore) {
  const CsvImport import = ParseCsvText(L"\"a\",\"b\",\"C:\\d\\\"\r\nnonsense\r\n\"c\",\"e\",\"C:\\d\\\"\r\n");
  ASSERT_EQ(import.rows.size(), 1u);
  EXPECT_EQ(import.refusedLine, std::optional<size_t>(2));
}

TEST(CsvRead, EveryLayoutMakesTheRoundTripThroughTheFileBytes) {
  RenameList list;
  list.Append({L"caf\u00e9 \uD55C.txt", L".txt", L"C:\\\u00e9t\u00e9\\", L"\U0001F600.txt", L"", L"",
               ItemStatus::None, true});
  list.Append({L"写真.jpg", L".jpg", L"D:\\写真\\", L"", L"", L"", ItemStatus::None, false});
  const std::wstring longFolder = L"C:\\" + std::wstring(200, L'\u00e9') + L"\\";
  list.Append({std::wstring(51, L'\uD55C') + L".txt", L".txt", longFolder, L"b.txt", L"", L"", ItemStatus::None,
               false});
  ASSERT_EQ(list.Row(2).SourcePath().size(), 259u);
  for (CsvLayout layout : {CsvLayout::Standard, CsvLayout::OldFullPath, CsvLayout::OldFullPathAndNew}) {
    for (bool tab : {false, true}) {
      const std::string bytes = CsvFileBytes(BuildCsvText(list, CsvRows::All, {layout, tab, false}));
      const CsvFileText file = DecodeCsvFileBytes(bytes, CsvFileByteLimit(1000));
      ASSERT_EQ(file.problem, CsvFileProblem::None);
      const CsvImport import = ParseCsvText(file.text);
      EXPECT_FALSE(import.refusedLine.has_value());
      ASSERT_EQ(import.rows.size(), list.Count());
      for (size_t i = 0; i < list.Count(); ++i) {
        const RenameItem& row = list.Row(i);
        EXPECT_EQ(import.rows[i].SourcePath(), row.SourcePath());
        EXPECT_EQ(import.rows[i].extension, row.extension);
        // The old-full-path layout carries no new names.
        EXPECT_EQ(import.rows[i].newName, layout == CsvLayout::OldFullPath ? L"" : row.newName);
      }
    }
  }
}

TEST(CsvRead, EscapesAreDecodedOnlyInLowerCase) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"\"\\ud55c.txt\",\"b\",\"C:\\d\\\"", L"\"\uD55C.txt\",\"b\",\"C:\\d\\\""},
      {"\"\\uD55C.txt\",\"b\",\"C:\\d\\\"", L"\"\\uD55C.txt\",\"b\",\"C:\\d\\\""},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(DecodeCsvFileBytes(bytes, 1000).text, text) << bytes;
  const CsvImport import = ParseCsvText(DecodeCsvFileBytes(cases[0].first, 1000).text);
  ASSERT_EQ(import.rows.size(), 1u);
  EXPECT_EQ(import.rows[0].oldName, L"\uD55C.txt");
}

TEST(CsvRead, FilesOverTheLimitOrHoldingZeroBytesAreRefusedWhole) {
  const std::string text = "\"a\",\"b\",\"C:\\d\\\"\r\n";
  const std::pair<std::string, CsvFileProblem> cases[] = {
      {text, CsvFileProblem::None},
      {text + std::string(1560 - text.size(), 'x'), CsvFileProblem::None},
      {text + std::string(1561 - text.size(), 'x'), CsvFileProblem::TooLarge},
      {std::string("\xFF\xFE\"\0a\0", 6), CsvFileProblem::NotText},
      {text + std::string(1, '\0'), CsvFileProblem::NotText},
  };
  for (const auto& [bytes, problem] : cases) {
    const CsvFileText file = DecodeCsvFileBytes(bytes, CsvFileByteLimit(1));
    EXPECT_EQ(file.problem, problem) << bytes.size();
    if (problem != CsvFileProblem::None) {
      EXPECT_TRUE(file.text.empty());
    }
  }
}

}  // namespace
}  // namespace korval
