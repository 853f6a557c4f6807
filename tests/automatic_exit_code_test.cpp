// The exit code of unattended runs that fall short: each case starts the renamer on real files as a
// batch file does and checks the code, the names on disk and whether a change log was written.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "testing/case_twin.h"
#include "platform/data_files.h"
#include "testing/temp_folder.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

std::string Utf16(const std::wstring& text) {
  std::string bytes("\xFF\xFE", 2);
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

// A program folder with the renamer, the wide regular expression library and use.ini, and a work
// folder beside it.
class ExitCodeFixture {
 protected:
  ExitCodeFixture() {
    program_.WriteFile(L"use.ini", "");
    CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program_ / L"bregonig.dll").c_str(), FALSE);
    CreateDirectoryW((program_ / L"work").c_str(), nullptr);
    work_ = program_ / L"work";
  }

  int RunProgram(const std::wstring& arguments) {
    ProgramRunner runner(program_, L"korvalith.exe", arguments);
    return runner.WaitForExit(60000);
  }

  std::wstring Work() const { return L"\"" + work_ + L"\""; }

  std::map<std::wstring, std::string> FilesInWork() const {
    std::map<std::wstring, std::string> files;
    for (const std::wstring& name : SortedNames(work_)) files[name] = program_.ReadFile(L"work\\" + name);
    return files;
  }

  TempFolder program_;
  std::wstring work_;
};

struct ShortCase {
  const char* name;
  std::wstring arguments;          // before the work folder
  std::vector<std::wstring> files;  // in the work folder, each holding its own name
  int code;
  std::vector<std::wstring> after;  // the names in the work folder after the run
  bool logged;                      // a change log slot was written
  std::wstring log{};               // the change log of slot 1 before the run
};

void PrintTo(const ShortCase& c, std::ostream* out) { *out << c.name; }

// Rows the run was asked to change and did not make it exit 1; rows with nothing to change do not.
const std::vector<ShortCase>& Cases() {
  static const std::vector<ShortCase> cases = {
      {"AllRenamed", L"\"s/a1/b1/\"", {L"a1.txt"}, 0, {L"b1.txt"}, true},
      // A name that already is the new one is renamed onto itself, as the settings' force4 asks.
      {"NothingToChange", L"\"s/zz/y/\"", {L"a1.txt"}, 0, {L"a1.txt"}, true},
      {"ColonRefused", L"\"s/a1/:/\"", {L"a1.txt"}, 1, {L"a1.txt"}, false},
      {"ReservedNameRefused", L"\"s/a1/CON/\"", {L"a1.txt"}, 1, {L"a1.txt"}, false},
      {"BackslashRefused", L"\"s/a1/\\\\/\"", {L"a1.txt"}, 1, {L"a1.txt"}, false},
      {"BarRefused", L"\"s/a1/|/\"", {L"a1.txt"}, 1, {L"a1.txt"}, false},
      {"TooLongRefused", L"\"s/a1/" + std::wstring(240, L'x') + L"/\"", {L"a1.txt"}, 1, {L"a1.txt"}, false},
      {"OneOfTwoRefused", L"\"s/a1/:/\"", {L"a1.txt", L"b2.txt"}, 1, {L"a1.txt", L"b2.txt"}, true},
      // Before the first moment file times can hold (Tokyo is 9 hours ahead of UTC).
      {"TimeBefore1601", L"/autobtime16010101000000", {L"a.txt", L"b.txt", L"c.txt"}, 1,
       {L"a.txt", L"b.txt", L"c.txt"}, false},
      // The first moment itself is the value the system takes for "leave the time as it is".
      {"TimeTheSystemLeavesAlone", L"/autobtime16010101090000", {L"a.txt", L"b.txt", L"c.txt"}, 1,
       {L"a.txt", L"b.txt", L"c.txt"}, false},
      // The second and third rows would lie beyond the year 9999.
      {"TimesBeyond9999", L"/automtime99991231235959+604800", {L"a.txt", L"b.txt", L"c.txt"}, 1,
       {L"a.txt", L"b.txt", L"c.txt"}, true},
      {"UndoStoppedByAnUnknownTag", L"/undo", {L"a.txt"}, 1, {L"a.txt"}, true,
       L"\"C:\\x.txt\",\"C:\\y.txt\",\"<EVIL>\"\r\n"},
  };
  return cases;
}

class ExitCodeTest : public ExitCodeFixture, public testing::TestWithParam<ShortCase> {};

TEST_P(ExitCodeTest, TheCodeSaysWhetherEveryChangeWasMade) {
  const ShortCase& c = GetParam();
  for (const std::wstring& name : c.files) program_.WriteFile(L"work\\" + name, Utf8(name));
  if (!c.log.empty()) program_.WriteFile(L"rename1.log", Utf16(c.log));
  EXPECT_EQ(c.code, RunProgram(c.arguments + L" " + Work()));
  EXPECT_EQ(c.after, SortedNames(work_));
  EXPECT_EQ(c.logged, program_.Exists(L"rename1.log"));
}

INSTANTIATE_TEST_SUITE_P(ShortRuns, ExitCodeTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<ShortCase>& info) { return info.param.name; });

class ExitCodeRunTest : public ExitCodeFixture, public testing::Test {};

// 10,100 files in 101 folders and a row limit of 10,000: the list takes 10,000 of them, all are
// renamed, and the 100 left out make the run exit 1.
TEST_F(ExitCodeRunTest, ItemsTheRowLimitLeftOutAreNotDone) {
  program_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmaxfilenum=3\r\n");
  for (int folder = 0; folder < 101; ++folder) {
    const std::wstring sub = L"work\\d" + std::to_wstring(folder);
    ASSERT_TRUE(CreateDirectoryW((program_ / sub).c_str(), nullptr));
    for (int file = 0; file < 100; ++file) program_.WriteFile(sub + L"\\f" + std::to_wstring(file) + L".txt", "");
  }
  EXPECT_EQ(1, RunProgram(L"\"s/f/g/\" /subfolder1 " + Work()));
  int renamed = 0, left = 0;
  for (int folder = 0; folder < 101; ++folder) {
    for (const std::wstring& name : SortedNames(work_ + L"\\d" + std::to_wstring(folder))) {
      ++(name[0] == L'g' ? renamed : left);
    }
  }
  EXPECT_EQ(10000, renamed);
  EXPECT_EQ(100, left);
}

// A folder that tells case apart holds abc.txt and ABC.txt; both are to become ABC.TXT, and neither
// can. The run says so, and leaves no file under a temporary name.
TEST_F(ExitCodeRunTest, CaseTwinsAreNeverLeftUnderATemporaryName) {
  program_.WriteFile(L"work\\abc.txt", "lower");
  if (!WriteCaseTwin(work_ + L"\\", L"ABC.txt", "upper")) GTEST_SKIP() << "case twins need Wine";
  const std::map<std::wstring, std::string> twins = {{L"ABC.txt", "upper"}, {L"abc.txt", "lower"}};
  EXPECT_EQ(1, RunProgram(L"\"s/.*/ABC.TXT/e\" " + Work()));
  EXPECT_EQ(twins, FilesInWork());
  EXPECT_FALSE(program_.Exists(L"rename1.log"));
}

// An earlier version left ABC.txt under the temporary name of ABC.TXT beside abc.txt, and logged the
// rename. The undo brings it back under the first free name, since its own is taken by abc.txt.
TEST_F(ExitCodeRunTest, AnUndoBringsBackAFileLeftUnderATemporaryName) {
  program_.WriteFile(L"work\\abc.txt", "lower");
  program_.WriteFile(L"work\\ABC.TXT$korval$.$", "upper");
  const std::wstring w = work_ + L"\\";
  program_.WriteFile(L"rename1.log", Utf16(L"\"" + w + L"ABC.txt\",\"" + w + L"ABC.TXT\",\"<NORMAL>\"\r\n"));
  EXPECT_EQ(1, RunProgram(L"/undo"));
  const std::map<std::wstring, std::string> back = {{L"ABC(1).txt", "upper"}, {L"abc.txt", "lower"}};
  EXPECT_EQ(back, FilesInWork());
}

}  // namespace
}  // namespace korval
