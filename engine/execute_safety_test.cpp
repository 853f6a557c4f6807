// The promises an execution keeps whatever fails: no file is lost or overwritten, every failure is
// reported, the change log holds exactly the changes that happened, and undoing that log restores
// the original tree. Proven by failing each file-system call of a run in turn, and by random batches.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "engine/change_log.h"
#include "engine/execute_changes.h"
#include "testing/quiet_context.h"
#include "engine/show_message.h"
#include "engine/undo.h"
#include "modes/change_mode.h"
#include "testing/faulty_file_system.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// Relative path -> content. Every file's content is its original relative path, so a lost or
// overwritten file shows as a missing or doubled content.
using Tree = std::map<std::wstring, std::string>;

struct Rename {
  std::wstring from;  // relative path
  std::wstring to;    // new name in the same folder
};

void ReadTree(const std::wstring& root, const std::wstring& relative, Tree& tree) {
  SystemFileSystem().ListFolder((root + relative).c_str(), [&](const WIN32_FIND_DATAW& entry) {
    const std::wstring path = relative + entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ReadTree(root, path + L"\\", tree);
    } else {
      TempFolder probe;  // only for its reader
      tree[path] = probe.ReadFile(root + path);
    }
  });
}

Tree ReadTree(const std::wstring& root) {
  Tree tree;
  ReadTree(root, L"", tree);
  return tree;
}

std::multiset<std::string> Contents(const Tree& tree) {
  std::multiset<std::string> contents;
  for (const auto& [path, content] : tree) contents.insert(content);
  return contents;
}

// A program folder (logs) holding the work folder with the tree.
class SafetyRun {
 public:
  SafetyRun(const std::vector<std::wstring>& files, const std::vector<Rename>& renames) {
    root_ = program_ / L"work\\";
    CreateDirectoryW(root_.c_str(), nullptr);
    for (const std::wstring& file : files) {
      const size_t slash = file.rfind(L'\\');
      if (slash != std::wstring::npos) CreateDirectoryW((root_ + file.substr(0, slash)).c_str(), nullptr);
      program_.WriteFile(L"work\\" + file, Utf8(file));
    }
    original_ = ReadTree(root_);
    for (const Rename& r : renames) {
      const size_t slash = r.from.rfind(L'\\');
      const std::wstring folder = root_ + (slash == std::wstring::npos ? L"" : r.from.substr(0, slash + 1));
      const std::wstring name = slash == std::wstring::npos ? r.from : r.from.substr(slash + 1);
      list_.Append({name, L"", folder, r.to, L"", L"", ItemStatus::None, false});
    }
  }

  // Previews and executes with every question answered Yes; returns the report.
  RunReport Execute(FileSystem& fs) {
    ExecuteContext c = QuietContext(list_, panel_, params_, state_, program_.Path(), kModeCsvNames);
    c.fs = &fs;
    c.options.collisionOption = 8;
    RunReport report;
    ExecuteChanges(RunKind::Preview, c, &report);
    ExecuteChanges(RunKind::Execute, c, &report);
    return report;
  }

  // The log of the run as the program finds it at its next start.
  std::vector<ChangeLogEntry> Log() {
    RecoverOrphanedLog(program_.Path());
    std::vector<unsigned char> bytes;
    if (!ReadLogBytes(ChangeLogPath(program_.Path(), 1), bytes)) return {};
    return ParseChangeLog(DecodeLogText(bytes.data(), bytes.size()));
  }

  // The original tree with the logged renames applied, in order.
  Tree Replay(const std::vector<ChangeLogEntry>& log) const {
    Tree tree = original_;
    for (const ChangeLogEntry& entry : log) {
      const std::wstring from = entry.before.substr(root_.size());
      const std::wstring to = entry.after.substr(root_.size());
      auto found = tree.find(from);
      if (found == tree.end()) {
        ADD_FAILURE() << "the log renames a file that is not there: " << Utf8(from);
        continue;
      }
      const std::string content = found->second;
      tree.erase(found);
      tree[to] = content;
    }
    return tree;
  }

  void Undo() {
    RenameList undo;
    ASSERT_EQ(UndoLoadResult::Loaded, LoadUndoList(undo, program_.Path(), 1, {}));
    const UndoOutcome outcome = RunUndo(undo, true, UndoOptions{}, SystemFileSystem(), {});
    EXPECT_EQ(0, outcome.failed);
    EXPECT_FALSE(outcome.stopped);
  }

  Tree Disk() const { return ReadTree(root_); }
  std::wstring ProgramFolder() const { return program_.Path(); }
  const Tree& Original() const { return original_; }

 private:
  TempFolder program_;
  std::wstring root_;
  Tree original_;
  RenameList list_;
  PanelValues panel_;
  ModeParams params_;
  RunState state_;
};

// A cycle a -> b -> c -> a, a swap, a case-only change, a collision that stays, a chain in a folder.
const std::vector<std::wstring> kFiles = {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt",
                                          L"Case.txt", L"keep.txt", L"sub\\x.txt", L"sub\\y.txt"};
const std::vector<Rename> kRenames = {
    {L"a.txt", L"b.txt"}, {L"b.txt", L"c.txt"},     {L"c.txt", L"a.txt"},     {L"d.txt", L"e.txt"},
    {L"e.txt", L"d.txt"}, {L"Case.txt", L"CASE.TXT"}, {L"keep.txt", L"KEEP.txt"}, {L"sub\\x.txt", L"y.txt"},
    {L"sub\\y.txt", L"z.txt"}};

// Runs the scenario with the nth call of a kind failing, and checks every promise. A failed existence
// question is no failure of a change (it only changes a decision), so it need not be reported.
void CheckWithFault(FsCall call, int nth, bool* hit) {
  const bool mustReport = call != FsCall::Find;
  SetMessagePolicy({});
  ScriptedMessageSink sink;  // answers Yes (go on) to every question
  SafetyRun run(kFiles, kRenames);
  FaultyFileSystem fs;
  fs.FailNth(call, nth, ERROR_ACCESS_DENIED);
  run.Execute(fs);
  *hit = fs.CountOf(call) >= nth;

  const Tree disk = run.Disk();
  EXPECT_EQ(Contents(run.Original()), Contents(disk)) << "a file was lost or overwritten";
  bool failed = false;
  for (const FsCallRecord& record : fs.calls) failed |= record.failed;
  if (failed && mustReport) {
    EXPECT_FALSE(sink.requests.empty()) << "a failure went unreported";
  }
  const std::vector<ChangeLogEntry> log = run.Log();
  for (const MessageRequest& request : sink.requests) {
    if (request.caption != kLogCreateFailedCaption) continue;
    // The user was told that this run cannot be undone and chose to go on: there is no log to check.
    EXPECT_TRUE(log.empty());
    return;
  }
  EXPECT_EQ(run.Replay(log), disk) << "the log does not hold exactly the renames that happened";
  if (!log.empty()) run.Undo();
  EXPECT_EQ(run.Original(), run.Disk()) << "undo did not restore the tree";
}

TEST(ExecuteSafety, TheScenarioWithoutFaultsEndsAsPlannedAndUndoes) {
  SetMessagePolicy({});
  ScriptedMessageSink sink;
  SafetyRun run(kFiles, kRenames);
  FaultyFileSystem fs;
  const RunReport report = run.Execute(fs);
  const Tree disk = run.Disk();
  EXPECT_EQ("a.txt", disk.at(L"b.txt"));
  EXPECT_EQ("b.txt", disk.at(L"c.txt"));
  EXPECT_EQ("c.txt", disk.at(L"a.txt"));
  EXPECT_EQ("d.txt", disk.at(L"e.txt"));
  EXPECT_EQ("e.txt", disk.at(L"d.txt"));
  EXPECT_EQ("Case.txt", disk.at(L"CASE.TXT"));
  EXPECT_EQ("sub\\y.txt", disk.at(L"sub\\z.txt"));
  EXPECT_EQ("sub\\x.txt", disk.at(L"sub\\y.txt"));
  EXPECT_EQ(0, report.serialRows);
  EXPECT_EQ(run.Replay(run.Log()), disk);
  run.Undo();
  EXPECT_EQ(run.Original(), run.Disk());
}

TEST(ExecuteSafety, EveryRenameCanFailWithoutLosingAFile) {
  bool hit = true;
  for (int nth = 1; hit; ++nth) {
    SCOPED_TRACE(nth);
    CheckWithFault(FsCall::Move, nth, &hit);
  }
}

TEST(ExecuteSafety, EveryLogWriteCanFail) {
  bool hit = true;
  for (int nth = 1; hit; ++nth) {
    SCOPED_TRACE(nth);
    CheckWithFault(FsCall::Append, nth, &hit);
  }
  CheckWithFault(FsCall::CreateAppendFile, 1, &hit);
  EXPECT_TRUE(hit);
}

TEST(ExecuteSafety, EveryExistenceQuestionCanFail) {
  bool hit = true;
  for (int nth = 1; hit && nth < 200; ++nth) {
    SCOPED_TRACE(nth);
    CheckWithFault(FsCall::Find, nth, &hit);
  }
}

// The attribute mode: every attribute call can fail; the files whose lines are in the log are
// exactly those that changed, and the undo clears what was set.
// A run killed at any call: from that call on the disk and the log stay as they are (every later call
// fails, so nothing the run attempts afterwards reaches them). The next start rescues the log, and
// its undo brings back the original tree: no file stays renamed without a line, none stays under a
// temporary name. The same for an undo killed at any call, followed by a second undo.
class Killed final : public FileSystem {
 public:
  explicit Killed(int at) : at_(at) {}
  bool Alive() { return ++calls_ < at_ || Dead(); }
  bool Dead() {
    SetLastError(ERROR_OPERATION_ABORTED);
    return false;
  }
  bool Move(const wchar_t* f, const wchar_t* t) override { return Alive() && real_.Move(f, t); }
  bool Delete(const wchar_t* p) override { return Alive() && real_.Delete(p); }
  DWORD GetAttributes(const wchar_t* p) override { return Alive() ? real_.GetAttributes(p) : INVALID_FILE_ATTRIBUTES; }
  bool SetAttributes(const wchar_t* p, DWORD a) override { return Alive() && real_.SetAttributes(p, a); }
  bool GetTimes(const wchar_t* p, FILETIME* c, FILETIME* a, FILETIME* w) override {
    return Alive() && real_.GetTimes(p, c, a, w);
  }
  bool SetTimes(const wchar_t* p, const FILETIME* c, const FILETIME* a, const FILETIME* w) override {
    return Alive() && real_.SetTimes(p, c, a, w);
  }
  bool Find(const wchar_t* p, WIN32_FIND_DATAW* f) override { return Alive() && real_.Find(p, f); }
  bool ShortPath(const wchar_t* p, std::wstring& s) override { return Alive() && real_.ShortPath(p, s); }
  bool ListFolder(const wchar_t* f, const std::function<void(const WIN32_FIND_DATAW&)>& each) override {
    return Alive() && real_.ListFolder(f, each);
  }
  std::unique_ptr<AppendFile> CreateAppendFile(const wchar_t* p) override {
    if (!Alive()) return nullptr;
    struct File final : AppendFile {
      File(Killed& k, std::unique_ptr<AppendFile> f) : killed(k), real(std::move(f)) {}
      bool Append(const void* d, size_t n) override { return killed.Alive() && real->Append(d, n); }
      bool TakeBack(size_t n) override { return killed.Alive() && real->TakeBack(n); }
      Killed& killed;
      std::unique_ptr<AppendFile> real;
    };
    std::unique_ptr<AppendFile> file = real_.CreateAppendFile(p);
    return file ? std::make_unique<File>(*this, std::move(file)) : nullptr;
  }
  bool Reached() const { return calls_ >= at_; }

 private:
  FileSystem& real_ = SystemFileSystem();
  int at_;
  int calls_ = 0;
};

void UndoWhatever(const std::wstring& programFolder, FileSystem& fs) {
  RenameList undo;
  if (LoadUndoList(undo, programFolder, 1, {}) == UndoLoadResult::Loaded) {
    RunUndo(undo, true, UndoOptions{}, fs, {});
  }
}

TEST(ExecuteSafety, AKilledRunOrUndoLeavesNothingTheUndoCannotBringBack) {
  for (const bool killUndo : {false, true}) {
    bool reached = true;
    for (int at = 1; reached; ++at) {
      SCOPED_TRACE(testing::Message() << (killUndo ? "undo" : "run") << " killed at call " << at);
      SetMessagePolicy({});
      ScriptedMessageSink sink;
      SafetyRun run(kFiles, kRenames);
      Killed killed(at);
      if (killUndo) {
        FaultyFileSystem fs;
        run.Execute(fs);
        run.Log();
        UndoWhatever(run.ProgramFolder(), killed);
      } else {
        run.Execute(killed);
        run.Log();  // the next start rescues the log
      }
      reached = killed.Reached();
      UndoWhatever(run.ProgramFolder(), SystemFileSystem());
      if (!killUndo) {
        EXPECT_EQ(run.Original(), run.Disk());
        continue;
      }
      // A second undo tries every line again (the log is never changed by an undo), so lines that
      // the first one already reverted may move files once more; none is lost, none stays under a
      // temporary name, and the case-only changes are back.
      const Tree disk = run.Disk();
      EXPECT_EQ(Contents(run.Original()), Contents(disk));
      for (const auto& [path, content] : disk) EXPECT_EQ(std::wstring::npos, path.find(L"$korval$")) << Utf8(path);
      EXPECT_EQ("Case.txt", disk.count(L"Case.txt") ? disk.at(L"Case.txt") : "");
      EXPECT_EQ("keep.txt", disk.count(L"keep.txt") ? disk.at(L"keep.txt") : "");
    }
  }
}

TEST(ExecuteSafety, EveryAttributeCallCanFail) {
  for (FsCall call : {FsCall::GetAttributes, FsCall::SetAttributes}) {
    bool hit = true;
    for (int nth = 1; hit; ++nth) {
      SCOPED_TRACE(nth);
      SetMessagePolicy({});
      ScriptedMessageSink sink;
      TempFolder program;
      CreateDirectoryW((program / L"w").c_str(), nullptr);
      RenameList list;
      PanelValues panel;
      panel.attributes = {1, 1, 2, 2};  // set read-only and hidden
      ModeParams params;
      RunState state;
      for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        program.WriteFile(std::wstring(L"w\\") + name, "x");
        list.Append({name, L"", program / L"w\\", L"", L"", L"", ItemStatus::None, false});
      }
      FaultyFileSystem fs;
      fs.FailNth(call, nth, ERROR_ACCESS_DENIED);
      ExecuteContext c = QuietContext(list, panel, params, state, program.Path(), kModeAttribute);
      c.fs = &fs;
      ExecuteChanges(RunKind::Preview, c);
      ExecuteChanges(RunKind::Execute, c);
      hit = fs.CountOf(call) >= nth;
      // A failed call on one of the files is a failed change and must be reported; the log's own
      // housekeeping may ask about files that are not there.
      bool failed = false;
      for (const FsCallRecord& record : fs.calls) failed |= record.failed && record.path.find(L"\\w\\") != std::wstring::npos;
      if (failed) {
        EXPECT_FALSE(sink.requests.empty());
      }

      RecoverOrphanedLog(program.Path());
      std::vector<unsigned char> bytes;
      std::vector<ChangeLogEntry> log;
      if (ReadLogBytes(ChangeLogPath(program.Path(), 1), bytes)) log = ParseChangeLog(DecodeLogText(bytes.data(), bytes.size()));
      for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        const std::wstring path = program / L"w\\" + name;
        bool logged = false;
        for (const ChangeLogEntry& entry : log) logged |= entry.before == path;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        EXPECT_EQ(logged, (attributes & FILE_ATTRIBUTE_READONLY) != 0) << Utf8(name);
      }
      if (!log.empty()) {
        RenameList undo;
        ASSERT_EQ(UndoLoadResult::Loaded, LoadUndoList(undo, program.Path(), 1, {}));
        RunUndo(undo, true, UndoOptions{}, SystemFileSystem(), {});
      }
      for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        const DWORD attributes = GetFileAttributesW((program / L"w\\" + name).c_str());
        EXPECT_EQ(0u, attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) << Utf8(name);
      }
    }
  }
}

TEST(ExecuteSafety, RandomBatchesExecuteAndUndoToTheExactTree) {
  std::mt19937 random(20261207);
  const std::vector<std::wstring> stems = {L"a", L"b", L"c", L"A", L"B", L"\uFF41"};
  const std::vector<std::wstring> extensions = {L".txt", L".TXT", L".jpg"};
  for (int round = 0; round < 25; ++round) {
    SCOPED_TRACE(round);
    std::vector<std::wstring> files;
    std::vector<Rename> renames;
    std::map<std::wstring, bool> taken;  // case-insensitive names per folder
    for (const wchar_t* folder : {L"", L"f\\"}) {
      for (int i = 0; i < 6; ++i) {
        std::wstring name = stems[random() % stems.size()] + std::to_wstring(random() % 3) + extensions[random() % 3];
        std::wstring key = folder + name;
        CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
        if (taken[key]) continue;
        taken[key] = true;
        files.push_back(folder + name);
      }
    }
    for (const std::wstring& file : files) {
      if (random() % 4 == 0) continue;  // some rows stay out of the batch
      const size_t slash = file.rfind(L'\\');
      const std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
      std::wstring to;
      switch (random() % 3) {
        case 0: {  // another file's name: chains, swaps and collisions
          const std::wstring other = files[random() % files.size()];
          const size_t s = other.rfind(L'\\');
          to = s == std::wstring::npos ? other : other.substr(s + 1);
          break;
        }
        case 1:  // the same name in another case
          to = name;
          CharUpperBuffW(to.data(), static_cast<DWORD>(to.size()));
          if (to == name) CharLowerBuffW(to.data(), static_cast<DWORD>(to.size()));
          break;
        default:
          to = stems[random() % stems.size()] + std::to_wstring(random() % 3) + extensions[random() % 3];
      }
      renames.push_back({file, to});
    }
    SetMessagePolicy({});
    ScriptedMessageSink sink;
    SafetyRun run(files, renames);
    FaultyFileSystem fs;
    run.Execute(fs);
    const Tree disk = run.Disk();
    EXPECT_EQ(Contents(run.Original()), Contents(disk));
    const std::vector<ChangeLogEntry> log = run.Log();
    EXPECT_EQ(run.Replay(log), disk);
    if (!log.empty()) run.Undo();
    EXPECT_EQ(run.Original(), run.Disk());
  }
}

}  // namespace
}  // namespace korval
