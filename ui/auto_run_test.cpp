#include "ui/auto_run.h"

#include <gtest/gtest.h>

#include "engine/show_message.h"
#include "macro/macro_record.h"
#include "modes/change_mode.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// The records an automatic run works on, for a program folder.
struct GlueWorld {
  explicit GlueWorld(const std::wstring& programFolder) {
    work.list = &list;
    work.settings = &settings;
    work.panel = &panel;
    work.params = &params;
    work.state = &state;
    work.programFolder = programFolder;
  }
  RenameList list;
  Settings settings;
  PanelValues panel;
  ModeParams params;
  RunState state;
  AutoRunWork work;
};

// The window's glue hands an execution's step to the recorder while it records, and only then.
TEST(AutoRunGlue, AnExecutionWhileRecordingAppendsItsStep) {
  SetMessagePolicy({});
  ScriptedMessageSink sink;
  TempFolder program;
  program.WriteFile(L"a_b.txt", "x");
  GlueWorld world(program.Path());
  RenameList& list = world.list;
  list.Append({L"a_b.txt", L".txt", program.Path(), L"", L"", L"", ItemStatus::None, false});
  world.settings.chgconfirm = 0;
  PanelValues& panel = world.panel;
  ModeParams& params = world.params;
  MacroRecorder recorder;
  MacroSlotNames slots = UnregisteredSlots();
  AutoRunWork& work = world.work;
  work.recorder = &recorder;
  work.macroSlots = &slots;
  const CommandLine interactive;

  RecorderContext context;
  context.programFolder = program.Path();
  context.params = &params;
  context.slotNames = &slots;
  ASSERT_EQ(0, BeginRecording(recorder, 0, context));
  panel.replaceFrom = L"_";
  panel.replaceTo = L"-";
  ExecuteContext c = ContextFor(interactive, work, kModeReplace);
  ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, c));
  ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, c));
  EXPECT_TRUE(program.Exists(L"a-b.txt"));
  EXPECT_EQ(2, recorder.state);
  // While recording the row stays in the list with its new name, ready for the next step.
  ASSERT_EQ(1u, list.Count());
  EXPECT_EQ(L"a-b.txt", list.Row(0).oldName);
  EXPECT_EQ("KV150\n" + BuildStepRecord(kModeReplace, params), program.ReadFile(L"macro0"));

  // Not recording: nothing is appended.
  const std::string recorded = program.ReadFile(L"macro0");
  recorder.state = 0;
  panel.replaceFrom = L"-";
  panel.replaceTo = L"+";
  ExecuteContext again = ContextFor(interactive, work, kModeReplace);
  ExecuteChanges(RunKind::Preview, again);
  ExecuteChanges(RunKind::Execute, again);
  EXPECT_TRUE(program.Exists(L"a+b.txt"));
  EXPECT_EQ(recorded, program.ReadFile(L"macro0"));
}

// The answers given while the paths are read stay with the program: a Yes to the first-item question
// switches it to files, and the "No Sub Folder" question comes once per run of the program.
TEST(AutoRunGlue, AnswersDuringAReadAreKept) {
  SetMessagePolicy({});
  ScriptedMessageSink sink;
  TempFolder program;
  const std::wstring file = program.WriteFile(L"abc.txt", "x");
  CreateDirectoryW((program / L"empty").c_str(), nullptr);
  GlueWorld world(program.Path());
  Settings& settings = world.settings;
  AutoRunWork& work = world.work;
  settings.file_dir = 1;
  CommandLine commandLine;
  commandLine.paths = {file};
  PrepareAutomaticRun(commandLine, work);
  EXPECT_EQ(0, settings.file_dir);
  EXPECT_EQ(0, ContextFor(commandLine, work, kModeAddText).options.fileDir);

  settings.file_dir = 1;
  commandLine.paths = {program / L"empty"};
  for (int drop = 0; drop < 2; ++drop) {
    sink.Answer(IDNO);
    PrepareAutomaticRun(commandLine, work);
  }
  int asked = 0;
  for (const MessageRequest& request : sink.requests) asked += request.caption == L"No Sub Folder";
  EXPECT_EQ(1, asked);
  EXPECT_EQ(0, settings.folderread);
}

TEST(AutoRunGlue, ExitCodesOfAnUnattendedRun) {
  // changed, failed, of those already done; aborted, refused, unlogged; rows left out, cut, items
  // whose path is too long left out, nothing listed; the code
  const struct { int counts[3]; bool flags[3]; bool end[4]; int code; } cases[] = {
      {{3, 0, 0}, {false, false, false}, {false, false, false, false}, kExitAllDone},
      {{3, 2, 2}, {false, false, false}, {false, false, false, false}, kExitAllDone},  // names that were already right
      {{3, 2, 1}, {false, false, false}, {false, false, false, false}, kExitSomeFailed},
      {{0, 5, 0}, {false, false, false}, {false, false, false, false}, kExitSomeFailed},  // every row refused by its status
      {{1, 0, 0}, {true, false, false}, {false, false, false, false}, kExitSomeFailed},
      {{0, 0, 0}, {true, false, false}, {false, false, false, false}, kExitSomeFailed},   // an undo stopped at once
      {{0, 0, 0}, {false, true, false}, {false, false, false, false}, kExitNotStarted},
      {{3, 0, 0}, {false, false, true}, {false, false, false, false}, kExitSomeFailed},  // changed without a log
      {{0, 2, 0}, {false, false, true}, {false, false, false, false}, kExitNotStarted},  // no log, nothing changed
      {{3, 0, 0}, {false, false, false}, {true, false, false, false}, kExitSomeFailed},  // the row limit left items out
      {{3, 0, 0}, {false, false, false}, {false, true, false, false}, kExitSomeFailed},  // cut after changing some
      {{0, 0, 0}, {false, false, false}, {false, true, false, false}, kExitNotStarted},  // cut before changing any
      {{3, 0, 0}, {false, false, false}, {false, false, true, false}, kExitSomeFailed},  // a path too long
      {{0, 0, 0}, {false, true, false}, {false, false, true, true}, kExitSomeFailed},   // every path too long
      {{0, 0, 0}, {false, true, false}, {false, false, false, true}, kExitNotStarted},  // nothing to read
  };
  for (const auto& c : cases) {
    RunReport report;
    report.changed = c.counts[0];
    report.failed = c.counts[1];
    report.alreadyDone = c.counts[2];
    report.aborted = c.flags[0];
    report.refused = c.flags[1];
    report.unlogged = c.flags[2];
    AutoRunEnd end;
    end.rowsLeftOut = c.end[0];
    end.cut = c.end[1];
    if (c.end[2]) end.leftOut.push_back(ReportRow{L"long.txt", L"", L"C:\\deep\\", RowOutcome::Skipped, kTooLongReason});
    end.listEmpty = c.end[3];
    EXPECT_EQ(c.code, ExitCodeOf(report, end));
  }
}

// The watchdog closes a finished run at its next tick and cuts one that is still going at the limit.
TEST(AutoRunGlue, TheExitWatchdogClosesOrCuts) {
  const struct { int ticks, limit; WatchdogStep step; int after; } cases[] = {
      {0, 360, WatchdogStep::Wait, 1},
      {359, 360, WatchdogStep::Wait, 360},
      {360, 360, WatchdogStep::Cut, 361},
      {kRunFinished, 360, WatchdogStep::Close, kRunFinished},
      {2, 3, WatchdogStep::Wait, 3},
      {3, 3, WatchdogStep::Cut, 4},
  };
  for (const auto& c : cases) {
    int ticks = c.ticks;
    EXPECT_EQ(c.step, TickWatchdog(ticks, c.limit)) << c.ticks;
    EXPECT_EQ(c.after, ticks) << c.ticks;
  }
}

}  // namespace
}  // namespace korval
