// The renamer started on a deep tree, unattended, where the system does not take long paths (the
// test prefix's setting): every item is listed, a long name made short is renamed and undone, a new
// path of 256 characters or more is a スキップ row of its report, and nothing is lost.
#include <gtest/gtest.h>

#include <string>

#include "platform/data_files.h"
#include "platform/system_path.h"
#include "platform/utf8.h"
#include "testing/deep_tree.h"
#include "testing/program_runner.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(LongPathRun, DeepTreesAreListedRenamedReportedAndUndone) {
  TempFolder program;
  program.WriteFile(L"use.ini", "");
  CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program / L"bregonig.dll").c_str(), FALSE);
  // A name of 200 characters in a folder of 100 (a path of 305), and a file 1,000 characters deep.
  ASSERT_TRUE(CreateDirectoryW((program / L"w").c_str(), nullptr));
  const std::wstring shallow = MakeDeepFolder(program.Path() + L"w\\", 100, L's', 40);
  const std::wstring deep = MakeDeepFolder(shallow, 1000, L'長', 80);
  ASSERT_EQ(1000u, deep.size());
  const std::wstring longName = shallow + std::wstring(200, L'n') + L".txt";
  ASSERT_TRUE(MakeFile(longName));
  ASSERT_TRUE(MakeFile(deep + L"nn.txt"));
  const std::wstring report = program / L"report.csv";
  ProgramRunner run(program, L"korvalith.exe",
                    L"/subfolder10 \"s/^n+/short/\" \"/report=" + report + L"\" \"" + program / L"w" + L"\"");
  EXPECT_EQ(1, run.WaitForExit(60000)) << "the deep row could not take a new path of 256 or more";
  EXPECT_TRUE(ExistsAt(shallow + L"short.txt"));
  EXPECT_FALSE(ExistsAt(longName));
  EXPECT_TRUE(ExistsAt(deep + L"nn.txt"));
  const std::string text = program.ReadFile(L"report.csv");
  EXPECT_NE(std::string::npos, text.find(Utf8(std::wstring(200, L'n')) + ".txt,short.txt,")) << text.substr(0, 400);
  EXPECT_NE(std::string::npos, text.find("nn.txt,short.txt,")) << text.substr(0, 400);
  EXPECT_NE(std::string::npos, text.find("絶対パスを含めたファイル名の長さが256文字以上"));

  ProgramRunner undo(program, L"korvalith.exe", L"/undo");
  EXPECT_EQ(0, undo.WaitForExit(60000));
  EXPECT_TRUE(ExistsAt(longName));
  EXPECT_FALSE(ExistsAt(shallow + L"short.txt"));
}

}  // namespace
}  // namespace korval
