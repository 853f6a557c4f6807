// Plans and reports of unattended runs, as a batch file uses them: "/plan=" changes nothing and
// says what the run would do; the same run with "/report=" then does exactly that, row for row; a
// report that cannot be written keeps the run from starting.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/execute_changes.h"
#include "engine/undo.h"
#include "modes/regex_binding.h"
#include "filelist/list_reader.h"
#include "testing/case_twin.h"
#include "platform/data_files.h"
#include "testing/temp_folder.h"
#include "tests/macro_bytes.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

using CsvRows = std::vector<std::vector<std::string>>;

// A strict RFC 4180 reader: CR LF line ends, fields quoted where they must be, quotes doubled.
// Fails the test on anything else.
CsvRows ReadCsv(const std::string& text) {
  CsvRows rows;
  std::vector<std::string> row;
  std::string field;
  size_t i = 0;
  bool quoted = false, wasQuoted = false;
  while (i < text.size()) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        i += 2;
      } else if (c == '"') {
        quoted = false;
        ++i;
      } else {
        field += c;
        ++i;
      }
      continue;
    }
    if (c == '"') {
      EXPECT_TRUE(field.empty() && !wasQuoted) << "a quote inside an unquoted field at " << i;
      quoted = wasQuoted = true;
      ++i;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
      wasQuoted = false;
      ++i;
    } else if (c == '\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "a CR without LF at " << i;
      row.push_back(field);
      rows.push_back(row);
      row.clear();
      field.clear();
      wasQuoted = false;
      i += 2;
    } else {
      EXPECT_NE('\n', c) << "a bare LF at " << i;
      EXPECT_FALSE(wasQuoted) << "text after a closing quote at " << i;
      field += c;
      ++i;
    }
  }
  EXPECT_FALSE(quoted) << "an open quote at the end";
  EXPECT_TRUE(row.empty() && field.empty()) << "the last line has no CR LF";
  return rows;
}

// Names, attributes and times of every entry: what a plan must leave as it found it.
std::vector<std::string> DiskState(const std::wstring& folder) {
  std::vector<std::string> state;
  for (const std::wstring& name : SortedNames(folder)) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW((folder + L"\\" + name).c_str(), GetFileExInfoStandard, &data);
    state.push_back(Utf8(name) + "|" + std::to_string(data.dwFileAttributes) + "|" +
                    std::to_string(data.ftLastWriteTime.dwLowDateTime) + "|" +
                    std::to_string(data.ftCreationTime.dwLowDateTime));
  }
  return state;
}

std::vector<std::string> DiskNames(const std::wstring& folder) {
  std::vector<std::string> names;
  for (const std::wstring& name : SortedNames(folder)) names.push_back(Utf8(name));
  return names;
}

class PlanReportTest : public testing::Test {
 protected:
  void SetUp() override {
    program_.WriteFile(L"use.ini", "");
    program_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmacromsec=0\r\n");
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program_ / L"bregonig.dll").c_str(), FALSE));
  }

  // A fresh tree: a collision (aa.txt wants xx.txt, which stands), a name with a comma and a
  // character outside the ANSI code page, a Japanese name, a name that stays.
  std::wstring MakeTree(const std::wstring& name) {
    const std::wstring folder = program_ / name;
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    for (const wchar_t* file : {L"aa.txt", L"ba.txt", L"xx.txt", L"写真a.jpg", L"é,a 😀.txt"}) {
      program_.WriteFile(name + L"\\" + file, "x");
    }
    return folder;
  }

  // Writes a file under path, which may be longer than the 260-character paths the calls take plainly.
  static void WriteLong(const std::wstring& path, const std::string& text) {
    const std::wstring longPath = L"\\\\?\\" + path;
    HANDLE file = CreateFileW(longPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << GetLastError();
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }

  int Run(const std::wstring& arguments) {
    ProgramRunner runner(program_, L"korvalith.exe", arguments);
    return runner.WaitForExit();
  }

  // The change log slots as they stand.
  std::string Logs() {
    std::string logs;
    for (int slot = 0; slot <= 9; ++slot) {
      const std::wstring name = L"rename" + std::to_wstring(slot) + L".log";
      logs += program_.Exists(name) ? program_.ReadFile(name) + "|" : "-|";
    }
    return logs;
  }

  CsvRows Report(const std::wstring& name) {
    const std::string bytes = program_.ReadFile(name);
    EXPECT_EQ("\xEF\xBB\xBF", bytes.substr(0, 3)) << "byte order mark";
    CsvRows rows = ReadCsv(bytes.substr(3));
    EXPECT_FALSE(rows.empty());
    if (rows.empty()) return rows;
    EXPECT_EQ((std::vector<std::string>{"変更前", "変更後", "フォルダ名", "状態", "理由"}), rows.front());
    rows.erase(rows.begin());
    return rows;
  }

  TempFolder program_;
};

TEST_F(PlanReportTest, APlanChangesNothingAndTheRunDoesWhatItSaid) {
  program_.WriteFile(L"steps.bin", "KV150\n" + Record("REP", "002", "a", "_") + Record("123", "000", "<01>-", ""));
  const struct {
    const wchar_t* name;
    std::wstring form;  // the unattended form and its switches
    int planCode;       // 0 every row would change, 1 a row would be skipped
    const char* sample; // a new name the plan holds
  } cases[] = {
      {L"replace", L"\"s/a/x/g\"", 0, "xx(1).txt"},
      {L"refused", L"\"s/a/:/\"", 1, ":a.txt"},
      {L"filtered", L"\"s/a/x/g\" /filter=*.jpg", 0, "写真x.jpg"},
      {L"attributes", L"/autoattr1---", 0, "<読：Y, 隠：-, ア：-, シ：->"},
      {L"times", L"/automtime20200102030405+60", 0, "<更新：2020/01/02 03:05:05>"},
      {L"macro", L"/autofile=steps", 0, "02-b_.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.name));
    const std::wstring tree = MakeTree(c.name);
    const std::vector<std::string> before = DiskState(tree);
    const std::string logsBefore = Logs();
    const std::wstring planFile = std::wstring(c.name) + L"-plan.csv";
    const std::wstring reportFile = std::wstring(c.name) + L"-report.csv";
    EXPECT_EQ(c.planCode, Run(c.form + L" \"/plan=" + (program_ / planFile) + L"\" \"" + tree + L"\""));
    EXPECT_EQ(before, DiskState(tree)) << "the plan touched the disk";
    EXPECT_EQ(logsBefore, Logs()) << "the plan wrote a change log";
    const CsvRows plan = Report(planFile);
    ASSERT_EQ(5u, plan.size());
    bool sampleFound = false;
    for (const auto& row : plan) sampleFound = sampleFound || row[1] == c.sample;
    EXPECT_TRUE(sampleFound) << c.sample;

    Run(c.form + L" \"/report=" + (program_ / reportFile) + L"\" \"" + tree + L"\"");
    const CsvRows done = Report(reportFile);
    ASSERT_EQ(plan.size(), done.size());
    for (size_t i = 0; i < plan.size(); ++i) {
      ASSERT_EQ(5u, plan[i].size());
      ASSERT_EQ(5u, done[i].size());
      EXPECT_EQ(plan[i][0], done[i][0]) << i;
      EXPECT_EQ(plan[i][1], done[i][1]) << i;
      EXPECT_EQ(Utf8(tree) + "\\", done[i][2]) << i;
      EXPECT_EQ(plan[i][3] == "予定" ? "変更" : plan[i][3], done[i][3]) << plan[i][0];
      if (plan[i][3] != "予定") {
        EXPECT_EQ(plan[i][4], done[i][4]) << plan[i][0];
      }
      // The run did on the disk what its report says.
      const std::vector<std::string> names = DiskNames(tree);
      const bool renamed = done[i][3] == "変更" && done[i][1].find('<') == std::string::npos;
      const std::string& stands = renamed ? done[i][1] : done[i][0];
      EXPECT_NE(names.end(), std::find(names.begin(), names.end(), stands)) << stands;
    }
  }
}

TEST_F(PlanReportTest, ARunWhoseReportCannotBeWrittenDoesNotStart) {
  const std::wstring tree = MakeTree(L"w");
  const std::wstring readOnly = program_.WriteFile(L"readonly.csv", "kept");
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  const struct {
    const char* what;
    std::wstring arguments;
  } cases[] = {
      {"a folder that does not exist", L"\"s/a/x/g\" \"/report=" + (program_ / L"none\\r.csv") + L"\""},
      {"no path", L"\"s/a/x/g\" /report="},
      {"a folder", L"\"s/a/x/g\" \"/report=" + tree + L"\""},
      {"a read-only file", L"\"s/a/x/g\" \"/report=" + readOnly + L"\""},
      {"a plan without a run", L"\"/plan=" + (program_ / L"p.csv") + L"\""},
      {"a plan of an undo", L"/undo \"/plan=" + (program_ / L"u.csv") + L"\""},
  };
  const std::vector<std::string> before = DiskState(tree);
  for (const auto& c : cases) {
    EXPECT_EQ(2, Run(c.arguments + L" \"" + tree + L"\"")) << c.what;
    EXPECT_EQ(before, DiskState(tree)) << c.what;
  }
  EXPECT_EQ("kept", program_.ReadFile(L"readonly.csv"));
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  // Nothing is left behind: no report, no temporary file.
  const std::vector<std::wstring> left = SortedNames(program_.Path());
  for (const std::wstring& name : left) {
    const bool reportOrTemp = name.find(L".tmp") != std::wstring::npos || name.find(L".csv") != std::wstring::npos;
    EXPECT_TRUE(!reportOrTemp || name == L"readonly.csv") << Utf8(name);
  }
}

// What a script must be able to trust: no run puts its report over a file or a file onto its report's
// path, no item is left out without a row and an exit code that says so, and a report that cannot
// take its place after the renames is written elsewhere instead of being lost.
TEST_F(PlanReportTest, NoRunLosesAFileToItsReportOrLeavesOneOutInSilence) {
  const std::string tooLong = Utf8(kTooLongReason);
  const std::wstring longStem(120, L'a');  // "s/a/bb/g" makes its path too long for the folder
  const std::wstring longFile = longStem + L".txt";
  const std::string longRow = Utf8(longStem) + ".txt|スキップ|絶対パスを含めたファイル名の長さが256文字以上";
  const std::string longNewName = Utf8(std::wstring(240, L'b')) + ".txt";
  // Files whose paths are past 259 characters are listed; "p_" in front makes their new paths too
  // long where the system does not take long paths (the test's prefix does not).
  auto deepRow = [](int k) { return Utf8(std::wstring(9 + 5 * k, L'b')) + ".txt|スキップ|絶対パスを含めたファイル名の長さが256文字以上"; };
  const struct Case {
    const char* what;
    std::vector<const wchar_t*> files;  // in the tree; a name with a backslash makes its folder
    const wchar_t* earlier;             // what stands at the report's path before the run, if anything
    const wchar_t* arguments;           // %t is the tree, %r the report's path
    const wchar_t* report;              // the report's path under the tree
    int longFiles;                      // files whose full path is over 259 characters, in a deep folder
    int code;
    std::vector<std::string> names;     // the tree's top level afterwards
    std::vector<std::string> rows;      // old name|state|reason of each report row, in order
    bool reportElsewhere = false;       // the report went beside the program
    std::string newName = {};           // the new-name column of the first row, when given
  } cases[] = {
      {"a row that would take the report's name is skipped", {L"draft_r.csv", L"a.csv"}, nullptr,
       L"\"s/^draft_//\" \"/report=%r\" /filter=*.csv \"%t\"", L"r.csv", 0, 1,
       {"a.csv", "draft_r.csv", "r.csv"},
       {"a.csv|変更なし|変更の前と後で同じファイル名", "draft_r.csv|スキップ|" + Utf8(kReasonReportPath)}},
      {"the first run's report is not read by the second", {L"x1.txt"}, L"earlier",
       L"\"s/^/p_/\" \"/report=%r\" \"%t\"", L"r.csv", 0, 0, {"p_x1.txt", "r.csv"},
       {"x1.txt|変更|変更に成功"}},
      {"a user's file at the report's path keeps the run from starting", {L"x1.txt"}, L"user",
       L"\"s/^/p_/\" \"/report=%r\" \"%t\"", L"r.csv", 0, 2, {"r.csv", "x1.txt"}, {}},
      {"long paths are listed and refused a longer new path", {L"short.txt"}, nullptr,
       L"/subfolder2 \"s/^/p_/\" \"/report=%r\" \"%t\"", L"..\\long.csv", 3, 1, {"d", "p_short.txt"},
       {"short.txt|変更|変更に成功", deepRow(0), deepRow(1), deepRow(2)}},
      {"only long paths", {}, nullptr, L"/subfolder2 \"s/^/p_/\" \"/report=%r\" \"%t\"", L"..\\only.csv", 3, 1,
       {"d"}, {deepRow(0), deepRow(1), deepRow(2)}},
      {"the report's folder renamed by the run", {L"sub\\x.txt"}, nullptr,
       L"/folder1 \"s/^sub$/moved/\" \"/report=%r\" \"%t\"", L"sub\\gone.csv", 0, 1, {"moved"},
       {"sub|変更|変更に成功"}, true},
      {"a new name too long for its folder is reported whole", {longFile.c_str()}, nullptr,
       L"\"s/a/bb/g\" \"/report=%r\" \"%t\"", L"..\\whole.csv", 0, 1, {Utf8(longStem) + ".txt"}, {longRow}, false,
       longNewName},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring treeName = L"t" + std::to_wstring(++n);
    const std::wstring tree = program_ / treeName;
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    for (const wchar_t* file : c.files) {
      const std::wstring name = file;
      if (name.find(L'\\') != std::wstring::npos) CreateDirectoryW((tree + L"\\" + name.substr(0, name.find(L'\\'))).c_str(), nullptr);
      program_.WriteFile(treeName + L"\\" + name, "user " + Utf8(name));
    }
    if (c.longFiles > 0) {
      // A folder whose own path fits a row, holding files whose paths do not (264 to 274 characters).
      const std::wstring deep = tree + L"\\d";
      ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
      const std::wstring folder = deep + L"\\" + std::wstring(250 - deep.size(), L'f');
      ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
      for (int k = 0; k < c.longFiles; ++k) WriteLong(folder + L"\\" + std::wstring(9 + 5 * k, L'b') + L".txt", "long");
    }
    const std::wstring reportPath = tree + L"\\" + c.report;
    std::string earlier;
    if (c.earlier) {
      earlier = std::wstring(c.earlier) == L"earlier" ? "\xEF\xBB\xBF" "変更前,変更後,フォルダ名,状態,理由\r\nx,y,z,変更,r\r\n"
                                                        : std::string("user data");
      program_.WriteFile(treeName + L"\\" + c.report, earlier);
    }
    std::wstring arguments = c.arguments;
    arguments.replace(arguments.find(L"%r"), 2, reportPath);
    arguments.replace(arguments.find(L"%t"), 2, tree);
    const std::vector<std::string> before = DiskNames(tree);
    EXPECT_EQ(c.code, Run(arguments));
    EXPECT_EQ(c.names, DiskNames(tree));
    for (const wchar_t* file : c.files) {
      // Every user's file still holds its bytes, under its old name or its new one.
      const std::wstring name = file;
      const bool kept = program_.Exists(treeName + L"\\" + name);
      if (kept) {
        EXPECT_EQ("user " + Utf8(name), program_.ReadFile(treeName + L"\\" + name));
      }
    }
    if (c.code == 2) {
      EXPECT_EQ(earlier, program_.ReadFile(treeName + L"\\" + c.report)) << "the file at the report's path";
      continue;
    }
    const std::wstring reportName = c.report;
    const std::wstring leaf = reportName.substr(reportName.find_last_of(L'\\') + 1);
    const std::wstring written = c.reportElsewhere ? leaf : treeName + L"\\" + reportName;
    ASSERT_TRUE(program_.Exists(written)) << Utf8(written);
    const CsvRows rows = Report(written);
    std::vector<std::string> seen;
    for (const auto& row : rows) {
      ASSERT_EQ(5u, row.size());
      // A left-out item's row names it by its full path.
      const bool left = row[4] == tooLong;
      if (left) {
        EXPECT_GT(row[2].size() + row[0].size(), 259u) << row[0];
      }
      seen.push_back((left ? std::string() : row[0]) + "|" + row[3] + "|" + row[4]);
    }
    if (!c.newName.empty()) {
      ASSERT_FALSE(rows.empty());
      EXPECT_EQ(c.newName, rows.front()[1]);
    }
    std::sort(seen.begin(), seen.end());  // the list's rows come in the order the folder gives
    std::vector<std::string> expected = c.rows;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, seen);
    // The undo brings every name back, and never a report's bytes under a user's name.
    if (std::any_of(rows.begin(), rows.end(), [](const auto& row) { return row[3] == "変更"; })) {
      EXPECT_EQ(0, Run(L"/undo"));
      std::vector<std::string> restored = before;
      if (!c.reportElsewhere && reportName.find(L'\\') == std::wstring::npos &&
          std::find(before.begin(), before.end(), Utf8(reportName)) == before.end()) {
        restored.push_back(Utf8(reportName));
        std::sort(restored.begin(), restored.end());
      }
      EXPECT_EQ(restored, DiskNames(tree));
      for (const wchar_t* file : c.files) {
        EXPECT_EQ("user " + Utf8(file), program_.ReadFile(treeName + L"\\" + file)) << Utf8(file);
      }
    }
  }
}

// A plan asks what the run will ask: wherever nothing changes on the disk between them, the plan and
// the run after it agree row for row and in their exit codes.
TEST_F(PlanReportTest, APlanAndTheRunAfterItAgreeRowForRow) {
  // Macros of replacements that swap two names and turn three around in a circle.
  program_.WriteFile(L"swap.bin", "KV150\n" + Record("REP", "002", "a", "q") + Record("REP", "002", "b", "a") +
                                      Record("REP", "002", "q", "b"));
  // xy and yx swapped beside k1 -> k, whose k stays: the swap's serial comes off although k's stays.
  program_.WriteFile(L"swapk.bin", "KV150\n" + Record("REP", "002", "xy", "q") + Record("REP", "002", "yx", "xy") +
                                       Record("REP", "002", "q", "yx") + Record("REP", "002", "k1", "k"));
  program_.WriteFile(L"cycle.bin", "KV150\n" + Record("REP", "002", "a", "q") + Record("REP", "002", "c", "a") +
                                       Record("REP", "002", "b", "c") + Record("REP", "002", "q", "b"));
  const struct Case {
    const char* what;
    std::vector<const wchar_t*> files;
    const wchar_t* twin;       // a second file whose name differs from the first one's only in case
    const wchar_t* arguments;  // %a is the stem of the 8.3 alias of the first file
    std::vector<std::string> newNames;  // the new names the plan promises, in order ("?": any)
  } cases[] = {
      {"a swap", {L"a.txt", L"b.txt"}, nullptr, L"/autofile=swap", {"a.txt", "b.txt"}},
      {"a cycle", {L"a.txt", L"b.txt", L"c.txt"}, nullptr, L"/autofile=cycle", {"a.txt", "b.txt", "c.txt"}},
      {"a swap beside a serial that stays", {L"k.txt", L"k1.txt", L"xy.txt", L"yx.txt"}, nullptr, L"/autofile=swapk",
       {"k(1).txt", "xy.txt", "yx.txt"}},
      {"case twins", {L"abc.txt"}, L"ABC.txt", L"\"s/abc/ABC/\"", {}},
      {"an 8.3 alias", {L"longfilename.txt", L"x.txt"}, nullptr, L"\"s/^x$/%a/\"", {"?"}},
      {"a read-only file", {L"ro.txt"}, nullptr, L"\"s/ro/rw/\"", {"rw.txt"}},
      {"the report's name", {L"draft_r.csv"}, nullptr, L"\"s/^draft_//\"", {}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring treeName = L"agree" + std::to_wstring(++n);
    const std::wstring tree = program_ / treeName;
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    for (const wchar_t* file : c.files) program_.WriteFile(treeName + L"\\" + file, "x");
    if (c.twin && !WriteCaseTwin(tree + L"\\", c.twin, "twin")) GTEST_SKIP() << "case twins need Wine";
    if (std::string(c.what) == "a read-only file") SetFileAttributesW((tree + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    std::wstring arguments = c.arguments;
    if (arguments.find(L"%a") != std::wstring::npos) {
      wchar_t alias[MAX_PATH] = L"";
      ASSERT_NE(0u, GetShortPathNameW((tree + L"\\" + c.files[0]).c_str(), alias, MAX_PATH));
      std::wstring stem = alias;
      stem = stem.substr(stem.find_last_of(L'\\') + 1);
      stem = stem.substr(0, stem.rfind(L'.'));
      arguments.replace(arguments.find(L"%a"), 2, stem);
    }
    // The report lies in the folder renamed, where a row would take its name.
    const std::wstring plan = tree + L"\\r.csv";
    const int planCode = Run(arguments + L" \"/plan=" + plan + L"\" \"" + tree + L"\"");
    const CsvRows planned = Report(treeName + L"\\r.csv");
    DeleteFileW(plan.c_str());
    const int runCode = Run(arguments + L" \"/report=" + plan + L"\" \"" + tree + L"\"");
    const CsvRows done = Report(treeName + L"\\r.csv");
    EXPECT_EQ(planCode, runCode);
    ASSERT_EQ(planned.size(), done.size());
    std::vector<std::string> promised;
    for (size_t i = 0; i < planned.size(); ++i) {
      ASSERT_EQ(5u, planned[i].size());
      ASSERT_EQ(5u, done[i].size());
      EXPECT_EQ(planned[i][0], done[i][0]) << i;
      EXPECT_EQ(planned[i][1], done[i][1]) << planned[i][0];
      EXPECT_EQ(planned[i][3] == "予定" ? "変更" : planned[i][3], done[i][3]) << planned[i][0] << ": " << planned[i][4];
      if (planned[i][3] == "予定") {
        promised.push_back(planned[i][1]);
        // A row the plan will change says how, never that its name is taken.
        EXPECT_NE("同名のファイルがすでに存在", planned[i][4]) << planned[i][0];
      }
    }
    std::sort(promised.begin(), promised.end());
    if (c.newNames != std::vector<std::string>{"?"}) {
      EXPECT_EQ(c.newNames, promised);
    }
    SetFileAttributesW((tree + L"\\rw.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// Reads or writes a file through its verbatim path, which reaches names Windows would trim or take for
// a device ("draft.", "CON.txt").
std::string ReadVerbatim(const std::wstring& path) {
  HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  char buffer[64];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

void WriteVerbatim(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file) << Utf8(path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// One folder or report spelled in another way than the run's rows spell it is still the same place:
// no row takes the report's name, an earlier report is never a row, and an undo started from another
// current folder reverts exactly the run's own items.
TEST_F(PlanReportTest, OnePlaceSpelledAnyWayIsOnePlace) {
  const std::string reportHead = "\xEF\xBB\xBF" "変更前,変更後,フォルダ名,状態,理由\r\n";
  const struct Case {
    const char* what;
    const wchar_t* treeName;
    const wchar_t* folderArgument;  // %t the tree, %s its 8.3 alias; relative to the program folder
    const wchar_t* replacement;
    std::vector<std::string> names;  // the tree afterwards
    std::vector<std::string> rows;   // old name|state of the report's rows, sorted
    int code;
  } cases[] = {
      {"forward slashes", L"t1", L"%/", L"\"s/^old/r/\" /filter=*.csv", {"old.csv", "r.csv"}, {"old.csv|スキップ"}, 1},
      {"a relative folder with dots", L"t2", L"t2\\.\\x\\..", L"\"s/^old/r/\" /filter=*.csv", {"old.csv", "r.csv", "x"},
       {"old.csv|スキップ"}, 1},
      {"the folder's 8.3 alias", L"a long folder name", L"%s", L"\"s/^/X_/\"", {"X_old.csv", "r.csv"},
       {"old.csv|変更"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring tree = program_ / c.treeName;
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    if (std::wstring(c.treeName) == L"t2") CreateDirectoryW((tree + L"\\x").c_str(), nullptr);
    // A user's list that happens to begin like a report, and an earlier report of the same path.
    const std::string userBytes = reportHead + "user,lines,kept,here,!\r\n";
    program_.WriteFile(std::wstring(c.treeName) + L"\\old.csv", userBytes);
    if (std::string(c.what) == "the folder's 8.3 alias") program_.WriteFile(std::wstring(c.treeName) + L"\\r.csv", reportHead);
    std::wstring folder = c.folderArgument;
    if (folder == L"%/") {
      folder = tree;
      std::replace(folder.begin(), folder.end(), L'\\', L'/');
    } else if (folder == L"%s") {
      wchar_t alias[MAX_PATH] = L"";
      ASSERT_NE(0u, GetShortPathNameW(tree.c_str(), alias, MAX_PATH));
      folder = alias;
      ASSERT_NE(tree, folder);
    }
    EXPECT_EQ(c.code, Run(std::wstring(c.replacement) + L" \"/report=" + tree + L"\\r.csv\" \"" + folder + L"\""));
    EXPECT_EQ(c.names, DiskNames(tree));
    const std::wstring userFile = program_.Exists(std::wstring(c.treeName) + L"\\old.csv") ? L"\\old.csv" : L"\\X_old.csv";
    EXPECT_EQ(userBytes, program_.ReadFile(c.treeName + userFile)) << "the user's lines";
    std::vector<std::string> seen;
    for (const auto& row : Report(std::wstring(c.treeName) + L"\\r.csv")) seen.push_back(row[0] + "|" + row[3]);
    EXPECT_EQ(c.rows, seen);
  }

  // A run given a relative folder, undone from another current folder holding a folder of that name.
  const std::wstring other = program_ / L"other";
  ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((other + L"\\data").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((program_ / L"data").c_str(), nullptr));
  program_.WriteFile(L"data\\a.txt", "run's own");
  program_.WriteFile(L"other\\data\\b.txt", "another folder's");
  EXPECT_EQ(0, Run(L"\"s/^a/b/\" data\\"));
  EXPECT_EQ((std::vector<std::string>{"b.txt"}), DiskNames(program_ / L"data"));
  ProgramRunner undo(program_, L"korvalith.exe", L"/undo", false, other);
  EXPECT_EQ(0, undo.WaitForExit());
  EXPECT_EQ((std::vector<std::string>{"a.txt"}), DiskNames(program_ / L"data"));
  EXPECT_EQ((std::vector<std::string>{"b.txt"}), DiskNames(other + L"\\data"));
}

// Names that other systems make and Windows would trim or take for a device are renamed as they are,
// never their twins; a plan says what the run does; the undo gives every name back exactly. A name the
// file system cuts is put back and said to have failed; a run without its change log ends with 1.
TEST_F(PlanReportTest, NamesOtherSystemsMakeAreRenamedAsTheyAre) {
  const std::wstring tree = program_ / L"odd";
  ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
  const struct {
    const wchar_t* name;
    const char* bytes;
    const char* reported;  // the old name as the report writes it
  } files[] = {{L"draft.", "dot", "draft."},       {L"draft", "plain", "draft"},   {L"CON.txt", "con", "CON.txt"},
               {L"nul", "nul", "nul"},              {L"notes ", "space", "notes "}, {L"'quote.txt", "quote", "''quote.txt"}};
  for (const auto& f : files) WriteVerbatim(tree + L"\\" + f.name, f.bytes);
  const std::wstring form = L"\"s/^(.+)$/k_$1_/e\" \"";
  EXPECT_EQ(0, Run(form + L"/plan=" + (program_ / L"plan.csv") + L"\" \"" + tree + L"\""));
  EXPECT_EQ(0, Run(form + L"/report=" + (program_ / L"run.csv") + L"\" \"" + tree + L"\""));
  const CsvRows planned = Report(L"plan.csv"), done = Report(L"run.csv");
  ASSERT_EQ(std::size(files), done.size());
  ASSERT_EQ(planned.size(), done.size());
  for (const auto& f : files) {
    SCOPED_TRACE(Utf8(f.name));
    const auto row = std::find_if(done.begin(), done.end(), [&](const auto& r) { return r[0] == f.reported; });
    ASSERT_NE(done.end(), row) << "no row";
    EXPECT_EQ("変更", (*row)[3]);
    const size_t i = static_cast<size_t>(row - done.begin());
    EXPECT_EQ("予定", planned[i][3]);
    EXPECT_EQ(planned[i][1], (*row)[1]);
    EXPECT_EQ(f.bytes, ReadVerbatim(tree + L"\\k_" + f.name + L"_"));
  }
  EXPECT_EQ(0, Run(L"/undo"));
  for (const auto& f : files) EXPECT_EQ(f.bytes, ReadVerbatim(tree + L"\\" + f.name)) << Utf8(f.name);
  for (const auto& f : files) DeleteFileW((L"\\\\?\\" + tree + L"\\" + f.name).c_str());

  // A name of 100 kanji holds 300 bytes: a file system of 255 bytes a name cuts it.
  const std::wstring cut = program_ / L"cut";
  ASSERT_TRUE(CreateDirectoryW(cut.c_str(), nullptr));
  program_.WriteFile(L"cut\\a.txt", "kept");
  EXPECT_EQ(1, Run(L"\"s/^a$/" + std::wstring(100, L'\u6F22') + L"/\" \"/report=" + (program_ / L"cut.csv") + L"\" \"" +
                   cut + L"\""));
  EXPECT_EQ((std::vector<std::string>{"a.txt"}), DiskNames(cut));
  EXPECT_EQ("kept", program_.ReadFile(L"cut\\a.txt"));
  const CsvRows cutRows = Report(L"cut.csv");
  ASSERT_EQ(1u, cutRows.size());
  EXPECT_EQ("失敗", cutRows[0][3]);
  EXPECT_EQ(Utf8(kReasonNamePutBack), cutRows[0][4]);

  // The change log cannot be made (a folder stands where it goes): the renames happen, the code says
  // that something is not as asked, never "nothing changed".
  ASSERT_TRUE(CreateDirectoryW((program_ / L"rename0.log").c_str(), nullptr));
  const std::wstring unlogged = program_ / L"unlogged";
  ASSERT_TRUE(CreateDirectoryW(unlogged.c_str(), nullptr));
  program_.WriteFile(L"unlogged\\x.txt", "x");
  EXPECT_EQ(1, Run(L"\"s/^/y_/\" \"/report=" + (program_ / L"unlogged.csv") + L"\" \"" + unlogged + L"\""));
  EXPECT_EQ((std::vector<std::string>{"y_x.txt"}), DiskNames(unlogged));
  const CsvRows unloggedRows = Report(L"unlogged.csv");
  ASSERT_EQ(1u, unloggedRows.size());
  EXPECT_EQ("変更", unloggedRows[0][3]);
  EXPECT_NE(std::string::npos, unloggedRows[0][4].find(Utf8(kReasonUnlogged)));
  RemoveDirectoryW((program_ / L"rename0.log").c_str());
}

// What a script sees of rows the run could not account for as changed: a pattern cut off by its
// budget, and an undo, each row of which the report tells.
TEST_F(PlanReportTest, ACutPatternAndAnUndoAccountForEveryRow) {
  const std::string cut = Utf8(kReasonRegexCutOff);
  const std::wstring stalls = L"(a+)+b(?#" + std::wstring(200, L'c') + L")";
  const struct Case {
    const char* what;
    std::vector<std::wstring> files;
    std::wstring run;    // the run before, if any (%t is the tree)
    std::wstring asked;  // the run whose report is read (%t the tree, %r the report's path)
    const wchar_t* made; // a file made after the run before, if any
    int code;
    std::vector<std::string> rows;  // old name|new name|state|reason, in order
  } cases[] = {
      {"a pattern cut off: every row it left is skipped", {std::wstring(40, L'a') + L".txt", L"b.txt"}, L"",
       L"\"s/" + stalls + L"/z/\" \"/report=%r\" \"%t\"", nullptr, 1,
       {Utf8(std::wstring(40, L'a')) + ".txt|" + Utf8(std::wstring(40, L'a')) + ".txt|スキップ|" + cut,
        "b.txt|b.txt|スキップ|" + cut}},
      {"the same, planned", {std::wstring(40, L'a') + L".txt", L"b.txt"}, L"",
       L"\"s/" + stalls + L"/z/\" \"/plan=%r\" \"%t\"", nullptr, 1,
       {Utf8(std::wstring(40, L'a')) + ".txt|" + Utf8(std::wstring(40, L'a')) + ".txt|スキップ|" + cut,
        "b.txt|b.txt|スキップ|" + cut}},
      {"an undo, one row of which finds its old name taken", {L"a1.txt", L"a2.txt"}, L"\"s/^a/x/\" \"%t\"",
       L"/undo \"/report=%r\"", L"a2.txt", 1,
       {"x1.txt|a1.txt|変更|" + Utf8(kReasonUndone), "x2.txt|a2.txt|失敗|?"}},
      {"an undo of every row", {L"a1.txt", L"a2.txt"}, L"\"s/^a/x/\" \"%t\"", L"/undo \"/report=%r\"", nullptr, 0,
       {"x1.txt|a1.txt|変更|" + Utf8(kReasonUndone), "x2.txt|a2.txt|変更|" + Utf8(kReasonUndone)}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring treeName = L"c" + std::to_wstring(++n);
    const std::wstring tree = program_ / treeName;
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    for (const std::wstring& file : c.files) program_.WriteFile(treeName + L"\\" + file, "x");
    auto fill = [&](std::wstring text) {
      for (size_t at; (at = text.find(L"%t")) != std::wstring::npos;) text.replace(at, 2, tree);
      for (size_t at; (at = text.find(L"%r")) != std::wstring::npos;) text.replace(at, 2, program_ / (treeName + L".csv"));
      return text;
    };
    if (!c.run.empty()) {
      ASSERT_EQ(0, Run(fill(c.run)));
    }
    if (c.made) program_.WriteFile(treeName + L"\\" + c.made, "another");
    EXPECT_EQ(c.code, Run(fill(c.asked)));
    const CsvRows rows = Report(treeName + L".csv");
    std::vector<std::string> got;
    for (const auto& row : rows) {
      ASSERT_EQ(5u, row.size());
      EXPECT_EQ(Utf8(tree) + "\\", row[2]);
      // A system's error text is not ours to fix: that there is one is enough.
      got.push_back(row[0] + "|" + row[1] + "|" + row[3] + "|" + (row[3] == "失敗" && !row[4].empty() ? "?" : row[4]));
    }
    EXPECT_EQ(c.rows, got);
  }
}

}  // namespace
}  // namespace korval
