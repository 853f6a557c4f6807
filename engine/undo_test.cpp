#include "engine/undo.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "platform/path_limits.h"
#include "testing/ask_script.h"
#include "engine/change_log.h"
#include "testing/deep_tree.h"
#include "testing/memory_file_system.h"
#include "engine/rename_one.h"
#include "engine/undo_preview.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

std::string Utf16(const std::wstring& text) {
  std::string bytes("\xFF\xFE", 2);
  for (const wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::wstring Slot(int slot) { return ChangeLogPath(L"", slot); }

// The list of an undo of the given log text, loaded from slot 1 of dir.
RenameList LoadText(const TempFolder& dir, const std::wstring& text, AskScript& ask) {
  dir.WriteFile(Slot(1), Utf16(text));
  RenameList list;
  EXPECT_NE(UndoLoadResult::CannotOpen, LoadUndoList(list, dir.Path(), 1, ask.Callback()));
  return list;
}

std::wstring Rename(const std::wstring& from, const std::wstring& to, const std::wstring& tag = L"<NORMAL>") {
  return L"\"" + from + L"\",\"" + to + L"\",\"" + tag + L"\"\r\n";
}

// The renames among the calls the file system saw.
std::vector<FsCallRecord> Moves(const FaultyFileSystem& fs) {
  std::vector<FsCallRecord> moves;
  for (const FsCallRecord& call : fs.calls) {
    if (call.call == FsCall::Move) moves.push_back(call);
  }
  return moves;
}

FILETIME WriteTimeOf(const std::wstring& path) {
  FILETIME write{};
  EXPECT_TRUE(SystemFileSystem().GetTimes(path.c_str(), nullptr, nullptr, &write));
  return write;
}

TEST(UndoListDisplay, FormAndBack) {
  const struct {
    std::wstring field, shown;
  } cases[] = {
      {L"C:\\dir\\name.txt", L"name.txt : C:\\dir\\"},
      {L"C:\\name", L"name : C:\\"},
      {L"C:\\dir\\", L" : C:\\dir\\"},
      {L"name", L"name : "},
      {L"", L" : "},
      {L"<作成：2019/03/04 05:06:07, 更新：2020/12/31 23:59:58>", L"<作成：2019/03/04 05:06:07, 更新：2020/12/31 23:59:58>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.shown, UndoDisplayForm(c.field)) << Utf8(c.field);
    EXPECT_EQ(c.field, PathFromUndoDisplay(c.shown)) << Utf8(c.field);
  }
  const std::wstring longest = L"C:\\" + std::wstring(200, L'd') + L"\\" + std::wstring(55, L'n');
  ASSERT_EQ(259u, longest.size());
  EXPECT_EQ(262u, UndoDisplayForm(longest).size());  // kept whole, or the path could not come back
  EXPECT_EQ(longest, PathFromUndoDisplay(UndoDisplayForm(longest)));
}

TEST(UndoListLoad, RowsOfTheThreeKinds) {
  TempFolder dir;
  AttributeFlags flags{L'Y', L'N', L'N', L'Y'};
  OldFileTimes times;
  times.reported = kTimesBoth;
  times.localCreation = SYSTEMTIME{2019, 3, 0, 4, 5, 6, 7, 0};
  times.localModification = SYSTEMTIME{2020, 12, 0, 31, 23, 59, 58, 0};
  {
    ChangeLog log;
    ASSERT_TRUE(log.Open(dir.Path()));
    log.AppendRename(L"C:\\d\\旧.txt", L"C:\\e\\新.txt");
    log.AppendTimestamp(L"C:\\d\\t.txt", times);
    log.AppendAttributes(L"C:\\d\\a.txt", flags);
  }
  RenameList list;
  list.Append(RenameItem{L"left over", L".txt", L"C:\\", L"", L"", L"", ItemStatus::Ready});
  AskScript ask;
  EXPECT_EQ(UndoLoadResult::Loaded, LoadUndoList(list, dir.Path(), 1, ask.Callback()));
  EXPECT_TRUE(ask.asked.empty());
  EXPECT_TRUE(list.undoMode);
  ASSERT_EQ(3u, list.Count());
  const struct {
    std::wstring column0, tag, column3;
  } rows[] = {
      {L"新.txt : C:\\e\\", L"<NORMAL>", L"旧.txt : C:\\d\\"},
      {L"<作成：2019/03/04 05:06:07, 更新：2020/12/31 23:59:58>", L"<TIMESTAMP>", L"t.txt : C:\\d\\"},
      {L"<読：Y, 隠：N, ア：N, シ：Y>", L"<ATTRIBUTE>", L"a.txt : C:\\d\\"},
  };
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(rows[i].column0, list.Text(i, Column::OldName)) << i;
    EXPECT_EQ(L" ", list.Text(i, Column::Extension)) << i;
    EXPECT_EQ(rows[i].tag, list.Text(i, Column::Folder)) << i;
    EXPECT_EQ(rows[i].column3, list.Text(i, Column::NewName)) << i;
    EXPECT_EQ(L"", list.Text(i, Column::Size)) << i;
    EXPECT_EQ(L"", list.Text(i, Column::Date)) << i;
    // None of these items exists here: the rows say so before the undo runs.
    EXPECT_EQ(ItemStatus::SourceMissing, list.Status(i)) << i;
  }
}

// Before anything is renamed the rows show what the undo will meet, counting the names that the
// reverts before them (the log walked backwards) free or take: a cycle, a folder and a file inside
// it all come back; a missing file and a taken old name are marked.
TEST(UndoListLoad, RowsShowAMissingItemOrATakenNameBeforeTheUndo) {
  TempFolder dir;
  const std::wstring d = dir.Path();
  dir.WriteFile(L"a.txt", "c");
  dir.WriteFile(L"b.txt", "a");
  dir.WriteFile(L"c.txt", "b");
  CreateDirectoryW((dir / L"x1").c_str(), nullptr);
  dir.WriteFile(L"x1\\y.txt", "y");
  dir.WriteFile(L"taken.txt", "t");
  dir.WriteFile(L"new.txt", "n");
  dir.WriteFile(L"parked.txt$korval$.$", "p");  // a run cut short between its two steps
  const std::wstring log = Rename(d + L"a.txt", d + L"b(1).txt") + Rename(d + L"b.txt", d + L"c(1).txt") +
                           Rename(d + L"c.txt", d + L"a.txt") + Rename(d + L"b(1).txt", d + L"b.txt") +
                           Rename(d + L"c(1).txt", d + L"c.txt") + Rename(d + L"a1\\z.txt", d + L"a1\\y.txt") +
                           Rename(d + L"a1", d + L"x1") + Rename(d + L"was.txt", d + L"parked.txt") +
                           Rename(d + L"gone.txt", d + L"missing.txt") + Rename(d + L"taken.txt", d + L"new.txt");
  AskScript ask;
  const RenameList list = LoadText(dir, log, ask);
  ASSERT_EQ(10u, list.Count());
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(ItemStatus::UndoEntry, list.Status(i)) << i;
  EXPECT_EQ(ItemStatus::SourceMissing, list.Status(8));
  EXPECT_EQ(ItemStatus::TargetExists, list.Status(9));
}

TEST(UndoListLoad, ALineWithFourQuotesIsPassedOver) {
  TempFolder dir;
  AskScript ask;
  const RenameList list =
      LoadText(dir, Rename(L"C:\\a", L"C:\\b") + L"\"C:\\c\",\"C:\\d\"\r\n" + Rename(L"C:\\e", L"C:\\f"), ask);
  ASSERT_EQ(2u, list.Count());
  EXPECT_EQ(L"b : C:\\", list.Text(0, Column::OldName));
  EXPECT_EQ(L"f : C:\\", list.Text(1, Column::OldName));
}

TEST(UndoListLoad, ASlotThatCannotBeOpened) {
  TempFolder dir;
  RenameList list;
  list.Append(RenameItem{L"keep.txt", L".txt", L"C:\\", L"", L"", L"", ItemStatus::Ready});
  AskScript ask;
  EXPECT_EQ(UndoLoadResult::CannotOpen, LoadUndoList(list, dir.Path(), 1, ask.Callback()));
  ASSERT_EQ(1u, ask.asked.size());
  EXPECT_EQ(MessageKind::Plain, ask.asked[0].kind);
  EXPECT_EQ(static_cast<int>(MB_ICONINFORMATION), ask.asked[0].modeOrFlags);
  EXPECT_EQ(L"Can't Open File!", ask.asked[0].s1);
  EXPECT_EQ(L"ログファイルが開けませんでした。", ask.asked[0].s2);
  EXPECT_EQ(MessageClass::Error, ask.asked[0].messageClass);
  EXPECT_FALSE(list.undoMode);
  EXPECT_EQ(1u, list.Count());  // the user's list is not lost

  // From undo mode (another slot chosen in the selector) the undo rows go and the mode ends.
  for (const int slot : {2, 10, -1}) {
    list.undoMode = true;
    EXPECT_EQ(UndoLoadResult::CannotOpen, LoadUndoList(list, dir.Path(), slot, ask.Callback())) << slot;
    EXPECT_FALSE(list.undoMode);
    EXPECT_TRUE(list.Empty());
  }
  EXPECT_EQ(UndoLoadResult::CannotOpen, LoadUndoList(list, L"", 1, ask.Callback()));
}

TEST(UndoListLoad, ALogWithoutUsableLines) {
  for (const std::wstring& text : {std::wstring(), std::wstring(L"\"a\",\"b\"\r\n")}) {
    TempFolder dir;
    dir.WriteFile(Slot(3), Utf16(text));
    RenameList list;
    AskScript ask;
    EXPECT_EQ(UndoLoadResult::Empty, LoadUndoList(list, dir.Path(), 3, ask.Callback()));
    EXPECT_TRUE(list.undoMode);
    EXPECT_TRUE(list.Empty());
    ASSERT_EQ(1u, ask.asked.size());
    EXPECT_EQ(L"Empty List", ask.asked[0].s1);
    EXPECT_EQ(L"変更するファイルリストが空です。", ask.asked[0].s2);
    EXPECT_EQ(static_cast<int>(MB_OK), ask.asked[0].modeOrFlags);
    EXPECT_EQ(MessageClass::Info, ask.asked[0].messageClass);
  }
}

TEST(UndoListLoad, RandomFilesNeverCrash) {
  TempFolder dir;
  std::mt19937 random(777);
  for (int round = 0; round < 40; ++round) {
    std::string bytes(random() % 20000, '\0');
    for (char& b : bytes) {
      const unsigned pick = random() % 16;
      b = pick == 0 ? '"' : pick == 1 ? '\n' : pick == 2 ? '\0' : static_cast<char>(random());
    }
    dir.WriteFile(Slot(1), bytes);
    RenameList list;
    LoadUndoList(list, dir.Path(), 1, AskUser());
    EXPECT_TRUE(list.undoMode);
    for (const RenameItem& row : list.Rows()) {
      ASSERT_LE(row.oldName.size(), kMaxLongPathChars + 3);
      ASSERT_LE(row.newName.size(), kMaxLongPathChars + 3);
      ASSERT_LE(row.folder.size(), kMaxLongPathChars);
    }
    // Undoing the garbage only fails; it never crashes (nor touches real files: the double refuses).
    MemoryFileSystem fs;
    RunUndo(list, true, {}, fs, AskUser());
    EXPECT_TRUE(list.Empty());
  }
}

// Real renames a -> b -> c, logged as the executor logs them, then undone.
TEST(RunUndoRename, AChainGoesBackwards) {
  TempFolder dir;
  const std::wstring a = dir.WriteFile(L"a.txt", "content"), b = dir / L"b.txt", c = dir / L"c.txt";
  {
    ChangeLog log;
    ASSERT_TRUE(log.Open(dir.Path()));
    ASSERT_TRUE(MoveFileW(a.c_str(), b.c_str()));
    log.AppendRename(a, b);
    ASSERT_TRUE(MoveFileW(b.c_str(), c.c_str()));
    log.AppendRename(b, c);
  }
  RenameList list;
  AskScript ask;
  ASSERT_EQ(UndoLoadResult::Loaded, LoadUndoList(list, dir.Path(), 1, ask.Callback()));
  FaultyFileSystem fs;
  std::vector<int> progress;
  const UndoOutcome outcome =
      RunUndo(list, true, {}, fs, ask.Callback(), [&](int percent) { progress.push_back(percent); });
  EXPECT_EQ(2, outcome.undone);
  EXPECT_FALSE(outcome.stopped);
  EXPECT_EQ("content", dir.ReadFile(L"a.txt"));
  EXPECT_FALSE(dir.Exists(L"b.txt"));
  EXPECT_FALSE(dir.Exists(L"c.txt"));
  const std::vector<FsCallRecord> moves = Moves(fs);
  ASSERT_EQ(2u, moves.size());
  EXPECT_EQ(c, moves[0].path);
  EXPECT_EQ(b, moves[0].target);
  EXPECT_EQ(b, moves[1].path);
  EXPECT_EQ(a, moves[1].target);
  EXPECT_EQ((std::vector<int>{100, 50, 0, 0}), progress);
  EXPECT_TRUE(ask.asked.empty());
  EXPECT_FALSE(list.undoMode);
  EXPECT_TRUE(list.Empty());
  // The log is never changed by an undo; a second undo of it only reports failures.
  EXPECT_TRUE(dir.Exists(Slot(1)));
}

TEST(RunUndoRename, NeverReplacesAFile) {
  TempFolder dir;
  const std::wstring old = dir.WriteFile(L"old.txt", "someone else's");
  const std::wstring now = dir.WriteFile(L"new.txt", "renamed");
  AskScript ask;
  RenameList list = LoadText(dir, Rename(old, now), ask);
  const UndoOutcome outcome = RunUndo(list, true, {}, SystemFileSystem(), ask.Callback());
  EXPECT_EQ(1, outcome.failed);
  EXPECT_EQ("someone else's", dir.ReadFile(L"old.txt"));
  EXPECT_EQ("renamed", dir.ReadFile(L"new.txt"));
  ASSERT_EQ(1u, ask.asked.size());
  EXPECT_EQ(MessageKind::ChangeFailed, ask.asked[0].kind);
  EXPECT_EQ(1, ask.asked[0].modeOrFlags);
  EXPECT_EQ(now, ask.asked[0].s1);
  EXPECT_EQ(old, ask.asked[0].s2);
}

TEST(RunUndoRename, AFailureAsksAndYesGoesOnNoStops) {
  for (const int answer : {IDYES, IDNO}) {
    TempFolder dir;
    std::wstring text;
    for (const wchar_t* name : {L"1", L"2", L"3"}) {
      dir.WriteFile(std::wstring(L"new") + name, "x");
      text += Rename(dir / (std::wstring(L"old") + name), dir / (std::wstring(L"new") + name));
    }
    AskScript ask;
    RenameList list = LoadText(dir, text, ask);
    FaultyFileSystem fs;
    fs.FailNth(FsCall::Move, 2, ERROR_SHARING_VIOLATION);  // the middle row (rows go backwards)
    ask.Answer(answer);
    const UndoOutcome outcome = RunUndo(list, true, {}, fs, ask.Callback());
    ASSERT_EQ(1u, ask.asked.size());
    EXPECT_EQ(MessageKind::ChangeFailed, ask.asked[0].kind);
    EXPECT_EQ(dir / L"new2", ask.asked[0].s1);
    EXPECT_TRUE(dir.Exists(L"old3"));
    EXPECT_TRUE(dir.Exists(L"new2"));
    EXPECT_EQ(answer == IDYES, dir.Exists(L"old1"));
    EXPECT_EQ(answer == IDNO, dir.Exists(L"new1"));
    EXPECT_EQ(answer == IDNO, outcome.stopped);
    EXPECT_EQ(answer == IDYES ? 2 : 1, outcome.undone);
    EXPECT_EQ(1, outcome.failed);
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.undoMode);
  }
}

TEST(RunUndoRename, NineXFamilyGoesThroughATemporaryName) {
  TempFolder dir;
  const std::wstring old = dir / L"Name.txt", now = dir.WriteFile(L"x.txt", "x");
  AskScript ask;
  RenameList list = LoadText(dir, Rename(old, now), ask);
  FaultyFileSystem fs;
  EXPECT_EQ(1, RunUndo(list, true, {0, false}, fs, ask.Callback()).undone);
  ASSERT_EQ(2u, Moves(fs).size());
  EXPECT_EQ(old + L"$korval$.$", Moves(fs)[0].target);
  EXPECT_EQ(old, Moves(fs)[1].target);
  EXPECT_EQ("x", dir.ReadFile(L"Name.txt"));

  // A second step that fails puts the file back under its current name.
  list = LoadText(dir, Rename(now, old), ask);
  FaultyFileSystem failing;
  failing.FailNth(FsCall::Move, 2, ERROR_ACCESS_DENIED);
  EXPECT_EQ(1, RunUndo(list, true, {0, false}, failing, ask.Callback()).failed);
  EXPECT_EQ("x", dir.ReadFile(L"Name.txt"));
  EXPECT_FALSE(dir.Exists(L"x.txt$korval$.$"));
  EXPECT_FALSE(dir.Exists(L"x.txt"));

  // A first step that fails leaves a file carrying the temporary name where it is.
  dir.WriteFile(L"x.txt$korval$.$", "stranger");
  list = LoadText(dir, Rename(now, old), ask);
  FaultyFileSystem firstFails;
  firstFails.FailNth(FsCall::Move, 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(1, RunUndo(list, true, {0, false}, firstFails, ask.Callback()).failed);
  EXPECT_EQ(1, firstFails.CountOf(FsCall::Move));
  EXPECT_EQ("stranger", dir.ReadFile(L"x.txt$korval$.$"));
}

// A run cut short between its two steps, or whose second step could not be taken back, left the
// item under the temporary name of its target. The undo brings it back from there, whatever else
// stands under the target's name now; when its own name is taken, under the first free serial name.
TEST(RunUndoRename, AParkedItemIsAlwaysBroughtBack) {
  const struct {
    const char* name;
    std::wstring before, after;  // the log line
    std::map<std::wstring, std::string> files, restored;
    int undone;
    std::wstring toldWhere;  // the "Rename Failed." notice names this file
  } cases[] = {
      {"ParkedOnTheRunsWay", L"a.txt", L"b.txt", {{L"b.txt$korval$.$", "mine"}, {L"b.txt", "other"}},
       {{L"a.txt", "mine"}, {L"b.txt", "other"}}, 1, L""},
      {"ParkedOnAnUndosWay", L"a.txt", L"b.txt", {{L"a.txt$korval$.$", "mine"}}, {{L"a.txt", "mine"}}, 1, L""},
      // In a folder that tells case apart the run met abc.txt beside ABC.txt.
      {"ItsNameTakenInAnotherCase", L"ABC.txt", L"ABC.TXT", {{L"ABC.TXT$korval$.$", "mine"}, {L"abc.txt", "twin"}},
       {{L"ABC(1).txt", "mine"}, {L"abc.txt", "twin"}}, 0, L"ABC(1).txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    for (const auto& [name, bytes] : c.files) dir.WriteFile(name, bytes);
    AskScript ask;
    RenameList list = LoadText(dir, Rename(dir / c.before, dir / c.after), ask);
    const UndoOutcome outcome = RunUndo(list, true, {}, SystemFileSystem(), ask.Callback());
    EXPECT_EQ(c.undone, outcome.undone);
    EXPECT_EQ(1 - c.undone, outcome.failed);
    std::map<std::wstring, std::string> restored;
    for (const std::wstring& name : SortedNames(dir.Path())) {
      if (name != Slot(1)) restored[name] = dir.ReadFile(name);
    }
    EXPECT_EQ(c.restored, restored);
    if (c.toldWhere.empty()) {
      EXPECT_TRUE(ask.asked.empty());
    } else {
      ASSERT_EQ(1u, ask.asked.size());
      EXPECT_EQ(kStrandedCaption, ask.asked[0].s1);
      EXPECT_NE(std::wstring::npos, ask.asked[0].s2.find(dir / c.toldWhere)) << Utf8(ask.asked[0].s2);
    }
  }
}

TEST(RunUndoRename, PathsOf259Characters) {
  TempFolder dir;
  const std::wstring old = dir.Path() + std::wstring(259 - dir.Path().size(), L'o');
  const std::wstring now = dir.Path() + std::wstring(259 - dir.Path().size(), L'n');
  ASSERT_TRUE(CopyFileW(dir.WriteFile(L"seed", "long").c_str(), now.c_str(), TRUE));
  AskScript ask;
  RenameList list = LoadText(dir, Rename(old, now), ask);
  ASSERT_EQ(1u, list.Count());
  EXPECT_EQ(1, RunUndo(list, true, {}, SystemFileSystem(), ask.Callback()).undone);
  EXPECT_EQ("long", dir.ReadFile(old));
}

// Paths far beyond 259 characters, Japanese parts among them, are undone like any other.
TEST(RunUndoRename, LongPaths) {
  const struct {
    size_t length;
    wchar_t fill;
    size_t partChars;
  } cases[] = {{300, L'o', 60}, {1000, L'長', 85}, {3000, L'x', 200}};
  for (const auto& c : cases) {
    TempFolder dir;
    const std::wstring folder = MakeDeepFolder(dir.Path(), c.length, c.fill, c.partChars);
    ASSERT_EQ(c.length, folder.size());
    const std::wstring old = folder + L"before.txt", now = folder + L"after.txt";
    HANDLE file = CreateFileW(SystemPath(now.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << c.length;
    CloseHandle(file);
    AskScript ask;
    RenameList list = LoadText(dir, Rename(old, now), ask);
    ASSERT_EQ(1u, list.Count()) << c.length;
    EXPECT_EQ(1, RunUndo(list, true, {}, SystemFileSystem(), ask.Callback()).undone) << c.length;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(SystemPath(old.c_str()).c_str())) << c.length;
  }
}

TEST(RunUndoConfirm, AskedOnceWhenSet) {
  const struct {
    int chgconfirm;
    int answer;
    bool asked;
    int undone;
  } cases[] = {{0, IDYES, false, 2}, {1, IDYES, true, 2}, {2, IDYES, true, 2}, {1, IDNO, true, 0}, {2, IDNO, true, 0},
               {3, IDNO, false, 2}};
  for (const auto& c : cases) {
    TempFolder dir;
    dir.WriteFile(L"b1", "1");
    dir.WriteFile(L"b2", "2");
    AskScript ask;
    RenameList list = LoadText(dir, Rename(dir / L"a1", dir / L"b1") + Rename(dir / L"a2", dir / L"b2"), ask);
    ask.Answer(c.answer);
    const UndoOutcome outcome = RunUndo(list, true, {c.chgconfirm, true}, SystemFileSystem(), ask.Callback());
    EXPECT_EQ(c.undone, outcome.undone) << c.chgconfirm;
    EXPECT_EQ(c.undone == 0, outcome.stopped) << c.chgconfirm;
    ASSERT_EQ(c.asked ? 1u : 0u, ask.asked.size()) << c.chgconfirm;
    if (c.asked) {
      EXPECT_EQ(L"Rename?", ask.asked[0].s1);
      EXPECT_EQ(L"UnDo(戻し)を実行しますか。", ask.asked[0].s2);
      EXPECT_EQ(static_cast<int>(MB_YESNO | MB_ICONEXCLAMATION), ask.asked[0].modeOrFlags);
      EXPECT_EQ(MessageClass::Question, ask.asked[0].messageClass);
    }
    EXPECT_EQ(c.undone == 2, dir.Exists(L"a1") && dir.Exists(L"a2")) << c.chgconfirm;
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.undoMode);
  }
}

TEST(RunUndoConfirm, LeavingWithoutUndoingTouchesNothing) {
  TempFolder dir;
  dir.WriteFile(L"b", "b");
  AskScript ask;
  RenameList list = LoadText(dir, Rename(dir / L"a", dir / L"b"), ask);
  FaultyFileSystem fs;
  std::vector<int> progress;
  RunUndo(list, false, {1, true}, fs, ask.Callback(), [&](int percent) { progress.push_back(percent); });
  EXPECT_TRUE(fs.calls.empty());
  EXPECT_TRUE(ask.asked.empty());
  EXPECT_TRUE(list.Empty());
  EXPECT_FALSE(list.undoMode);
  EXPECT_EQ((std::vector<int>{100, 0}), progress);
}

TEST(RunUndoFormat, AnUnknownTagStopsTheUndo) {
  TempFolder dir;
  dir.WriteFile(L"b1", "1");
  dir.WriteFile(L"b3", "3");
  for (const std::wstring& tag : {std::wstring(L"<RENAME>"), std::wstring(L"NORMAL"), std::wstring()}) {
    AskScript ask;
    RenameList list = LoadText(dir,
                               Rename(dir / L"a1", dir / L"b1") + Rename(dir / L"a2", dir / L"b2", tag) +
                                   Rename(dir / L"a3", dir / L"b3"),
                               ask);
    const UndoOutcome outcome = RunUndo(list, true, {}, SystemFileSystem(), ask.Callback());
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(1, outcome.undone);
    ASSERT_EQ(1u, ask.asked.size()) << Utf8(tag);
    EXPECT_EQ(MessageKind::Plain, ask.asked[0].kind);
    EXPECT_EQ(static_cast<int>(MB_ICONEXCLAMATION), ask.asked[0].modeOrFlags);
    EXPECT_EQ(L"This Format is Not Defined", ask.asked[0].s1);
    EXPECT_EQ(L"この変更方法は定義されていません。", ask.asked[0].s2);
    EXPECT_EQ(MessageClass::Error, ask.asked[0].messageClass);
    EXPECT_TRUE(dir.Exists(L"a3"));
    EXPECT_TRUE(dir.Exists(L"b1"));  // the row before the unknown one is not reached
    EXPECT_TRUE(list.Empty());
    ASSERT_TRUE(MoveFileW((dir / L"a3").c_str(), (dir / L"b3").c_str()));
  }
}

TEST(RunUndoTimestamp, RestoresTheModificationTimeOfARealFile) {
  TempFolder dir;
  const std::wstring file = dir.WriteFile(L"t.txt", "t");
  const FILETIME before = WriteTimeOf(file);
  // Change it as the time stamp mode does, logging the times it had.
  {
    ChangeLog log;
    ASSERT_TRUE(log.Open(dir.Path()));
    const FILETIME changed = LocalFileTime(2001, 2, 3, 4, 5, 6);
    OldFileTimes old;
    ASSERT_EQ(0, FileTimes(kTimesModification, kTimesBoth, file, {}, changed, &old, kItemFile));
    ASSERT_TRUE(log.AppendTimestamp(file, old));
    ASSERT_TRUE(SameFileTime(changed, WriteTimeOf(file)));
  }
  RenameList list;
  AskScript ask;
  ASSERT_EQ(UndoLoadResult::Loaded, LoadUndoList(list, dir.Path(), 1, ask.Callback()));
  EXPECT_EQ(1, RunUndo(list, true, {}, SystemFileSystem(), ask.Callback()).undone);
  // The log keeps whole seconds.
  const FILETIME after = WriteTimeOf(file);
  const auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  EXPECT_EQ(ticks(before) / 10000000, ticks(after) / 10000000);
}

// Wine cannot set a creation time (it reads back as the last-write time), so both times are checked
// on the double, which keeps them as Windows does.
TEST(RunUndoTimestamp, RestoresBothTimesEvenIfOneWasChanged) {
  TempFolder dir;
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"C:\\d\\t.txt", FILE_ATTRIBUTE_READONLY);
  item.creation = LocalFileTime(2030, 1, 1, 0, 0, 0);
  item.modification = LocalFileTime(2030, 1, 1, 0, 0, 0);
  AskScript ask;
  RenameList list = LoadText(
      dir, Rename(L"C:\\d\\t.txt", L"<作成：2019/03/04 05:06:07, 更新：2020/12/31 23:59:58>", L"<TIMESTAMP>"), ask);
  EXPECT_EQ(1, RunUndo(list, true, {}, fs, ask.Callback()).undone);
  EXPECT_TRUE(SameFileTime(LocalFileTime(2019, 3, 4, 5, 6, 7), item.creation));
  EXPECT_TRUE(SameFileTime(LocalFileTime(2020, 12, 31, 23, 59, 58), item.modification));
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY), item.attributes);  // lifted only for the change
  ASSERT_EQ(1u, fs.setTimesCalls.size());
  EXPECT_TRUE(fs.setTimesCalls[0].creation && fs.setTimesCalls[0].modification);
}

TEST(RunUndoTimestamp, UnreadableDatesFail) {
  const std::wstring bad[] = {
      L"<作成：2019/03/04 05:06:07, 更新：2020/12/31 23:59:5>",    // too short
      L"<作成：2019/3/04 05:06:07, 更新：2020/12/31 23:59:58>",    // not two digits
      L"<作成：2019/02/30 05:06:07, 更新：2020/12/31 23:59:58>",   // no such day
      L"<作成：2019/03/04 05:06:07, 更新：2020/12/31 24:00:00>",   // no such hour
      L"",
  };
  for (const std::wstring& described : bad) {
    TempFolder dir;
    MemoryFileSystem fs;
    fs.AddFile(L"C:\\t");
    AskScript ask;
    RenameList list = LoadText(dir, Rename(L"C:\\t", described, L"<TIMESTAMP>"), ask);
    ASSERT_EQ(1u, list.Count());
    const UndoOutcome outcome = RunUndo(list, true, {}, fs, ask.Callback());
    EXPECT_EQ(1, outcome.failed) << Utf8(described);
    EXPECT_TRUE(fs.setTimesCalls.empty());
    ASSERT_EQ(1u, ask.asked.size());
    EXPECT_EQ(MessageKind::ChangeFailed, ask.asked[0].kind);
    EXPECT_EQ(13, ask.asked[0].modeOrFlags);
    EXPECT_EQ(L"C:\\t", ask.asked[0].s1);
  }
}

TEST(RunUndoAttribute, RestoresTheFourFlags) {
  TempFolder dir;
  const std::wstring file = dir.WriteFile(L"a.txt", "a");
  // The mode set read-only and hidden on a file that had neither.
  {
    ChangeLog log;
    ASSERT_TRUE(log.Open(dir.Path()));
    AttributeFlags old{};
    ASSERT_EQ(0, FileAttributes({kAttributeSet, kAttributeSet, kAttributeLeave, kAttributeLeave}, file, &old));
    ASSERT_TRUE(log.AppendAttributes(file, old));
  }
  ASSERT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  RenameList list;
  AskScript ask;
  ASSERT_EQ(UndoLoadResult::Loaded, LoadUndoList(list, dir.Path(), 1, ask.Callback()));
  EXPECT_EQ(1, RunUndo(list, true, {}, SystemFileSystem(), ask.Callback()).undone);
  EXPECT_EQ(0u, GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

TEST(RunUndoAttribute, OtherLettersLeaveTheAttribute) {
  TempFolder dir;
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"C:\\a", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  AskScript ask;
  // Read-only set, hidden left ('y' is no flag), archive cleared, system left (the text ends early).
  RenameList list = LoadText(dir, Rename(L"C:\\a", L"<読：Y, 隠：y, ア：N, シ", L"<ATTRIBUTE>"), ask);
  EXPECT_EQ(1, RunUndo(list, true, {}, fs, ask.Callback()).undone);
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), item.attributes);

  list = LoadText(dir, Rename(L"C:\\missing", L"<読：Y, 隠：N, ア：N, シ：N>", L"<ATTRIBUTE>"), ask);
  EXPECT_EQ(1, RunUndo(list, true, {}, fs, ask.Callback()).failed);
  ASSERT_EQ(1u, ask.asked.size());
  EXPECT_EQ(14, ask.asked[0].modeOrFlags);
  EXPECT_EQ(L"C:\\missing", ask.asked[0].s1);
}

}  // namespace
}  // namespace korval
