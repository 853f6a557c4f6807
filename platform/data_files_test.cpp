#include "platform/data_files.h"

#include <windows.h>

#include "platform/format_text.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(DataFiles, NamesFollowTheTable) {
  const std::wstring folder = L"C:\\Tools\\";
  EXPECT_EQ(L"C:\\Tools\\rename0.log", DataFilePath(DataFile::ChangeLog, folder, 0));
  EXPECT_EQ(L"C:\\Tools\\rename9.log", DataFilePath(DataFile::ChangeLog, folder, 9));
  EXPECT_EQ(L"C:\\Tools\\macro25.bin", DataFilePath(DataFile::MacroFile, folder, 25));
  EXPECT_EQ(L"C:\\Tools\\macro3", DataFilePath(DataFile::RecordingFile, folder, 3));
  EXPECT_EQ(L"C:\\Tools\\macro.lst", DataFilePath(DataFile::MacroList, folder));
  EXPECT_EQ(L"C:\\Tools\\korvalith.ini", DataFilePath(DataFile::SettingsIni, folder));
  EXPECT_EQ(L"C:\\Tools\\use.ini", DataFilePath(DataFile::UseIniMarker, folder));
  EXPECT_EQ(L"C:\\Tools\\trace.txt", DataFilePath(DataFile::Trace, folder));
  EXPECT_EQ(L"C:\\Tools\\edit_ren.txt", DataFilePath(DataFile::EditorExchange, folder));
}

TEST(DataFiles, ProgramFolderHoldsTheRunningTest) {
  const std::wstring folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(L'\\', folder.back());
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"platform_test.exe").c_str()));
}

TEST(FormatText, PercentSTakesAWideStringAndLongResultsAreWhole) {
  EXPECT_EQ(L"Unicode版のため、Windows98 では起動できません。",
            FormatText(L"Unicode版のため、%s では起動できません。", L"Windows98"));
  EXPECT_EQ(L"\\u00e9|07|-3", FormatText(L"\\u%04x|%02d|%d", 0xE9, 7, -3));
  const std::wstring longText(5000, L'あ');
  EXPECT_EQ(longText + L"!", FormatText(L"%s!", longText.c_str()));
}

}  // namespace
}  // namespace korval
