// Unattended runs from the command line, as a batch file starts them: the program reads the folder,
// renames, logs, closes by itself; a later start undoes the run.
#include <gtest/gtest.h>

#include <algorithm>

#include <objbase.h>

#include "config/settings.h"
#include "platform/data_files.h"
#include "testing/shortcut_file.h"
#include "testing/temp_folder.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

// A program folder with the renamer, the wide regular expression library and use.ini, and a work
// folder beside the files.
class AutomaticRunTest : public testing::Test {
 protected:
  void SetUp() override {
    program_.WriteFile(L"use.ini", "");
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program_ / L"bregonig.dll").c_str(), FALSE));
    CreateDirectoryW((program_ / L"work").c_str(), nullptr);
    work_ = program_ / L"work";
    for (const wchar_t* name : {L"aa.txt", L"ba.txt", L"写真a.jpg"}) program_.WriteFile(std::wstring(L"work\\") + name, Utf8(name));
  }

  int Run(const std::wstring& arguments) {
    ProgramRunner runner(program_, L"korvalith.exe", arguments);
    return runner.WaitForExit();
  }

  bool InWork(const std::wstring& name) { return program_.Exists(L"work\\" + name); }

  static std::string Utf16(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
  }

  TempFolder program_;
  std::wstring work_;
};

TEST_F(AutomaticRunTest, ReplacementRenamesLogsAndClosesItself) {
  ASSERT_EQ(0, Run(L"\"s/a/x/g\" \"" + work_ + L"\""));
  EXPECT_TRUE(InWork(L"xx.txt"));
  EXPECT_TRUE(InWork(L"bx.txt"));
  EXPECT_TRUE(InWork(L"写真x.jpg"));
  EXPECT_FALSE(InWork(L"aa.txt"));
  const std::wstring w = work_ + L"\\";
  const std::string expected =
      "\xFF\xFE" + Utf16(L"\"" + w + L"aa.txt\",\"" + w + L"xx.txt\",\"<NORMAL>\"\r\n\"" + w + L"ba.txt\",\"" + w +
                         L"bx.txt\",\"<NORMAL>\"\r\n\"" + w + L"写真a.jpg\",\"" + w + L"写真x.jpg\",\"<NORMAL>\"\r\n");
  EXPECT_EQ(expected, program_.ReadFile(L"rename1.log"));
  EXPECT_FALSE(program_.Exists(L"rename0.log"));
  EXPECT_NE(std::string::npos, program_.ReadFile(L"korvalith.ini").find("_count=1\r\n"));
}

TEST_F(AutomaticRunTest, FlagsChooseFirstOccurrenceCaseAndExtension) {
  ASSERT_EQ(0, Run(L"\"s/A/y/i\" \"" + work_ + L"\""));  // first match only, any case, not the extension
  EXPECT_TRUE(InWork(L"ya.txt"));
  EXPECT_TRUE(InWork(L"by.txt"));
  ASSERT_EQ(0, Run(L"\"s/txt/doc/e\" \"" + work_ + L"\""));
  EXPECT_TRUE(InWork(L"ya.doc"));
  EXPECT_TRUE(InWork(L"by.doc"));
  EXPECT_TRUE(program_.Exists(L"rename2.log"));
}

// A shortcut on the command line stands for its target when the settings say so: the shell link
// object answers the started program, whose COM library is bound on first call.
TEST_F(AutomaticRunTest, AShortcutOnTheCommandLineRenamesItsTarget) {
  Settings s;
  s.shortcutlink = 1;
  program_.WriteFile(L"korvalith.ini", "[Base]\r\noption2=" + std::to_string(EncodeOption2(s)) + "\r\n");
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const bool saved = SaveShortcut(program_ / L"to aa.lnk", work_ + L"\\aa.txt");
  CoUninitialize();
  ASSERT_TRUE(saved);
  ASSERT_EQ(0, Run(L"\"s/a/x/g\" \"" + (program_ / L"to aa.lnk") + L"\""));
  EXPECT_TRUE(InWork(L"xx.txt"));
  EXPECT_TRUE(InWork(L"ba.txt"));  // only the shortcut's target
  EXPECT_TRUE(program_.Exists(L"to aa.lnk"));
}

TEST_F(AutomaticRunTest, UndoRestoresTheNamesOfTheLastRun) {
  ASSERT_EQ(0, Run(L"\"s/a/x/g\" \"" + work_ + L"\""));
  ASSERT_TRUE(InWork(L"xx.txt"));
  ASSERT_EQ(0, Run(L"/undo"));
  EXPECT_TRUE(InWork(L"aa.txt"));
  EXPECT_TRUE(InWork(L"ba.txt"));
  EXPECT_TRUE(InWork(L"写真a.jpg"));
  EXPECT_FALSE(InWork(L"xx.txt"));
  EXPECT_EQ("aa.txt", program_.ReadFile(program_ / L"work\\aa.txt"));
}

TEST_F(AutomaticRunTest, AFilterNarrowsTheRun) {
  ASSERT_EQ(0, Run(L"\"s/a/x/g\" /filter=*.jpg \"" + work_ + L"\""));
  EXPECT_TRUE(InWork(L"aa.txt"));
  EXPECT_TRUE(InWork(L"写真x.jpg"));
}

TEST_F(AutomaticRunTest, AttributesAreSetLoggedAndUndone) {
  ASSERT_EQ(0, Run(L"/autoattr11-- \"" + work_ + L"\""));
  for (const wchar_t* name : {L"aa.txt", L"ba.txt"}) {
    const DWORD attributes = GetFileAttributesW((program_ / L"work\\" + name).c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY) << Utf8(name);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN) << Utf8(name);
  }
  const std::string log = program_.ReadFile(L"rename1.log");
  EXPECT_NE(std::string::npos, log.find(Utf16(L"\",\"<読：N, 隠：N, ア：Y, シ：N>\",\"<ATTRIBUTE>\"\r\n")));
  ASSERT_EQ(0, Run(L"/undo"));
  const DWORD attributes = GetFileAttributesW((program_ / L"work\\aa.txt").c_str());
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(AutomaticRunTest, ModificationTimesStepByTheSecondsPerFile) {
  ASSERT_EQ(0, Run(L"/automtime20200102030405+3600 \"" + work_ + L"\""));
  SYSTEMTIME expected[] = {{2020, 1, 0, 2, 3, 4, 5, 0}, {2020, 1, 0, 2, 4, 4, 5, 0}};
  const wchar_t* names[] = {L"aa.txt", L"ba.txt"};  // in list order
  for (int i = 0; i < 2; ++i) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW((program_ / L"work\\" + names[i]).c_str(), GetFileExInfoStandard, &data));
    FILETIME local;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    SYSTEMTIME got;
    FileTimeToSystemTime(&local, &got);
    EXPECT_EQ(expected[i].wHour, got.wHour) << Utf8(names[i]);
    EXPECT_EQ(expected[i].wDay, got.wDay);
    EXPECT_EQ(5, got.wSecond);
  }
  EXPECT_NE(std::string::npos, program_.ReadFile(L"rename1.log").find(Utf16(L"\"<TIMESTAMP>\"\r\n")));
}

// The log lists the renames in list order, so it shows how the list was sorted.
TEST_F(AutomaticRunTest, SortOrdersTheListBeforeTheRun) {
  for (const wchar_t* name : {L"a 2.txt", L"a 10.txt"}) program_.WriteFile(std::wstring(L"work\\") + name, "x");
  ASSERT_EQ(0, Run(L"\"s/a /z /\" /sortnamer \"" + work_ + L"\""));
  const std::wstring w = work_ + L"\\";
  const std::string numbersByValue = Utf16(L"\"" + w + L"a 10.txt\",\"" + w + L"z 10.txt\",\"<NORMAL>\"\r\n\"" + w +
                                           L"a 2.txt\",\"" + w + L"z 2.txt\",\"<NORMAL>\"\r\n");
  EXPECT_NE(std::string::npos, program_.ReadFile(L"rename1.log").find(numbersByValue));

  // Without the number-aware comparison "10" sorts before "2"; descending puts "2" first.
  program_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nsortnumlogical=0\r\n");
  ASSERT_EQ(0, Run(L"\"s/z /y /\" /sortnamer \"" + work_ + L"\""));
  const std::string numbersAsText = Utf16(L"\"" + w + L"z 2.txt\",\"" + w + L"y 2.txt\",\"<NORMAL>\"\r\n\"" + w +
                                          L"z 10.txt\",\"" + w + L"y 10.txt\",\"<NORMAL>\"\r\n");
  EXPECT_NE(std::string::npos, program_.ReadFile(L"rename1.log").find(numbersAsText));
}

TEST_F(AutomaticRunTest, SubfolderDepthChoosesHowDeepFilesAreRead) {
  CreateDirectoryW((work_ + L"\\d1").c_str(), nullptr);
  CreateDirectoryW((work_ + L"\\d1\\d2").c_str(), nullptr);
  program_.WriteFile(L"work\\d1\\a1.txt", "1");
  program_.WriteFile(L"work\\d1\\d2\\a2.txt", "2");
  ASSERT_EQ(0, Run(L"\"s/a/x/\" /subfolder1 \"" + work_ + L"\""));
  EXPECT_TRUE(InWork(L"xa.txt"));
  EXPECT_TRUE(InWork(L"d1\\x1.txt"));
  EXPECT_TRUE(InWork(L"d1\\d2\\a2.txt"));  // two levels down: not read
  ASSERT_EQ(0, Run(L"\"s/a/x/\" /subfolder2 \"" + work_ + L"\""));
  EXPECT_TRUE(InWork(L"d1\\d2\\x2.txt"));
  EXPECT_TRUE(InWork(L"xx.txt"));
}

TEST_F(AutomaticRunTest, FoldersWithEverythingBelowAreRenamedDeepestFirst) {
  CreateDirectoryW((work_ + L"\\a1").c_str(), nullptr);
  CreateDirectoryW((work_ + L"\\a1\\a2").c_str(), nullptr);
  CreateDirectoryW((work_ + L"\\a1\\a2\\a3").c_str(), nullptr);
  program_.WriteFile(L"work\\a1\\a2\\a3\\keep.txt", "kept");
  ASSERT_EQ(0, Run(L"\"s/a/x/\" /folder+ /subfolder10 \"" + work_ + L"\\a1\""));
  EXPECT_EQ("kept", program_.ReadFile(L"work\\x1\\x2\\x3\\keep.txt"));
  // The log lists the deepest folder first, so every rename happened below a name that still held.
  const std::wstring w = work_ + L"\\";
  const std::string expected =
      "\xFF\xFE" + Utf16(L"\"" + w + L"a1\\a2\\a3\",\"" + w + L"a1\\a2\\x3\",\"<NORMAL>\"\r\n\"" + w + L"a1\\a2\",\"" + w +
                         L"a1\\x2\",\"<NORMAL>\"\r\n\"" + w + L"a1\",\"" + w + L"x1\",\"<NORMAL>\"\r\n");
  EXPECT_EQ(expected, program_.ReadFile(L"rename1.log"));
  ASSERT_EQ(0, Run(L"/undo"));
  EXPECT_EQ("kept", program_.ReadFile(L"work\\a1\\a2\\a3\\keep.txt"));
}

// "/folder+" on the command line reads the whole tree as the setting does, and the rows below a
// renamed folder follow it even when the list is sorted by name rather than deepest first.
TEST_F(AutomaticRunTest, FolderPlusOnTheCommandLineKeepsTheRowsBelowARenamedFolder) {
  for (const wchar_t* folder : {L"A", L"A\\Aa", L"A\\Aa\\aaa", L"A\\ab", L"B", L"B\\ba", L"B\\ba\\bab"}) {
    ASSERT_TRUE(CreateDirectoryW((work_ + L"\\" + folder).c_str(), nullptr));
  }
  Run(L"\"s/a/z/gi\" \"" + work_ + L"\" /folder+ /sortname");
  for (const wchar_t* folder : {L"z\\zz\\zzz", L"z\\zb", L"B\\bz\\bzb"}) EXPECT_TRUE(InWork(folder)) << Utf8(folder);
}

// A protected slash is part of the search text (a name never holds one, so nothing matches), and a
// replacement text too long for the run stops it instead of deleting what the search finds.
TEST_F(AutomaticRunTest, ProtectedSlashesAndTooLongTextsChangeNothing) {
  program_.WriteFile(L"work\\ab.txt", "ab");
  program_.WriteFile(L"work\\b.txt", "b");
  Run(L"\"s/a\\/b/c/\" \"" + work_ + L"\"");
  EXPECT_TRUE(InWork(L"ab.txt"));
  EXPECT_TRUE(InWork(L"b.txt"));
  Run(L"\"s/a/" + std::wstring(300, L'x') + L"/\" \"" + work_ + L"\"");
  EXPECT_TRUE(InWork(L"aa.txt"));
  EXPECT_TRUE(InWork(L"ab.txt"));
}

// Two unattended runs of one program folder, started a moment apart on folders of 1,000 files each:
// they take turns on the change log, so each run's renames land in a slot of their own and both
// can be undone.
TEST_F(AutomaticRunTest, TwoRunsAtOnceEachLogTheirOwnRenames) {
  for (const wchar_t* folder : {L"one", L"two"}) {
    CreateDirectoryW((work_ + L"\\" + folder).c_str(), nullptr);
    for (int i = 0; i < 1000; ++i) {
      program_.WriteFile(L"work\\" + std::wstring(folder) + L"\\file" + std::to_wstring(i) + L".txt", "x");
    }
  }
  ProgramRunner first(program_, L"korvalith.exe", L"\"s/file/doc/\" \"" + work_ + L"\\one\"");
  Sleep(200);
  // The second start uses the program the first one copied in (a copy over it would fail).
  std::wstring line = L"\"" + (program_ / L"korvalith.exe") + L"\" \"s/file/doc/\" \"" + work_ + L"\\two\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION second{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, program_.Path().c_str(),
                             &startup, &second));
  CloseHandle(second.hThread);
  EXPECT_EQ(0, first.WaitForExit(120000));
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(second.hProcess, 120000));
  DWORD secondCode = 1;
  GetExitCodeProcess(second.hProcess, &secondCode);
  CloseHandle(second.hProcess);
  EXPECT_EQ(0u, secondCode);
  ASSERT_TRUE(InWork(L"one\\doc999.txt"));
  ASSERT_TRUE(InWork(L"two\\doc999.txt"));
  const std::string newer = program_.ReadFile(L"rename1.log");
  const std::string older = program_.ReadFile(L"rename2.log");
  for (const std::string* log : {&newer, &older}) {
    // 1,000 lines of one folder each: the two runs' lines never share a slot.
    const bool one = log->find(Utf16(L"\\one\\")) != std::string::npos;
    const bool two = log->find(Utf16(L"\\two\\")) != std::string::npos;
    EXPECT_NE(one, two);
    EXPECT_EQ(2000u, static_cast<size_t>(std::count(log->begin(), log->end(), '\n')) * 2);
  }
  ASSERT_EQ(0, Run(L"/undo"));
  ASSERT_EQ(0, Run(L"/undo2"));
  EXPECT_TRUE(InWork(L"one\\file999.txt"));
  EXPECT_TRUE(InWork(L"two\\file999.txt"));
}

TEST_F(AutomaticRunTest, TestModeShowsItselfAndChangesNothing) {
  ProgramRunner runner(program_, L"korvalith.exe", L"/test \"s/a/x/g\" \"" + work_ + L"\"");
  HWND window = runner.WaitForWindow();
  ASSERT_NE(nullptr, window);
  Sleep(1500);  // past the run's timers
  EXPECT_EQ(std::wstring(L"Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. Test Mode. "
                         L"Test Mode. Test Mode."),
            WindowText(window));
  EXPECT_EQ(0, runner.Close());
  EXPECT_TRUE(InWork(L"aa.txt"));
  EXPECT_FALSE(program_.Exists(L"rename1.log"));
}

}  // namespace
}  // namespace korval
