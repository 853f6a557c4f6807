#include "engine/execute_changes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/checked_rename.h"
#include "engine/collision.h"
#include "engine/timestamp_mode.h"
#include "engine/list_filter.h"
#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "testing/faulty_file_system.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// A program folder for the logs and a work folder with the files; names are set on the rows
// directly (the CSV mode computes nothing), then previewed and executed as the window does.
class ExecuteTest : public testing::Test {
 protected:
  void SetUp() override {
    SetMessagePolicy({});
    CreateDirectoryW((program_ / L"work").c_str(), nullptr);
    work_ = program_ / L"work\\";
    context_.list = &list_;
    context_.mode = kModeCsvNames;
    context_.panel = &panel_;
    context_.params = &params_;
    context_.histories.switches = 0;
    context_.state = &state_;
    context_.fs = &fs_;
    context_.programFolder = program_.Path();
    context_.options.chgconfirm = 0;
    context_.options.del = 2;  // keep the rows, marked
  }

  void File(const std::wstring& name, const std::string& content) {
    HANDLE h = CreateFileW((work_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
  }
  std::string Content(const std::wstring& name) { return program_.ReadFile(work_ + name); }
  bool Exists(const std::wstring& name) { return GetFileAttributesW((work_ + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

  void Row(const std::wstring& oldName, const std::wstring& newName) {
    const size_t dot = oldName.rfind(L'.');
    list_.Append({oldName, dot == std::wstring::npos ? L"" : oldName.substr(dot), work_, newName, L"", L"",
                  ItemStatus::None, false});
  }

  RunReport PreviewAndExecute() {
    RunReport report;
    EXPECT_EQ(0, ExecuteChanges(RunKind::Preview, context_, &report));
    EXPECT_EQ(0, ExecuteChanges(RunKind::Execute, context_, &report));
    return report;
  }

  // The lines of a log slot, without the byte order mark, as UTF-16 text.
  std::wstring Log(int slot) {
    const std::string bytes = program_.ReadFile(L"rename" + std::to_wstring(slot) + L".log");
    if (bytes.size() < 2) return L"";
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  }

  TempFolder program_;
  std::wstring work_;
  RenameList list_;
  PanelValues panel_;
  ModeParams params_;
  RunState state_;
  FaultyFileSystem fs_;
  ExecuteContext context_;
};

TEST_F(ExecuteTest, ChainWithSerialIsSettledByTheCleanUpPass) {
  File(L"a.txt", "A");
  File(L"b.txt", "B");
  Row(L"a.txt", L"b.txt");
  Row(L"b.txt", L"c.txt");
  context_.options.collisionOption = 8;
  const RunReport report = PreviewAndExecute();
  EXPECT_EQ(2, report.changed);
  EXPECT_EQ(0, report.serialRows);
  EXPECT_EQ("A", Content(L"b.txt"));
  EXPECT_EQ("B", Content(L"c.txt"));
  EXPECT_FALSE(Exists(L"a.txt"));
  EXPECT_FALSE(Exists(L"b(1).txt"));
  const std::wstring w = work_;
  EXPECT_EQ(L"\"" + w + L"a.txt\",\"" + w + L"b(1).txt\",\"<NORMAL>\"\r\n\"" + w + L"b.txt\",\"" + w +
                L"c.txt\",\"<NORMAL>\"\r\n\"" + w + L"b(1).txt\",\"" + w + L"b.txt\",\"<NORMAL>\"\r\n",
            Log(1));
  EXPECT_FALSE(program_.Exists(L"rename0.log"));
}

TEST_F(ExecuteTest, ChainWithoutSerialLeavesTheBlockedRow) {
  File(L"a.txt", "A");
  File(L"b.txt", "B");
  Row(L"a.txt", L"b.txt");
  Row(L"b.txt", L"c.txt");
  context_.options.collisionOption = 0;
  const RunReport report = PreviewAndExecute();
  EXPECT_EQ(1, report.changed);
  EXPECT_EQ("A", Content(L"a.txt"));
  EXPECT_EQ("B", Content(L"c.txt"));
  EXPECT_EQ(ItemStatus::Failed, list_.Status(0));
  EXPECT_EQ(ItemStatus::Succeeded, list_.Status(1));
}

TEST_F(ExecuteTest, CollisionSerialFormatsAndPadding) {
  File(L"abc.txt", "x");
  LiveExistence fs;
  std::wstring path = work_ + L"abc.txt";
  CollisionOptions options{8 | 3, 2, 0, 0};
  ASSERT_EQ(0, MakeSerialSuffixName(path, options, fs));
  EXPECT_EQ(work_ + L"(001)abc.txt", path);
  File(L"(001)abc.txt", "y");
  path = work_ + L"abc.txt";
  ASSERT_EQ(0, MakeSerialSuffixName(path, options, fs));
  EXPECT_EQ(work_ + L"(002)abc.txt", path);
  struct Case { int format; int pad; int begin; const wchar_t* name; };
  const Case cases[] = {{0, 0, 0, L"abc(1).txt"}, {1, 1, 0, L"abc[01].txt"}, {2, 0, 1, L"abc_2.txt"},
                        {4, 0, 0, L"[1]abc.txt"}, {5, 0, 0, L"1_abc.txt"},   {7, 0, 0, L"1_abc.txt"}};
  for (const Case& c : cases) {
    path = work_ + L"abc.txt";
    ASSERT_EQ(0, MakeSerialSuffixName(path, CollisionOptions{8 | c.format, c.pad, c.begin, 0}, fs));
    EXPECT_EQ(work_ + c.name, path) << c.format;
  }
  path = work_ + L"My.Folder";
  ASSERT_EQ(0, MakeSerialSuffixName(path, CollisionOptions{8, 0, 0, 1}, fs));
  EXPECT_EQ(work_ + L"My.Folder(1)", path);
}

TEST_F(ExecuteTest, DecliningTheStartChangesNothingAndRotatesNoSlot) {
  File(L"x.txt", "x");
  program_.WriteFile(L"rename1.log", "older run");
  Row(L"x.txt", L"y.txt");
  context_.options.chgconfirm = 1;
  ScriptedMessageSink sink;
  sink.Answer(IDNO);
  const RunReport report = PreviewAndExecute();
  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(L"変更を開始しますか。", sink.requests[0].text);
  EXPECT_EQ(L"Rename?", sink.requests[0].caption);
  EXPECT_EQ(0, report.changed);
  EXPECT_TRUE(Exists(L"x.txt"));
  EXPECT_EQ("older run", program_.ReadFile(L"rename1.log"));
  EXPECT_FALSE(program_.Exists(L"rename0.log"));
  EXPECT_FALSE(program_.Exists(L"rename2.log"));
}

// The window refuses drops and hand-overs while a pass runs, also while one of its questions is open.
TEST_F(ExecuteTest, APassIsMarkedRunningWhileItsQuestionsAreOpen) {
  struct WatchingSink final : MessageSink {
    const RunState* state = nullptr;
    std::vector<bool> runningWhenAsked;
    int Show(const MessageRequest&) override {
      runningWhenAsked.push_back(state->passRunning);
      return IDYES;
    }
  } sink;
  sink.state = &state_;
  MessageSink* previous = SetMessageSink(&sink);
  File(L"x.txt", "x");
  Row(L"x.txt", L"y.txt");
  context_.options.chgconfirm = 1;
  PreviewAndExecute();
  SetMessageSink(previous);
  EXPECT_EQ(std::vector<bool>{true}, sink.runningWhenAsked);
  EXPECT_FALSE(state_.passRunning);
  EXPECT_TRUE(Exists(L"y.txt"));
}

TEST_F(ExecuteTest, ContinueTurnsAChangedRowIntoAFreshRow) {
  File(L"x.txt", "x");
  Row(L"x.txt", L"y.jpg");
  context_.options.del = 3;
  PreviewAndExecute();
  ASSERT_EQ(1u, list_.Count());
  EXPECT_EQ(L"y.jpg", list_.Row(0).oldName);
  EXPECT_EQ(L".jpg", list_.Row(0).extension);
  EXPECT_EQ(work_, list_.Row(0).folder);
  EXPECT_EQ(L"", list_.Row(0).newName);
  EXPECT_EQ(ItemStatus::Succeeded, list_.Status(0));
}

TEST_F(ExecuteTest, ListAfterRunClearsAllOrOnlyTheSucceeded) {
  File(L"1.txt", "1");
  File(L"2.txt", "2");
  Row(L"1.txt", L"one.txt");
  Row(L"2.txt", L"bad:name");
  context_.options.del = 1;
  PreviewAndExecute();
  ASSERT_EQ(1u, list_.Count());
  EXPECT_EQ(L"2.txt", list_.Row(0).oldName);
  context_.options.del = 0;
  PreviewAndExecute();
  EXPECT_TRUE(list_.Empty());
}

TEST_F(ExecuteTest, APreviewNeitherTouchesTheDiskNorWritesALog) {
  File(L"a.txt", "A");
  Row(L"a.txt", L"b.txt");
  Row(L"missing.txt", L"c.txt");
  EXPECT_EQ(0, ExecuteChanges(RunKind::Preview, context_));
  EXPECT_EQ(ItemStatus::Ready, list_.Status(0));
  EXPECT_EQ(ItemStatus::SourceMissing, list_.Status(1));
  EXPECT_EQ(0, fs_.CountOf(FsCall::Move));
  EXPECT_EQ(0, fs_.CountOf(FsCall::CreateAppendFile));
  EXPECT_TRUE(state_.previewed);
  EXPECT_TRUE(state_.enterExecutes);
}

TEST_F(ExecuteTest, AutomaticRunsAnswerEveryQuestionWithoutABox) {
  File(L"a.txt", "A");
  Row(L"a.txt", L"b.txt");
  context_.options.chgconfirm = 1;
  SetMessagePolicy({true, false, false, false});
  ScriptedMessageSink sink;
  const RunReport report = PreviewAndExecute();
  EXPECT_EQ(1, report.changed);
  EXPECT_TRUE(sink.requests.empty());
  SetMessagePolicy({});
}

// Rows left alone by their status count as not changed; only those with nothing to change count
// as done. An unattended run, whose rows nobody sees, says how many it left alone.
TEST_F(ExecuteTest, RowsLeftAloneAreCountedAndAnUnattendedRunSaysWhy) {
  for (const bool automatic : {false, true}) {
    SCOPED_TRACE(automatic);
    list_.Clear();
    const struct { const wchar_t* from; const wchar_t* to; } rows[] = {
        {L"a.txt", L"ok.txt"}, {L"b.txt", L"b:c.txt"}, {L"c.txt", L"c.txt"}, {L"d.txt", L"CON"}};
    for (const auto& row : rows) {
      File(row.from, "x");
      Row(row.from, row.to);
    }
    context_.options.force4 = 0;
    SetMessagePolicy({automatic, false, true, false});
    ScriptedMessageSink sink;
    const RunReport report = PreviewAndExecute();
    SetMessagePolicy({});
    EXPECT_EQ(1, report.changed);
    EXPECT_EQ(3, report.failed);
    EXPECT_EQ(2, report.skipped);
    EXPECT_EQ(1, report.alreadyDone);
    ASSERT_EQ(automatic ? 1u : 0u, sink.requests.size());
    if (automatic) {
      EXPECT_EQ(kRowsLeftAloneCaption, sink.requests[0].caption);
      EXPECT_NE(std::wstring::npos, sink.requests[0].text.find(L"2 個")) << Utf8(sink.requests[0].text);
    }
    MoveFileW((work_ + L"ok.txt").c_str(), (work_ + L"a.txt").c_str());
  }
}

TEST_F(ExecuteTest, ASecondStepThatFailsPutsTheFileBack) {
  File(L"LONG NAME.TXT", "data");
  Row(L"LONG NAME.TXT", L"LONGNA~1.TXT");
  context_.mode = kModeCsvNames;
  context_.options.force4 = 1;
  // Two-step renames are those of the 8.3 mode; rename through it with the names preset.
  context_.mode = kModeShortName;
  state_.previewed = true;  // keep the preset name: no transform on execution
  list_.Row(0).status = ItemStatus::Ready;
  fs_.FailNth(FsCall::Move, 2, ERROR_ACCESS_DENIED);
  ScriptedMessageSink sink;
  RunReport report;
  EXPECT_EQ(0, ExecuteChanges(RunKind::Execute, context_, &report));
  EXPECT_EQ(0, report.changed);
  EXPECT_EQ("data", Content(L"LONG NAME.TXT"));
  EXPECT_FALSE(Exists(L"LONGNA~1.TXT"));
  EXPECT_FALSE(Exists(L"LONGNA~1.TXT$korval$.$"));
  ASSERT_FALSE(sink.requests.empty());
  EXPECT_EQ(L"Continue?", sink.requests.back().caption);
  EXPECT_EQ(ItemStatus::Failed, list_.Status(0));
  EXPECT_FALSE(program_.Exists(L"rename1.log"));
}

TEST_F(ExecuteTest, EmptyListAndTooLongTextsRefuseThePass) {
  EXPECT_EQ(1, ExecuteChanges(RunKind::Preview, context_));
  File(L"a.txt", "A");
  Row(L"a.txt", L"b.txt");
  context_.mode = kModeAddText;
  panel_.addstr = std::wstring(130, L'x');
  ScriptedMessageSink sink;
  EXPECT_EQ(1, ExecuteChanges(RunKind::Execute, context_));
  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(L"入力した文字数が多すぎます。", sink.requests[0].text);
  EXPECT_EQ(L"Too Many Characters", sink.requests[0].caption);
  EXPECT_TRUE(Exists(L"a.txt"));
}

TEST_F(ExecuteTest, FilteredRowsAreNeverChanged) {
  File(L"a.txt", "A");
  File(L"b.jpg", "B");
  Row(L"a.txt", L"a2.txt");
  Row(L"b.jpg", L"b2.jpg");
  context_.filterText = L"*.jpg";
  ApplyFilter(list_, FilterKind::Full, context_.filterText);
  const RunReport report = PreviewAndExecute();
  EXPECT_EQ(1, report.changed);
  EXPECT_EQ(0, report.failed);
  EXPECT_TRUE(Exists(L"a.txt"));
  EXPECT_TRUE(Exists(L"b2.jpg"));
  EXPECT_EQ(ItemStatus::Filtered, list_.Status(0));
  EXPECT_EQ(L"", list_.Row(0).newName);
}

TEST_F(ExecuteTest, EditorPreviewValidatesTheTypedNamesWithoutTransforming) {
  File(L"a.txt", "A");
  Row(L"a.txt", L"b:c.txt");
  context_.mode = kModeSerialNumber;  // would number the row if it transformed
  panel_.renbanstr = L"<1>";
  EXPECT_EQ(0, ExecuteChanges(RunKind::EditorPreview, context_));
  EXPECT_EQ(L"b:c.txt", list_.Row(0).newName);
  EXPECT_EQ(ItemStatus::InvalidName, list_.Status(0));
  EXPECT_TRUE(state_.previewed);
}

TEST_F(ExecuteTest, PerRowConfirmationSkipsOrEnds) {
  File(L"1.txt", "1");
  File(L"2.txt", "2");
  File(L"3.txt", "3");
  Row(L"1.txt", L"one.txt");
  Row(L"2.txt", L"two.txt");
  Row(L"3.txt", L"three.txt");
  context_.options.chgconfirm = 2;
  ScriptedMessageSink sink;
  sink.Answer(IDNO);
  sink.Answer(IDYES);
  sink.Answer(IDCANCEL);
  const RunReport report = PreviewAndExecute();
  ASSERT_EQ(3u, sink.requests.size());
  EXPECT_EQ(L"\"" + work_ + L"1.txt\"\n ↓\n\"" + work_ + L"one.txt\"\n\nに\n変更します。\n\nよろしいですか？",
            sink.requests[0].text);
  EXPECT_EQ(L"Rename?", sink.requests[0].caption);
  EXPECT_EQ(1, report.changed);
  EXPECT_TRUE(Exists(L"1.txt"));
  EXPECT_TRUE(Exists(L"two.txt"));
  EXPECT_TRUE(Exists(L"3.txt"));
  EXPECT_EQ(ItemStatus::Failed, list_.Status(0));
  EXPECT_EQ(ItemStatus::Succeeded, list_.Status(1));
}

TEST_F(ExecuteTest, ShiftEnterInvertsTheChoiceAndRecordingContinues) {
  File(L"1.txt", "1");
  Row(L"1.txt", L"one.txt");
  context_.options.del = 3;
  ExecuteChanges(RunKind::Preview, context_);
  state_.shiftEnter = true;  // Shift+Enter executes: Continue becomes ClearAll
  ExecuteChanges(RunKind::Execute, context_);
  EXPECT_TRUE(list_.Empty());
  EXPECT_FALSE(state_.shiftEnter);
  Row(L"one.txt", L"uno.txt");
  context_.options.del = 0;
  state_.recording = true;  // recording always continues
  PreviewAndExecute();
  ASSERT_EQ(1u, list_.Count());
  EXPECT_EQ(L"uno.txt", list_.Row(0).oldName);
}

TEST_F(ExecuteTest, RowsInsideARenamedFolderFollowIt) {
  CreateDirectoryW((work_ + L"old").c_str(), nullptr);
  CreateDirectoryW((work_ + L"old\\deep").c_str(), nullptr);
  list_.Append({L"old", L"", work_, L"new", L"", L"", ItemStatus::None, false});
  list_.Append({L"deep", L"", work_ + L"old\\", L"deeper", L"", L"", ItemStatus::None, false});
  list_.Append({L"oldish", L"", work_, L"", L"", L"", ItemStatus::None, false});
  context_.options.filefolder = 1;
  context_.options.folderread = 2;
  context_.options.fileDir = 1;
  const RunReport report = PreviewAndExecute();
  EXPECT_EQ(2, report.changed);
  EXPECT_TRUE(Exists(L"new\\deeper"));
  EXPECT_EQ(work_ + L"new\\", list_.Row(1).folder);
  EXPECT_EQ(work_, list_.Row(2).folder);
}

TEST_F(ExecuteTest, RemainingSerialsAreReportedAndProgressRuns) {
  File(L"a.txt", "A");
  File(L"b.txt", "B");
  Row(L"a.txt", L"b.txt");
  std::vector<int> progress;
  context_.progress = [&](int percent) { progress.push_back(percent); };
  ScriptedMessageSink sink;
  const RunReport report = PreviewAndExecute();
  EXPECT_EQ(1, report.serialRows);
  EXPECT_EQ("A", Content(L"b(1).txt"));
  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(L"同名のファイルがあったため、連番を付与したファイルがあります。", sink.requests[0].text);
  EXPECT_EQ(L"Added Serial Number", sink.requests[0].caption);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(100, *std::max_element(progress.begin(), progress.end()));
  EXPECT_EQ(0, progress.back());
}

TEST_F(ExecuteTest, TimeStampsAreLoggedAndTheDateColumnFollows) {
  File(L"t.txt", "t");
  Row(L"t.txt", L"");
  context_.mode = kModeTimestamp;
  panel_.creatmodif = 1;  // the modification time
  panel_.baseDate = L"2021/03/04";
  panel_.baseTime = L"05:06:07";
  context_.options.del = 3;
  context_.options.dateColumnShown = true;
  context_.options.columndate = 1;
  const RunReport report = PreviewAndExecute();
  EXPECT_EQ(1, report.changed);
  EXPECT_EQ(L"2021/03/04 05:06:07", list_.Row(0).date);
  const std::wstring log = Log(1);
  EXPECT_EQ(0u, log.find(L"\"" + work_ + L"t.txt\",\"<作成：")) << Utf8(log);
  EXPECT_NE(std::wstring::npos, log.find(L"\"<TIMESTAMP>\"\r\n"));
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

TEST_F(ExecuteTest, AnUnchangedTimeStampRowSucceedsUnloggedAndThePassGoesOn) {
  File(L"same.txt", "s");
  File(L"t.txt", "t");
  Row(L"same.txt", kTimestampUnchanged);
  Row(L"t.txt", L"<更新：2021/03/04 05:06:07>");
  list_.Row(0).status = ItemStatus::InvalidName;  // taken on by force1
  list_.Row(1).status = ItemStatus::Ready;
  context_.mode = kModeTimestamp;
  context_.options.force1 = 1;
  state_.previewed = true;
  ScriptedMessageSink sink;
  RunReport report;
  EXPECT_EQ(0, ExecuteChanges(RunKind::Execute, context_, &report));
  EXPECT_TRUE(sink.requests.empty());
  EXPECT_EQ(2, report.changed);
  EXPECT_EQ(ItemStatus::Succeeded, list_.Status(0));
  EXPECT_EQ(ItemStatus::Succeeded, list_.Status(1));
  const std::wstring log = Log(1);
  EXPECT_EQ(0u, log.find(L"\"" + work_ + L"t.txt\",")) << Utf8(log);
  EXPECT_EQ(std::wstring::npos, log.find(L"same.txt"));
}

TEST_F(ExecuteTest, CaseOnlyRenamesWorkUpToThePathLimit) {
  for (const size_t length : {work_.size() + 10, size_t{250}, size_t{255}}) {
    const std::wstring name = std::wstring(length - work_.size() - 4, L'a') + L".txt";
    std::wstring upper = name;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    File(name, "x");
    list_.Clear();
    Row(name, upper);
    ScriptedMessageSink sink;
    const RunReport report = PreviewAndExecute();
    EXPECT_EQ(1, report.changed) << length;
    WIN32_FIND_DATAW found{};
    ASSERT_TRUE(fs_.Find((work_ + upper).c_str(), &found)) << length;
    EXPECT_EQ(upper, found.cFileName) << length;
    EXPECT_EQ("x", Content(upper));
    // Nothing but the file itself is left in the folder.
    int entries = 0;
    fs_.ListFolder(work_.c_str(), [&](const WIN32_FIND_DATAW&) { ++entries; });
    EXPECT_EQ(1, entries) << length;
    DeleteFileW((work_ + upper).c_str());
  }
}

// A preview marks the names the system would refuse, and its hint says why for the first of them.
TEST_F(ExecuteTest, APreviewMarksRefusedNamesAndSaysWhyInTheHint) {
  const struct { const wchar_t* from; const wchar_t* to; } rows[] = {
      {L"a.txt", L"ok.txt"}, {L"b.txt", L"NUL.txt"}, {L"c.txt", L"c.txt."}};
  for (const auto& row : rows) {
    File(row.from, "x");
    Row(row.from, row.to);
  }
  RunReport report;
  ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, context_, &report));
  EXPECT_EQ(ItemStatus::Ready, list_.Status(0));
  EXPECT_EQ(ItemStatus::InvalidName, list_.Status(1));
  EXPECT_EQ(ItemStatus::InvalidName, list_.Status(2));
  EXPECT_EQ(0u, report.hint.find(L"NUL.txt : ")) << Utf8(report.hint);
  ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, context_, &report));
  EXPECT_EQ(1, report.changed);
  EXPECT_TRUE(Exists(L"b.txt"));
  EXPECT_TRUE(Exists(L"c.txt"));
}

// In a case-sensitive folder another item may carry the new spelling: the system refuses the direct
// rename, and that refusal is final. Nothing is parked under a temporary name.
TEST(CheckedRename, ARefusedCaseOnlyRenameTouchesNothingElse) {
  TempFolder dir;
  const std::wstring from = dir.WriteFile(L"abc.txt", "lower");
  const std::wstring to = dir / L"ABC.txt";
  FaultyFileSystem fs;
  fs.FailWhen([&](const FsCallRecord& r) { return r.call == FsCall::Move && r.target == to; }, ERROR_ALREADY_EXISTS);
  std::wstring parkedAt;
  EXPECT_FALSE(RenameChecked(fs, from, to, false, &parkedAt));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
  EXPECT_EQ(1, fs.CountOf(FsCall::Move));
  EXPECT_TRUE(parkedAt.empty());
  EXPECT_EQ("lower", dir.ReadFile(L"abc.txt"));
  EXPECT_FALSE(dir.Exists(L"ABC.txt$korval$.$"));
}

TEST(CheckedRename, TheTemporaryNameIsNeverLongerThanTheTarget) {
  struct Case { std::wstring target, temp; };
  const std::wstring folder = L"C:\\" + std::wstring(250, L'f') + L"\\";
  const Case cases[] = {
      {L"C:\\d\\a.txt", L"C:\\d\\a.txt$korval$.$"},
      {folder + L"abcdefghijklm.txt", folder + L"abcdefghijklm.$k$"},
      {folder + L"ab", folder + L"$k"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.temp, TempName(c.target));
}

}  // namespace
}  // namespace korval
