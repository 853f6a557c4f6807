// Unattended macro runs: macro files written here byte by byte are played on real files by
// "/autoN" and "/autofile=", and the program closes itself when the playback has ended.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/data_files.h"
#include "testing/temp_folder.h"
#include "tests/macro_bytes.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

class AutomaticMacroTest : public testing::Test {
 protected:
  void SetUp() override {
    program_.WriteFile(L"use.ini", "");
    program_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmacromsec=0\r\n");
    ASSERT_TRUE(CreateDirectoryW((program_ / L"work").c_str(), nullptr));
    work_ = program_ / L"work";
  }

  void Files(const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) program_.WriteFile(L"work\\" + name, "x");
  }

  int Run(const std::wstring& arguments) {
    ProgramRunner runner(program_, L"korvalith.exe", arguments);
    return runner.WaitForExit();
  }

  TempFolder program_;
  std::wstring work_;
};

// Replacement, then serial numbers in front, then every word's first letter upper case.
const std::string kThreeSteps = "KV150\n" + Record("REP", "002", "_", " ") + Record("123", "000", "<01>-", "") +
                                Record("Aa ", "400", "", "");

TEST_F(AutomaticMacroTest, AMacroFileNamedOnTheCommandLineIsPlayedAndExecuted) {
  Files({L"big_red_car.txt", L"small_boat.txt"});
  program_.WriteFile(L"steps.bin", kThreeSteps);
  ASSERT_EQ(0, Run(L"/autofile=steps \"" + work_ + L"\""));  // ".bin" is added, then the program folder
  EXPECT_EQ((std::vector<std::wstring>{L"01-Big Red Car.txt", L"02-Small Boat.txt"}), SortedNames(work_));
  // One execution, one log: the whole macro is undone at once.
  ASSERT_EQ(0, Run(L"/undo"));
  EXPECT_EQ((std::vector<std::wstring>{L"big_red_car.txt", L"small_boat.txt"}), SortedNames(work_));
}

TEST_F(AutomaticMacroTest, ASlotNumberPlaysThatSlotsMacro) {
  Files({L"a_b.txt"});
  program_.WriteFile(L"macro25.bin", "KV150\n" + Record("REP", "002", "_", "+"));
  program_.WriteFile(L"macro24.bin", "KV150\n" + Record("REP", "002", "_", "-"));
  ASSERT_EQ(0, Run(L"/auto25 \"" + work_ + L"\""));
  EXPECT_EQ((std::vector<std::wstring>{L"a+b.txt"}), SortedNames(work_));
}

TEST_F(AutomaticMacroTest, TestModePlaysButChangesNothing) {
  Files({L"a_b.txt"});
  program_.WriteFile(L"macro2.bin", kThreeSteps);
  ProgramRunner runner(program_, L"korvalith.exe", L"/test /auto2 \"" + work_ + L"\"");
  ASSERT_NE(nullptr, runner.WaitForWindow());
  Sleep(1500);
  EXPECT_EQ(0, runner.Close());
  EXPECT_EQ((std::vector<std::wstring>{L"a_b.txt"}), SortedNames(work_));
  EXPECT_FALSE(program_.Exists(L"rename1.log"));
}

TEST_F(AutomaticMacroTest, AShownPlaybackCanBeAbortedAndThenRenamesNothing) {
  program_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmacromsec=1500\r\n");
  Files({L"big_red_car.txt"});
  program_.WriteFile(L"macro1.bin", kThreeSteps);
  ProgramRunner runner(program_, L"korvalith.exe", L"/show /auto1 \"" + work_ + L"\"");
  HWND playback = runner.WaitForWindowOfClass(L"KorvalithPlayback");
  ASSERT_NE(nullptr, playback);
  EXPECT_EQ(L"◆　マクロ再生中　◆", WindowText(playback));
  HWND abort = FindWindowExW(playback, nullptr, L"Button", nullptr);
  ASSERT_NE(nullptr, abort);
  EXPECT_EQ(L"中止", WindowText(abort));
  SendMessageW(abort, BM_CLICK, 0, 0);
  EXPECT_EQ(0, runner.WaitForExit());  // a shown run without "/noexit" still closes itself
  EXPECT_EQ((std::vector<std::wstring>{L"big_red_car.txt"}), SortedNames(work_));
  EXPECT_FALSE(program_.Exists(L"rename1.log"));
}

TEST_F(AutomaticMacroTest, AMissingMacroEndsTheRunAtOnce) {
  Files({L"a_b.txt"});
  ASSERT_EQ(2, Run(L"/auto7 \"" + work_ + L"\""));  // the exit code of a run that could not start
  EXPECT_EQ((std::vector<std::wstring>{L"a_b.txt"}), SortedNames(work_));
  // An empty "/autofile=" ends the scan: the slot named after it is not played instead.
  program_.WriteFile(L"macro25.bin", "KV150\n" + Record("REP", "002", "_", "+"));
  EXPECT_EQ(2, Run(L"/autofile= /auto25 \"" + work_ + L"\""));
  EXPECT_EQ((std::vector<std::wstring>{L"a_b.txt"}), SortedNames(work_));
}

// "/folder" on the path of a file: the run switches the list to files (the question is answered
// Yes), and the macro renames the file as a file.
TEST_F(AutomaticMacroTest, AFileGivenToAFolderRunIsRenamedAsAFile) {
  Files({L"abc.txt"});
  program_.WriteFile(L"end.bin", "KV150\n" + Record("ADD", "100", "X", ""));
  Run(L"/autofile=end /folder \"" + work_ + L"\\abc.txt\"");
  EXPECT_EQ((std::vector<std::wstring>{L"abcX.txt"}), SortedNames(work_));
}

}  // namespace
}  // namespace korval
