// A pass whose regular expression cannot finish on a name: the first cut-off ends the pattern's work
// for the whole run, the rows keep their names, and one message says so.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/execute_changes.h"
#include "engine/plan_file_system.h"
#include "testing/quiet_context.h"
#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "modes/regex_binding.h"
#include "testing/faulty_file_system.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"
#include "platform/utf8.h"

namespace korval {
namespace {

PanelValues RegexPanel(const std::wstring& pattern, const wchar_t* replacement) {
  PanelValues panel;
  panel.replaceFrom = pattern;
  panel.replaceTo = replacement;
  panel.regexp = 1;
  return panel;
}

TEST(RegexCutOff, ARunOverManyNamesEndsInSecondsWithOneMessage) {
  TempFolder program;
  const std::wstring work = program.Path();
  RenameList list;
  constexpr int kRows = 10000;
  for (int i = 0; i < kRows; ++i) {
    const std::wstring name = std::wstring(40, L'a') + L"_" + std::to_wstring(i) + L".txt";
    list.Append({name, L".txt", work, L"", L"", L"", ItemStatus::None, false});
  }
  // Nested repeats after a long comment: without a fixed budget this runs for seconds per name.
  PanelValues panel = RegexPanel(L"(a+)+b(?#" + std::wstring(200, L'c') + L")", L"x");
  ModeParams params;
  RunState state;
  FaultyFileSystem fs;
  ExecuteContext context;
  context.list = &list;
  context.mode = kModeReplace;
  context.panel = &panel;
  context.params = &params;
  context.histories.switches = 0;
  context.state = &state;
  context.fs = &fs;
  context.programFolder = program.Path();

  SetMessagePolicy({});
  ScriptedMessageSink sink;
  RunReport report;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(0, ExecuteChanges(RunKind::Preview, context, &report));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(kRegexCutOffCaption, sink.requests[0].caption);
  EXPECT_EQ(0u, sink.requests[0].text.find(kRegexCutOffMessage)) << Utf8(sink.requests[0].text);
  EXPECT_EQ(0u, report.hint.find(kRegexCutOffHint)) << Utf8(report.hint);
  for (size_t i = 0; i < list.Count(); i += 997) {
    EXPECT_EQ(list.Row(i).oldName, list.Row(i).newName) << i;
  }
}

// A pass cut off, by one call's budget, by the time of the whole pass, or stopped between rows: the
// rows it left are never taken for rows with nothing to change, in the list, the plan or the run.
TEST(RegexCutOff, TheRowsACutOrAStopLeftAreSkippedNeverUnchanged) {
  const std::wstring kStalls = L"(a+)+b(?#" + std::wstring(200, L'c') + L")";
  const struct {
    const char* what;
    std::wstring pattern;
    std::chrono::nanoseconds passTime;  // zero: the default
    int stopAfterAsks;                  // the interrupt hook says stop at this ask (0: never asked to)
    bool plan;
    size_t renamed;        // rows renamed (or planned) before the cut or the stop
    const wchar_t* reason; // why the rows after them were not
    const wchar_t* hint;   // what the status bar says
  } cases[] = {
      {"one call's budget", L"^(x)|" + kStalls, {}, 0, false, 0, kReasonRegexCutOff, kRegexCutOffHint},
      {"one call's budget, planned", L"^(x)|" + kStalls, {}, 0, true, 0, kReasonRegexCutOff, kRegexCutOffHint},
      {"the time of the pass", L"^a", std::chrono::nanoseconds(1), 0, false, 1, kReasonRegexCutOff,
       kRegexPassCutOffHint},
      {"the time of the pass, planned", L"^a", std::chrono::nanoseconds(1), 0, true, 1, kReasonRegexCutOff,
       kRegexPassCutOffHint},
      {"Esc between rows", L"^a", {}, 1, false, 1, kReasonNotReached, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    constexpr int kRows = 4;
    RenameList list;
    for (int i = 0; i < kRows; ++i) {
      const std::wstring name = std::wstring(30, L'a') + std::to_wstring(i) + L".txt";
      folder.WriteFile(name, "x");
      list.Append({name, L".txt", folder.Path(), L"", L"", L"", ItemStatus::None, false});
    }
    PanelValues panel = RegexPanel(c.pattern, L"z");
    ModeParams params;
    RunState state;
    PlanFileSystem planFs;
    RunRecord record;
    record.plan = c.plan;
    ExecuteContext context = QuietContext(list, panel, params, state, folder.Path(), kModeReplace);
    context.options.writelog = 0;
    context.regexPassTime = c.passTime;
    if (c.plan) context.fs = &planFs;
    SetMessagePolicy({true, false, false, false});
    ScriptedMessageSink sink;
    RunReport preview;
    ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, context, &preview));
    EXPECT_EQ(0u, preview.hint.find(c.hint)) << Utf8(preview.hint);
    for (size_t i = c.renamed; i < list.Count() && c.stopAfterAsks == 0; ++i) {
      EXPECT_EQ(ItemStatus::Failed, list.Row(i).status) << i;
    }
    int asks = 0;
    context.interrupted = [&] { return ++asks == c.stopAfterAsks; };
    context.record = &record;
    RunReport run;
    ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, context, &run));
    EXPECT_EQ(static_cast<int>(c.renamed), run.changed);
    EXPECT_GT(run.failed + (run.aborted ? 1 : 0), run.alreadyDone) << "the exit code must say so";
    EXPECT_FALSE(EveryRowDone(record.rows));
    ASSERT_EQ(static_cast<size_t>(kRows), record.rows.size());
    for (size_t i = 0; i < record.rows.size(); ++i) {
      const ReportRow& r = record.rows[i];
      if (i < c.renamed) {
        EXPECT_EQ(RowOutcome::Changed, r.outcome) << i;
        continue;
      }
      EXPECT_EQ(RowOutcome::Skipped, r.outcome) << i;
      EXPECT_EQ(c.reason, r.reason) << i;
      if (!c.plan) {
        EXPECT_TRUE(folder.Exists(r.oldName)) << i;
      }
    }
  }
  SetMessagePolicy({});
}

// Esc pressed during a preview: the names it did not reach are not shown as names that stay, and
// the next Enter previews again rather than executing half a preview.
TEST(RegexCutOff, APreviewStoppedBetweenRowsForgetsTheRowsItDidNotReach) {
  TempFolder folder;
  RenameList list;
  for (int i = 0; i < 3; ++i) {
    const std::wstring name = L"a" + std::to_wstring(i) + L".txt";
    folder.WriteFile(name, "x");
    list.Append({name, L".txt", folder.Path(), name, L"", L"", ItemStatus::Unchanged, false});
  }
  PanelValues panel;
  panel.replaceFrom = L"a";
  panel.replaceTo = L"b";
  ModeParams params;
  RunState state;
  ExecuteContext context = QuietContext(list, panel, params, state, folder.Path(), kModeReplace);
  context.interrupted = [] { return true; };
  RunReport report;
  ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, context, &report));
  EXPECT_TRUE(report.aborted);
  EXPECT_EQ(L"b0.txt", list.Row(0).newName);
  EXPECT_EQ(ItemStatus::Ready, list.Row(0).status);
  for (size_t i = 1; i < list.Count(); ++i) {
    EXPECT_EQ(L"", list.Row(i).newName) << i;
    EXPECT_EQ(ItemStatus::None, list.Row(i).status) << i;
  }
  EXPECT_FALSE(state.previewed);
  EXPECT_FALSE(state.enterExecutes);
}

}  // namespace
}  // namespace korval
