// The macro editor and the renamer together: macros the renamer records are edited and saved in the
// editor, then played unattended by the renamer on real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "macro/macro_file.h"
#include "testing/editor_driver.h"
#include "platform/data_files.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"
#include "resources/macroedit_resource.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

// Every file below folder by its path relative to it, sorted.
std::vector<std::wstring> TreeNames(const std::wstring& folder, const std::wstring& prefix = L"") {
  std::vector<std::wstring> names;
  for (const std::wstring& name : SortedNames(folder)) {
    const std::wstring path = folder + L"\\" + name;
    if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::wstring& inner : TreeNames(path, prefix + name + L"\\")) names.push_back(inner);
    } else {
      names.push_back(prefix + name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

class MacroEditorTest : public testing::Test {
 protected:
  void SetUp() override {
    program_.WriteFile(L"use.ini", "");
    program_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmacromsec=0\r\n");
  }

  // Records a macro into slot the way the renamer's recorder writes it: header, then each step
  // from the mode parameters, then the recording moved onto the slot's file.
  void RecordWithRenamer(int slot, const std::vector<std::pair<int, ModeParams>>& steps) {
    MacroRecordingContext context;
    context.programFolder = program_.Path();
    ASSERT_EQ(kMacroWritten, AppendMacroRecord(kRecordHeader, context));
    for (const auto& [mode, params] : steps) {
      context.params = &params;
      ASSERT_EQ(kMacroWritten, AppendMacroRecord(mode, context));
    }
    ASSERT_TRUE(MoveFileExW(DataFilePath(DataFile::RecordingFile, program_.Path()).c_str(),
                            DataFilePath(DataFile::MacroFile, program_.Path(), slot).c_str(),
                            MOVEFILE_REPLACE_EXISTING));
  }

  void MakeTree(const std::wstring& root, const std::vector<std::wstring>& files) {
    ASSERT_TRUE(CreateDirectoryW((program_ / root).c_str(), nullptr));
    for (const std::wstring& file : files) {
      const size_t slash = file.find(L'\\');
      if (slash != std::wstring::npos) CreateDirectoryW((program_ / (root + L"\\" + file.substr(0, slash))).c_str(), nullptr);
      program_.WriteFile(root + L"\\" + file, "x");
    }
  }

  int Play(int slot, const std::wstring& folder, const std::wstring& options = L"") {
    ProgramRunner runner(program_, L"korvalith.exe",
                         L"/auto" + std::to_wstring(slot) + options + L" \"" + (program_ / folder) + L"\"");
    return runner.WaitForExit();
  }

  TempFolder program_;
  ScriptedMessageSink sink_;
};

ModeParams Replacement(const std::wstring& from, const std::wstring& to) {
  ModeParams p;
  p.replaceFrom = from;
  p.replaceTo = to;
  return p;
}

TEST_F(MacroEditorTest, ARecordedMacroEditedAndSavedInTheEditorIsPlayedAsEdited) {
  ModeParams wordCase;
  wordCase.bigsmall = 4;
  RecordWithRenamer(1, {{10, Replacement(L"_", L" ")}, {4, wordCase}});
  MakeTree(L"work", {L"big_red_car.txt", L"small_boat.txt"});

  EditorDriver editor(program_.Path(), {L"/macro1"});
  ASSERT_EQ(2u, editor.State().rows.size());
  editor.SelectRows({1});
  editor.Command(IDM_DELETE_ROWS);  // no capitals
  editor.Click(IDC_MODE_BUTTON + 3);
  editor.SetText(IDC_SERIAL, L"<01>-");
  editor.SelectListItem(IDC_SERIAL_POSITION, 0);
  editor.SelectRows({0});
  editor.Command(IDM_ADD_STEP);  // serial numbers after the replacement
  editor.Click(IDC_MODE_BUTTON + 2);
  editor.SetText(IDC_EXTENSION, L"md");
  editor.SelectRows({});
  editor.Command(IDM_ADD_STEP);  // a new extension first
  ASSERT_EQ((std::vector<std::wstring>{L"拡張子", L"置換", L"連番 (123...)"}), editor.Column(0));
  editor.AnswerSaveName(1, L"edited");
  editor.Click(IDC_SAVE_AS);
  ASSERT_TRUE(sink_.requests.empty());
  ASSERT_TRUE(editor.Close());

  ASSERT_EQ(0, Play(2, L"work"));
  EXPECT_EQ((std::vector<std::wstring>{L"01-big red car.md", L"02-small boat.md"}), TreeNames(program_ / L"work"));
}

TEST_F(MacroEditorTest, AReducedMacroGivesTheSameNamesAsTheUnreducedOne) {
  std::vector<std::pair<int, ModeParams>> steps = {
      {10, Replacement(L"_", L" ")}, {10, Replacement(L"x", L"X")}, {10, Replacement(L"1", L"one")},
      {10, Replacement(L"-", L"+")}, {10, Replacement(L"q", L"Q")}};
  ModeParams withExtension = Replacement(L"t", L"T");  // other options: it breaks the run
  withExtension.repwithext = 1;
  steps.push_back({10, withExtension});
  steps.push_back({10, Replacement(L"z", L"zz")});
  steps.push_back({10, Replacement(L"e", L"E")});
  RecordWithRenamer(1, steps);
  const std::vector<std::wstring> files = {L"a_x1-q.txt", L"d1\\b_z_e 23.txt", L"d1\\x-x-x.dat", L"d2\\q1_e.txt",
                                           L"d2\\plain.txt"};
  MakeTree(L"unreduced", files);
  MakeTree(L"reduced", files);

  EditorDriver editor(program_.Path(), {L"/macro1"});
  ASSERT_EQ(8u, editor.State().rows.size());
  editor.AnswerReduce(2);  // four parts at most
  editor.AnswerSaveName(1, L"reduced");
  editor.Command(IDM_REDUCE);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(L"手順の数が削減されました。\n8　→　4\n\n名前を付けて保存しますか。", sink_.requests[0].text);
  ASSERT_TRUE(editor.Close());

  ASSERT_EQ(0, Play(1, L"unreduced", L" /subfolder1"));
  ASSERT_EQ(0, Play(2, L"reduced", L" /subfolder1"));
  const std::vector<std::wstring> unreduced = TreeNames(program_ / L"unreduced");
  EXPECT_EQ((std::vector<std::wstring>{L"a XonE+Q.TxT", L"d1\\X+X+X.daT", L"d1\\b zz E 23.TxT", L"d2\\QonE E.TxT",
                                        L"d2\\plain.TxT"}),
            unreduced);
  EXPECT_EQ(unreduced, TreeNames(program_ / L"reduced"));
}

}  // namespace
}  // namespace korval
