// The renamer started on a deep tree, unattended, where the system does not take long paths (the
// test prefix's setting): every item is listed, a long name made short is renamed and undone, a new
// path of 256 characters or more is a スキップ row of its plan and report, and nothing is lost.
#include <gtest/gtest.h>

#include <string>

#include "platform/data_files.h"
#include "platform/system_path.h"
#include "platform/utf8.h"
#include "testing/deep_tree.h"
#include "testing/program_runner.h"
#include "testing/temp_folder.h"
#include "tests/macro_bytes.h"

namespace korval {
namespace {

// A run as a pattern and as a macro: planned first (nothing changes), then run with a report that
// says what the plan said, then undone.
TEST(LongPathRun, DeepTreesArePlannedRenamedReportedAndUndone) {
  TempFolder program;
  program.WriteFile(L"use.ini", "");
  CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program / L"bregonig.dll").c_str(), FALSE);
  program.WriteFile(L"steps.bin", "KV150\n" + Record("REP", "002", "nn", "s"));
  // A name of 200 characters in a folder of 100 (a path of 305), and a file 1,000 characters deep.
  ASSERT_TRUE(CreateDirectoryW((program / L"w").c_str(), nullptr));
  const std::wstring shallow = MakeDeepFolder(program.Path() + L"w\\", 100, L's', 40);
  const std::wstring deep = MakeDeepFolder(shallow, 1000, L'長', 80);
  ASSERT_EQ(1000u, deep.size());
  const std::wstring longName = std::wstring(200, L'n') + L".txt";
  ASSERT_TRUE(MakeFile(shallow + longName));
  ASSERT_TRUE(MakeFile(deep + L"nn.txt"));
  const struct {
    const char* form;
    std::wstring arguments;
    std::wstring shortName;  // the long name's new name; the deep file's new path is too long
  } forms[] = {{"a pattern", L"\"s/^n+/short/\"", L"short.txt"},
               {"a macro", L"/autofile=steps", std::wstring(100, L's') + L".txt"}};
  for (const auto& f : forms) {
    SCOPED_TRACE(f.form);
    auto run = [&](const std::wstring& output) {
      ProgramRunner runner(program, L"korvalith.exe",
                           L"/subfolder10 " + f.arguments + L" \"" + output + L"\" \"" + program / L"w" + L"\"");
      return runner.WaitForExit(60000);
    };
    EXPECT_EQ(1, run(L"/plan=" + program / L"plan.csv")) << "the deep row cannot take a new path of 256 or more";
    EXPECT_TRUE(ExistsAt(shallow + longName));
    EXPECT_EQ(1, run(L"/report=" + program / L"report.csv"));
    EXPECT_TRUE(ExistsAt(shallow + f.shortName));
    EXPECT_FALSE(ExistsAt(shallow + longName));
    EXPECT_TRUE(ExistsAt(deep + L"nn.txt"));
    std::string plan = program.ReadFile(L"plan.csv");
    const std::string report = program.ReadFile(L"report.csv");
    EXPECT_NE(std::string::npos, report.find(Utf8(longName) + "," + Utf8(f.shortName) + ",")) << report.substr(0, 400);
    EXPECT_NE(std::string::npos, report.find("絶対パスを含めたファイル名の長さが256文字以上"));
    // The plan says each rename can be done, the report that it was; the rest is the same.
    const std::string can = "予定,変更が可能", did = "変更,変更に成功";
    for (size_t at = plan.find(can); at != std::string::npos; at = plan.find(can, at)) plan.replace(at, can.size(), did);
    EXPECT_TRUE(plan == report) << "the plan and the report differ";

    ProgramRunner undo(program, L"korvalith.exe", L"/undo");
    EXPECT_EQ(0, undo.WaitForExit(60000));
    EXPECT_TRUE(ExistsAt(shallow + longName));
    EXPECT_FALSE(ExistsAt(shallow + f.shortName));
  }
}

}  // namespace
}  // namespace korval
