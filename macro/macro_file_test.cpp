// Macro files on disk: the append limit, attributes, reading, the recorder's writes and where an
// automatic run's macro file is looked for.
#include "macro/macro_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "modes/change_mode.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

using namespace std::string_literals;

TEST(MacroFileIo, AppendStopsAtTheSizeLimit) {
  TempFolder folder;
  const std::string record = "ADD000" + std::string(600, 'x') + "\0\0\n"s;

  folder.WriteFile(L"macro3.bin", std::string(kMacroAppendLimit, 'a'));
  EXPECT_EQ(WriteMacroFile(folder.Path(), DataFile::MacroFile, 3, record, MacroWriteMode::Append), kMacroFileFull);
  EXPECT_EQ(folder.ReadFile(L"macro3.bin").size(), kMacroAppendLimit);

  // One byte less takes one more record of any length, past the limit.
  folder.WriteFile(L"macro3.bin", std::string(kMacroAppendLimit - 1, 'a'));
  EXPECT_EQ(WriteMacroFile(folder.Path(), DataFile::MacroFile, 3, record, MacroWriteMode::Append), kMacroWritten);
  const std::string grown = folder.ReadFile(L"macro3.bin");
  EXPECT_EQ(grown.size(), kMacroAppendLimit - 1 + record.size());
  EXPECT_EQ(grown.substr(kMacroAppendLimit - 1), record);
  EXPECT_EQ(WriteMacroFile(folder.Path(), DataFile::MacroFile, 3, record, MacroWriteMode::Append), kMacroFileFull);

  // Truncating ignores the limit.
  EXPECT_EQ(WriteMacroFile(folder.Path(), DataFile::MacroFile, 3, "KV150\n", MacroWriteMode::Truncate), kMacroWritten);
  EXPECT_EQ(folder.ReadFile(L"macro3.bin"), "KV150\n");
}

TEST(MacroFileIo, AttributesAreClearedBeforeWritingAndOpenFailuresAreReported) {
  TempFolder folder;
  const std::wstring path = folder.WriteFile(L"macro.lst", "1:a\n");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(WriteMacroFile(folder.Path(), DataFile::MacroList, 0, "2:b\n", MacroWriteMode::Truncate), kMacroWritten);
  EXPECT_EQ(folder.ReadFile(L"macro.lst"), "2:b\n");
  const DWORD attributes = GetFileAttributesW(path.c_str());
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);

  EXPECT_EQ(WriteMacroFile(folder / L"missing\\", DataFile::MacroFile, 1, "x", MacroWriteMode::Append),
            kMacroOpenFailed);
  ASSERT_TRUE(CreateDirectoryW((folder / L"macro2.bin").c_str(), nullptr));
  EXPECT_EQ(WriteMacroFile(folder.Path(), DataFile::MacroFile, 2, "x", MacroWriteMode::Truncate), kMacroOpenFailed);
}

TEST(MacroFileIo, ReadingTakesAtMost65536BytesAndTellsFailureApart) {
  TempFolder folder;
  std::vector<unsigned char> bytes;
  std::string big(70000, 'b');
  big[65535] = 'e';
  EXPECT_TRUE(ReadMacroFile(folder.WriteFile(L"big.bin", big), bytes));
  ASSERT_EQ(bytes.size(), kMacroReadLimit);
  EXPECT_EQ(bytes.back(), 'e');
  EXPECT_TRUE(ReadMacroFile(folder.WriteFile(L"one.bin", "K"), bytes));
  EXPECT_EQ(bytes.size(), 1u);
  EXPECT_TRUE(ReadMacroFile(folder.WriteFile(L"empty.bin", ""), bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadMacroFile(folder / L"none.bin", bytes));
  EXPECT_FALSE(ReadMacroFile(L"", bytes));
}

TEST(MacroFileIo, RecorderWritesHeaderStepsAndList) {
  TempFolder folder;
  ModeParams params;
  params.real8_3 = 1;
  MacroSlotNames names = UnregisteredSlots();
  names[4] = L"写真";
  const MacroRecordingContext context{folder.Path(), 1, &params, &names};

  EXPECT_EQ(AppendMacroRecord(kRecordHeader, context), kMacroWritten);
  EXPECT_EQ(AppendMacroRecord(kModeShortName, context), kMacroWritten);
  EXPECT_EQ(AppendMacroRecord(kModeCsvNames, context), kMacroWritten);
  EXPECT_EQ(AppendMacroRecord(kModeTimestamp, context), kMacroNothingToWrite);
  EXPECT_EQ(AppendMacroRecord(kModeMacro, context), kMacroNothingToWrite);
  EXPECT_EQ(folder.ReadFile(L"macro0"), "KV151\n8_3100\0\0\ndmy000\0\0\n"s);

  // A new recording starts the file anew.
  EXPECT_EQ(AppendMacroRecord(kRecordHeader, MacroRecordingContext{folder.Path(), 0, &params, &names}),
            kMacroWritten);
  EXPECT_EQ(folder.ReadFile(L"macro0"), "KV150\n");

  EXPECT_EQ(AppendMacroRecord(kRecordMacroList, context), kMacroWritten);
  EXPECT_EQ(folder.ReadFile(L"macro.lst"), "5:\x8e\xca\x90\x5e\n");
  EXPECT_EQ(ReadMacroList(folder.Path(), MacroProgram::Main)[4], L"写真");
  EXPECT_EQ(ReadMacroList(folder / L"nowhere\\", MacroProgram::Editor)[4], kUnregisteredSlotText);

  names[4] = std::wstring(L"写真") + L"€";
  EXPECT_EQ(WriteMacroList(folder.Path(), names, MacroProgram::Editor), kMacroWritten);
  EXPECT_EQ(ReadMacroList(folder.Path(), MacroProgram::Editor)[4], L"写真€");
}

TEST(MacroFileIo, AnAutomaticRunsMacroFileIsLookedForInOrder) {
  const std::wstring prog = L"D:\\prog\\";
  const std::wstring name253 = L"C:\\m\\" + std::wstring(248, L'n');
  const std::wstring deep = L"D:\\" + std::wstring(240, L'p') + L"\\";  // 244 characters
  const std::wstring f9(9, L'f'), f10(10, L'f'), f13(13, L'f'), f14(14, L'f');
  struct Case {
    const char* what;
    std::wstring name, program;
    std::set<std::wstring> present;
    std::wstring found;
  } cases[] = {
      {"as given", L"C:\\m\\a.bin", prog, {L"C:\\m\\a.bin", L"D:\\prog\\a.bin"}, L"C:\\m\\a.bin"},
      {"with .bin first", L"C:\\m\\a", prog, {L"C:\\m\\a.bin", L"D:\\prog\\a"}, L"C:\\m\\a.bin"},
      {"program folder", L"C:\\m\\a.mac", prog, {L"D:\\prog\\a.mac"}, L"D:\\prog\\a.mac"},
      {"program folder before .bin there", L"C:\\m\\a", prog, {L"D:\\prog\\a", L"D:\\prog\\a.bin"}, L"D:\\prog\\a"},
      {"program folder with .bin", L"a", prog, {L"D:\\prog\\a.bin"}, L"D:\\prog\\a.bin"},
      {"an extension gets no .bin", L"C:\\m\\a.mac", prog, {L"C:\\m\\a.mac.bin", L"D:\\prog\\a.mac.bin"}, L""},
      {"nothing there", L"C:\\m\\a", prog, {}, L""},
      {"empty name", L"", prog, {L".bin", L"D:\\prog\\.bin"}, L""},
      {"253 characters get .bin", name253, prog, {name253 + L".bin"}, name253 + L".bin"},
      {"254 characters do not", name253 + L"n", prog, {name253 + L"n.bin"}, L""},
      {"257 in the program folder", L"x\\" + f13, deep, {deep + f13}, deep + f13},
      {"258 in the program folder", L"x\\" + f14, deep, {deep + f14}, L""},
      {"253 there before .bin", L"x\\" + f9, deep, {deep + f9 + L".bin"}, deep + f9 + L".bin"},
      {"254 there before .bin", L"x\\" + f10, deep, {deep + f10 + L".bin"}, L""},
  };
  for (const Case& c : cases) {
    const auto exists = [&](const std::wstring& path) { return c.present.count(path) > 0; };
    EXPECT_EQ(ResolveMacroFileName(c.name, c.program, exists), c.found) << c.what;
  }
}

TEST(MacroFileIo, PlaybackReadsTheSlotFileOrTheResolvedFile) {
  TempFolder folder;
  Win32FileSystem fs;
  EXPECT_EQ(SelectedMacroPath(folder.Path(), 4, L"", fs), folder / L"macro5.bin");
  folder.WriteFile(L"mine.bin", "KV150\n");
  ASSERT_TRUE(CreateDirectoryW((folder / L"dir").c_str(), nullptr));
  EXPECT_EQ(SelectedMacroPath(folder.Path(), 4, folder / L"mine", fs), folder / L"mine.bin");
  EXPECT_EQ(SelectedMacroPath(folder.Path(), 4, L"mine", fs), folder / L"mine.bin");
  EXPECT_EQ(SelectedMacroPath(folder.Path(), 4, folder / L"dir", fs), L"");  // a folder is not a macro
}

}  // namespace
}  // namespace korval
