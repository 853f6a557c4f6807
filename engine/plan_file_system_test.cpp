// A plan is the execution run on a file system that changes nothing: for each case the plan leaves
// its tree as it was, and the run on an identical tree does what the plan recorded, row for row.
#include "engine/plan_file_system.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/execute_changes.h"
#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct PlanRow {
  const wchar_t* folder;  // below the tree, "" or ending in a backslash
  const wchar_t* oldName;
  const wchar_t* newName;
};

struct PlanCase {
  const char* what;
  std::vector<const wchar_t*> files;    // below the tree; a name ending in a backslash is a folder
  std::vector<PlanRow> rows;
  int collisionOption;
  bool wholeTree;                       // folders with everything below them: rows follow their folder
  int force1;
  std::vector<RowOutcome> outcomes;     // of the run, in list order
};

void MakeTree(const std::wstring& root, const std::vector<const wchar_t*>& files) {
  CreateDirectoryW(root.c_str(), nullptr);
  for (const std::wstring name : files) {
    const std::wstring path = root + name;
    if (name.back() == L'\\') {
      CreateDirectoryW(path.c_str(), nullptr);
      continue;
    }
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
  }
}

std::vector<std::wstring> TreeState(const std::wstring& root) {
  std::vector<std::wstring> state;
  for (const std::wstring& name : SortedNames(root)) {
    state.push_back(name);
    if (GetFileAttributesW((root + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::wstring& inner : TreeState(root + name + L"\\")) state.push_back(name + L"\\" + inner);
    }
  }
  return state;
}

RunRecord Execute(const PlanCase& c, const std::wstring& root, FileSystem& fs, bool plan) {
  RenameList list;
  for (const PlanRow& row : c.rows) list.Append({row.oldName, L"", root + row.folder, row.newName, L"", L"", ItemStatus::None, false});
  PanelValues panel;
  ModeParams params;
  RunState state;
  RunRecord record;
  record.plan = plan;
  ExecuteContext context;
  context.list = &list;
  context.mode = kModeCsvNames;  // the names are set on the rows
  context.panel = &panel;
  context.params = &params;
  context.histories.switches = 0;
  context.state = &state;
  context.fs = &fs;
  context.programFolder = root;
  context.options.chgconfirm = 0;
  context.options.writelog = 0;
  context.options.collisionOption = c.collisionOption;
  context.options.force1 = c.force1;
  context.options.fileDir = c.wholeTree ? 1 : 0;
  context.options.filefolder = c.wholeTree ? 1 : 0;
  context.options.folderread = c.wholeTree ? 2 : 0;
  EXPECT_EQ(0, ExecuteChanges(RunKind::Preview, context));
  context.record = &record;
  EXPECT_EQ(0, ExecuteChanges(RunKind::Execute, context));
  return record;
}

TEST(PlanFileSystem, ThePlanRecordsWhatTheRunThenDoes) {
  SetMessagePolicy({true, false, false, false});  // unattended: no boxes
  using O = RowOutcome;
  const std::wstring tooLong = std::wstring(300, L'n') + L".txt";
  const PlanCase cases[] = {
      {"a chain settled by the serial clean-up", {L"a.txt", L"b.txt"}, {{L"", L"a.txt", L"b.txt"}, {L"", L"b.txt", L"c.txt"}},
       8, false, 0, {O::Changed, O::Changed}},
      {"a chain without serials", {L"a.txt", L"b.txt"}, {{L"", L"a.txt", L"b.txt"}, {L"", L"b.txt", L"c.txt"}},
       0, false, 0, {O::Skipped, O::Changed}},
      {"two rows wanting one name", {L"a.txt", L"b.txt"}, {{L"", L"a.txt", L"z.txt"}, {L"", L"b.txt", L"Z.TXT"}},
       8, false, 0, {O::Changed, O::Changed}},
      {"a change of letter case only", {L"a.txt"}, {{L"", L"a.txt", L"A.txt"}}, 8, false, 0, {O::Changed}},
      {"a refused name and a missing source", {L"a.txt"}, {{L"", L"a.txt", L"a?b.txt"}, {L"", L"gone.txt", L"g.txt"}},
       8, false, 0, {O::Skipped, O::Skipped}},
      {"a forced name the system refuses", {L"a.txt"}, {{L"", L"a.txt", L"a?b.txt"}}, 8, false, 1, {O::Failed}},
      {"a name too long for its folder", {L"a.txt"}, {{L"", L"a.txt", tooLong.c_str()}}, 8, false, 0, {O::Skipped}},
      {"a forced name too long for its folder", {L"a.txt"}, {{L"", L"a.txt", tooLong.c_str()}}, 8, false, 1,
       {O::Skipped}},
      {"rows inside a renamed folder", {L"old\\", L"old\\deep\\", L"old\\deep\\f.txt"},
       {{L"", L"old", L"new"}, {L"old\\", L"deep", L"deeper"}, {L"old\\deep\\", L"f.txt", L"g.txt"}},
       8, true, 0, {O::Changed, O::Changed, O::Changed}},
  };
  TempFolder temp;
  int n = 0;
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring planRoot = temp / (L"plan" + std::to_wstring(n) + L"\\");
    const std::wstring runRoot = temp / (L"run" + std::to_wstring(n++) + L"\\");
    MakeTree(planRoot, c.files);
    MakeTree(runRoot, c.files);
    const std::vector<std::wstring> before = TreeState(planRoot);
    PlanFileSystem planFs;
    const RunRecord plan = Execute(c, planRoot, planFs, true);
    EXPECT_EQ(before, TreeState(planRoot)) << "the plan changed the disk";
    const RunRecord run = Execute(c, runRoot, SystemFileSystem(), false);
    ASSERT_EQ(c.outcomes.size(), run.rows.size());
    ASSERT_EQ(run.rows.size(), plan.rows.size());
    for (size_t i = 0; i < run.rows.size(); ++i) {
      const ReportRow& p = plan.rows[i];
      const ReportRow& r = run.rows[i];
      EXPECT_EQ(c.outcomes[i], r.outcome) << i << " " << Utf8(r.newName) << " " << Utf8(r.reason);
      EXPECT_EQ(r.outcome, p.outcome) << i;
      EXPECT_EQ(r.oldName, p.oldName) << i;
      EXPECT_EQ(r.newName, p.newName) << i;
      EXPECT_EQ(r.folder.substr(runRoot.size()), p.folder.substr(planRoot.size())) << i;
      if (r.outcome != RowOutcome::Changed) {
        EXPECT_EQ(Utf8(r.reason), Utf8(p.reason)) << i;
        EXPECT_EQ(c.rows[i].newName, r.newName) << i << ": a row left alone is reported with its whole new name";
      }
    }
  }
  SetMessagePolicy({});
}

// After the plan renamed an item (twice, or into another folder), reading it still reads the item
// on the disk under the name it has there.
TEST(PlanFileSystem, ARenamedItemIsStillReadFromWhereItIsOnTheDisk) {
  TempFolder temp;
  const std::wstring root = temp / L"t\\";
  MakeTree(root, {L"a.txt", L"b.txt", L"other\\"});
  for (const wchar_t* name : {L"a.txt", L"b.txt"}) {
    HANDLE h = CreateFileW((root + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, name, 2, &written, nullptr);
    CloseHandle(h);
  }
  PlanFileSystem plan;
  ASSERT_TRUE(plan.Move((root + L"a.txt").c_str(), (root + L"c.txt").c_str()));
  ASSERT_TRUE(plan.Move((root + L"c.txt").c_str(), (root + L"d.txt").c_str()));
  ASSERT_TRUE(plan.Move((root + L"b.txt").c_str(), (root + L"other\\e.txt").c_str()));
  EXPECT_FALSE(plan.Find((root + L"a.txt").c_str(), nullptr));
  EXPECT_FALSE(plan.Move((root + L"d.txt").c_str(), (root + L"other\\E.TXT").c_str())) << "the name is taken";
  for (const auto& [planned, first] : {std::pair{L"d.txt", 'a'}, std::pair{L"other\\e.txt", 'b'}}) {
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(plan.ReadHead((root + planned).c_str(), 2, FILE_SHARE_READ, bytes));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(first, bytes[0]);
    FILETIME write{};
    EXPECT_TRUE(plan.GetTimes((root + planned).c_str(), nullptr, nullptr, &write));
  }
  EXPECT_TRUE(GetFileAttributesW((root + L"a.txt").c_str()) != INVALID_FILE_ATTRIBUTES) << "the disk is unchanged";
}

}  // namespace
}  // namespace korval
