// A pass whose regular expression cannot finish on a name: the first cut-off ends the pattern's work
// for the whole run, the rows keep their names, and one message says so.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/execute_changes.h"
#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "modes/regex_binding.h"
#include "platform/faulty_file_system.h"
#include "platform/scripted_message_sink.h"
#include "platform/temp_folder.h"
#include "platform/utf8.h"

namespace korval {
namespace {

TEST(RegexCutOff, ARunOverManyNamesEndsInSecondsWithOneMessage) {
  TempFolder program;
  const std::wstring work = program.Path();
  RenameList list;
  constexpr int kRows = 10000;
  for (int i = 0; i < kRows; ++i) {
    const std::wstring name = std::wstring(40, L'a') + L"_" + std::to_wstring(i) + L".txt";
    list.Append({name, L".txt", work, L"", L"", L"", ItemStatus::None, false});
  }
  PanelValues panel;
  // Nested repeats after a long comment: without a fixed budget this runs for seconds per name.
  panel.replaceFrom = L"(a+)+b(?#" + std::wstring(200, L'c') + L")";
  panel.replaceTo = L"x";
  panel.regexp = 1;
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

}  // namespace
}  // namespace korval
