#include "filelist/csv_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct ExtensionCase {
  std::wstring path;
  bool ok;
  std::wstring result;
};

TEST(CsvFile, TheExtensionIsAppendedUnlessPresentOrTooLong) {
  const std::wstring long255 = L"C:\\" + std::wstring(kMaxLongPathChars - 3 - 4, L'a');  // room for ".csv"
  const ExtensionCase cases[] = {
      {L"C:\\a", true, L"C:\\a.csv"},
      {L"C:\\a.csv", true, L"C:\\a.csv"},
      {L"C:\\a.CSV", true, L"C:\\a.CSV"},
      {L"C:\\a.txt", true, L"C:\\a.txt.csv"},
      {L"", true, L".csv"},
      {long255, true, long255 + L".csv"},
      {long255 + L"b", false, long255 + L"b"},
  };
  for (const ExtensionCase& c : cases) {
    std::wstring path = c.path;
    EXPECT_EQ(EnsureExtension(path, L".csv"), c.ok) << c.path.size();
    EXPECT_EQ(path, c.result);
  }
}

TEST(CsvFile, AWrittenFileHoldsTheEscapedBytesAndReadsBack) {
  TempFolder folder;
  const std::wstring path = folder / L"list.csv";
  // A read-only file is replaced all the same.
  folder.WriteFile(L"list.csv", "old contents that are longer than the new ones");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(WriteCsvFile(path, L"\"\uD55C.txt\",\"b\",\"C:\\d\\\"\r\n"));
  EXPECT_EQ(folder.ReadFile(L"list.csv"), "\"\\ud55c.txt\",\"b\",\"C:\\d\\\"\r\n");
  const CsvFileText file = ReadCsvFile(path, 1);
  EXPECT_EQ(file.problem, CsvFileProblem::None);
  EXPECT_EQ(file.text, L"\"\uD55C.txt\",\"b\",\"C:\\d\\\"\r\n");
}

TEST(CsvFile, MissingOversizedAndBinaryFilesAreRefusedWhole) {
  TempFolder folder;
  const std::pair<std::string, CsvFileProblem> cases[] = {
      {std::string(1560, 'a'), CsvFileProblem::None},
      {std::string(1561, 'a'), CsvFileProblem::TooLarge},
      {std::string("\xFF\xFE\x41\x00", 4), CsvFileProblem::NotText},
  };
  for (const auto& [bytes, problem] : cases) {
    const CsvFileText file = ReadCsvFile(folder.WriteFile(L"f.csv", bytes), 1);
    EXPECT_EQ(file.problem, problem) << bytes.size();
  }
  EXPECT_EQ(ReadCsvFile(folder / L"missing.csv", 1).problem, CsvFileProblem::Unreadable);
  EXPECT_EQ(ReadCsvFile(folder.Path(), 1).problem, CsvFileProblem::Unreadable);
}

TEST(CsvFile, ALogIsCopiedByteForByteOverAReadOnlyFile) {
  TempFolder folder;
  const std::string log("\xFF\xFE\"\0C\0", 6);
  const std::wstring source = folder.WriteFile(L"rename1.log", log);
  const std::wstring target = folder.WriteFile(L"saved.csv", "x");
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(CopyFileReplacing(source, target));
  EXPECT_EQ(folder.ReadFile(L"saved.csv"), log);
  EXPECT_FALSE(CopyFileReplacing(folder / L"none.log", target));
}

}  // namespace
}  // namespace korval
