// Rows whose new name asks for a tag their file lacks: never renamed, in the list, the plan or the
// run, and the reason names the tag.
#include <gtest/gtest.h>

#include "engine/execute_changes.h"
#include "engine/plan_file_system.h"
#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "platform/utf8.h"
#include "testing/quiet_context.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(MissingTag, TheRowKeepsItsNameAndSaysWhichTag) {
  for (const bool plan : {false, true}) {
    SCOPED_TRACE(plan ? "plan" : "run");
    TempFolder folder;
    RenameList list;
    for (const wchar_t* name : {L"a.txt", L"b.txt"}) {
      folder.WriteFile(name, "abc");
      list.Append({name, L".txt", folder.Path(), L"", L"", L"", ItemStatus::None, false});
    }
    PanelValues panel;
    panel.replaceFrom = L"^(.*)$";
    panel.replaceTo = L"$1_<:CRC32>_<:Artist>";
    panel.regexp = 1;
    ModeParams params;
    RunState state;
    PlanFileSystem planFs;
    RunRecord record;
    record.plan = plan;
    ExecuteContext context = QuietContext(list, panel, params, state, folder.Path(), kModeReplace);
    context.options.writelog = 0;
    if (plan) context.fs = &planFs;
    SetMessagePolicy({true, false, false, false});
    ScriptedMessageSink sink;
    RunReport preview;
    ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, context, &preview));
    EXPECT_EQ(L"a.txt : タグがありません: Artist", preview.hint);
    for (size_t i = 0; i < list.Count(); ++i) {
      EXPECT_EQ(ItemStatus::Failed, list.Row(i).status) << i;
      EXPECT_EQ(0u, list.Row(i).newName.find(list.Row(i).oldName.substr(0, 1) + L"_352441c2_<:Artist>"))
          << Utf8(list.Row(i).newName);
    }
    context.record = &record;
    RunReport run;
    ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, context, &run));
    EXPECT_EQ(0, run.changed);
    EXPECT_FALSE(EveryRowDone(record.rows));
    ASSERT_EQ(2u, record.rows.size());
    for (const ReportRow& r : record.rows) {
      EXPECT_EQ(RowOutcome::Skipped, r.outcome);
      EXPECT_EQ(L"タグがありません: Artist", r.reason);
      EXPECT_TRUE(folder.Exists(r.oldName));
    }

    // With a text for files without the tag, every row is renamed.
    panel.replaceTo = L"$1_<:Artist|不明>";
    state = RunState{};
    record.rows.clear();
    ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, context, &run));
    EXPECT_EQ(2, run.changed);
    EXPECT_TRUE(EveryRowDone(record.rows));
    EXPECT_EQ(L"a_不明.txt", record.rows[0].newName);
    EXPECT_EQ(!plan, folder.Exists(L"a_不明.txt"));
  }
}

}  // namespace
}  // namespace korval
