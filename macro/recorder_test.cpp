#include "macro/recorder.h"

#include <gtest/gtest.h>

#include "engine/show_message.h"
#include "platform/ansi_escape.h"
#include "macro/macro_file.h"
#include "macro/macro_record.h"
#include "testing/macro_run_test_world.h"
#include "macro/playback.h"
#include "modes/change_mode.h"
#include "platform/data_files.h"
#include "testing/scripted_message_sink.h"

namespace korval {
namespace {

std::wstring FormatSlotFile(int slot) { return L"macro" + std::to_wstring(slot + 1) + L".bin"; }

// The main program's list file holding one slot.
std::string ToList(int slot, const std::wstring& name) { return std::to_string(slot + 1) + ":" + ToAnsiPlain(name) + "\n"; }

// The recorder wired to the executor as the window wires it.
class RecorderTest : public testing::Test {
 protected:
  RecorderTest() : world_({L"alpha.txt", L"beta.txt", L"gamma.txt"}) {
    slots_ = UnregisteredSlots();
    context_.programFolder = world_.program.Path();
    context_.params = &world_.params;
    context_.slotNames = &slots_;
    world_.state.recording = true;
  }

  // Previews and executes one step in mode, as the user does while recording.
  void Execute(int mode) {
    ExecuteContext c = world_.Context(mode);
    c.recordStep = [this](int executed) { RecordStep(recorder_, executed, context_); };
    ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, c));
    ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, c));
  }

  std::string Recording() { return world_.program.ReadFile(L"macro0"); }

  ScriptedMessageSink sink_;
  MacroWorld world_;
  MacroSlotNames slots_;
  RecorderContext context_;
  MacroRecorder recorder_;
};

TEST_F(RecorderTest, ExecutedStepsAreAppendedAndConfirmed) {
  ASSERT_EQ(0, BeginRecording(recorder_, 4, context_));
  EXPECT_EQ("KV150\n", Recording());
  world_.panel.replaceFrom = L"a";
  world_.panel.replaceTo = L"o";
  Execute(kModeReplace);
  world_.panel.bigsmall = 1;
  Execute(kModeLetterCase);
  EXPECT_EQ(3, recorder_.state);
  ASSERT_EQ(2u, sink_.requests.size());
  EXPECT_EQ(L"1 個目　：　[置換] モード\n\n記録されました。", sink_.requests[0].text);
  EXPECT_EQ(L"", sink_.requests[0].caption);
  EXPECT_EQ(L"2 個目　：　[大(A)⇔小(a)] モード\n\n記録されました。", sink_.requests[1].text);
  // The recording holds the header and the two steps as the writers build them.
  ModeParams replace;
  replace.replaceFrom = L"a";
  replace.replaceTo = L"o";
  ModeParams upper;
  upper.bigsmall = 1;
  EXPECT_EQ("KV150\n" + BuildStepRecord(kModeReplace, replace) + BuildStepRecord(kModeLetterCase, upper), Recording());
}

TEST_F(RecorderTest, ShortNamesOnlyAsTheFirstStepAndOnlyChangesAreRecorded) {
  BeginRecording(recorder_, 0, context_);
  RecordStep(recorder_, kModeShortName, context_);
  EXPECT_EQ(2, recorder_.state);
  RecordStep(recorder_, kModeShortName, context_);
  EXPECT_EQ(2, recorder_.state);
  EXPECT_EQ(L"8.3形式は1回目のみ記録できます。", sink_.requests.back().text);
  EXPECT_EQ(L"To 8.3 Format is not Available Now", sink_.requests.back().caption);
  for (int mode : {kModeTimestamp, kModeAttribute, kModeMacro}) RecordStep(recorder_, mode, context_);
  EXPECT_EQ(2, recorder_.state);
  // An execution that renames nothing records nothing.
  world_.options.force4 = 0;  // unchanged names are not renamed onto themselves
  world_.panel.replaceFrom = L"zzz";
  world_.panel.replaceTo = L"y";
  const size_t before = Recording().size();
  Execute(kModeReplace);
  EXPECT_EQ(2, recorder_.state);
  EXPECT_EQ(before, Recording().size());
}

TEST_F(RecorderTest, AFullFileRefusesTheStep) {
  BeginRecording(recorder_, 0, context_);
  world_.program.WriteFile(L"macro0", std::string(kMacroAppendLimit, 'x'));
  SetMessagePolicy({.automatic = true, .errorsOnly = true});  // only error messages reach the user
  RecordStep(recorder_, kModeExtension, context_);
  SetMessagePolicy({});
  EXPECT_EQ(1, recorder_.state);
  ASSERT_FALSE(sink_.requests.empty());
  EXPECT_EQ(L"Macro File size Exceeded", sink_.requests.back().caption);
  EXPECT_EQ(kMacroAppendLimit, Recording().size());
}

TEST_F(RecorderTest, EndingWithoutStepsSavesAndShowsNothing) {
  BeginRecording(recorder_, 3, context_);
  const RecordingEndResult end = EndRecording(recorder_, std::nullopt, context_);
  EXPECT_EQ(RecordingEnd::NothingRecorded, end.end);
  EXPECT_EQ(3, end.slot);
  EXPECT_EQ(0, recorder_.state);
  EXPECT_TRUE(sink_.requests.empty());
  EXPECT_TRUE(world_.program.Exists(L"macro0"));
  EXPECT_FALSE(world_.program.Exists(L"macro4.bin"));
}

TEST_F(RecorderTest, NamingChoosesTheSlotAndTheName) {
  struct Case {
    const char* what;
    std::optional<std::wstring> dialog;
    RecordingEnd end;
    int slot;
    std::wstring name;
  };
  const Case cases[] = {
      {"typed name, start slot", NamingResult(L"写真整理", 3), RecordingEnd::Saved, 3, L"写真整理"},
      {"unregistered slot chosen, nothing typed", NamingResult(kUnregisteredSlotText, 4), RecordingEnd::Saved, 4,
       L"macro_05"},
      {"dialog closed", std::nullopt, RecordingEnd::NoName, 3, L""},
      {"empty name", std::wstring(L"03"), RecordingEnd::NoName, 3, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    slots_ = UnregisteredSlots();
    BeginRecording(recorder_, 3, context_);
    RecordStep(recorder_, kModeExtension, context_);
    sink_.requests.clear();
    const RecordingEndResult end = EndRecording(recorder_, c.dialog, context_);
    EXPECT_EQ(c.end, end.end);
    EXPECT_EQ(c.slot, end.slot);
    EXPECT_EQ(0, recorder_.state);
    if (c.end == RecordingEnd::Saved) {
      EXPECT_EQ(c.name, slots_[static_cast<size_t>(c.slot)]);
      EXPECT_TRUE(world_.program.Exists(FormatSlotFile(c.slot)));
      EXPECT_FALSE(world_.program.Exists(L"macro0"));
      EXPECT_EQ(ToList(c.slot, c.name), world_.program.ReadFile(L"macro.lst"));
      EXPECT_TRUE(sink_.requests.empty());
      DeleteFileW((world_.program / FormatSlotFile(c.slot)).c_str());
    } else {
      ASSERT_EQ(1u, sink_.requests.size());
      EXPECT_EQ(L"No File Name, No Save", sink_.requests[0].caption);
      EXPECT_TRUE(world_.program.Exists(L"macro0"));
    }
  }
}

TEST_F(RecorderTest, SavingIntoAnOccupiedSlotReplacesItsMacro) {
  world_.program.WriteFile(L"macro2.bin", "old macro");
  SetFileAttributesW((world_.program / L"macro2.bin").c_str(), FILE_ATTRIBUTE_READONLY);
  slots_[1] = L"古い";
  BeginRecording(recorder_, 0, context_);
  RecordStep(recorder_, kModeExtension, context_);
  const std::string recorded = Recording();
  EXPECT_EQ(RecordingEnd::Saved, EndRecording(recorder_, NamingResult(L"新しい", 1), context_).end);
  EXPECT_EQ(recorded, world_.program.ReadFile(L"macro2.bin"));
  EXPECT_EQ(L"新しい", slots_[1]);
}

TEST_F(RecorderTest, ToggleAsksForANameOnlyAfterAStep) {
  int asked = 0;
  auto askName = [&](int startSlot) -> std::optional<std::wstring> {
    ++asked;
    return NamingResult(L"toggled", startSlot);
  };
  EXPECT_FALSE(ToggleRecording(recorder_, 6, context_, askName).has_value());
  EXPECT_EQ(1, recorder_.state);
  EXPECT_EQ(RecordingEnd::NothingRecorded, ToggleRecording(recorder_, 6, context_, askName)->end);
  EXPECT_EQ(0, asked);

  ToggleRecording(recorder_, 6, context_, askName);
  RecordStep(recorder_, kModeExtension, context_);
  const std::optional<RecordingEndResult> end = ToggleRecording(recorder_, 0, context_, askName);
  ASSERT_TRUE(end.has_value());
  EXPECT_EQ(1, asked);
  EXPECT_EQ(RecordingEnd::Saved, end->end);
  EXPECT_EQ(6, end->slot);
  EXPECT_EQ(L"toggled", slots_[6]);
  EXPECT_TRUE(world_.program.Exists(L"macro7.bin"));
}

TEST_F(RecorderTest, NothingHappensWhileAChangeLogIsLoaded) {
  context_.undoMode = true;
  EXPECT_FALSE(ToggleRecording(recorder_, 0, context_, {}).has_value());
  EXPECT_EQ(0, recorder_.state);
  EXPECT_FALSE(world_.program.Exists(L"macro0"));
  world_.program.WriteFile(L"macro1.bin", "KV150\n");
  slots_[0] = L"one";
  EXPECT_FALSE(DeleteMacro(recorder_, 0, context_));
  EXPECT_TRUE(world_.program.Exists(L"macro1.bin"));
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(RecorderTest, DeletingAsksAndEmptiesTheSlot) {
  world_.program.WriteFile(L"macro6.bin", "KV150\n");
  slots_[5] = L"six";
  WriteMacroList(world_.program.Path(), slots_, MacroProgram::Main);
  sink_.Answer(IDCANCEL);
  EXPECT_FALSE(DeleteMacro(recorder_, 5, context_));
  EXPECT_EQ(L"マクロ[six]を削除します。", sink_.requests.back().text);
  EXPECT_EQ(L"Delete Macro File?", sink_.requests.back().caption);
  EXPECT_TRUE(world_.program.Exists(L"macro6.bin"));
  sink_.Answer(IDOK);
  EXPECT_TRUE(DeleteMacro(recorder_, 5, context_));
  EXPECT_FALSE(world_.program.Exists(L"macro6.bin"));
  EXPECT_EQ(kUnregisteredSlotText, slots_[5]);
  EXPECT_EQ("", world_.program.ReadFile(L"macro.lst"));
  // An unregistered slot asks nothing; while recording nothing is deleted.
  const size_t asked = sink_.requests.size();
  EXPECT_FALSE(DeleteMacro(recorder_, 5, context_));
  EXPECT_EQ(asked, sink_.requests.size());
  slots_[6] = L"seven";
  BeginRecording(recorder_, 0, context_);
  EXPECT_FALSE(DeleteMacro(recorder_, 6, context_));
  EXPECT_EQ(L"現在マクロ記録中のため、削除できません。", sink_.requests.back().text);
}

// A macro recorded through the executor replays to the same names on a fresh copy of the files.
TEST_F(RecorderTest, ARecordedMacroReplaysToTheSameNames) {
  BeginRecording(recorder_, 0, context_);
  world_.panel.replaceFrom = L"a";
  world_.panel.replaceTo = L"e";
  Execute(kModeReplace);
  world_.panel.renbanstr = L"<01>_";
  world_.panel.numinspos = 0;
  Execute(kModeSerialNumber);
  world_.panel.bigsmall = 4;
  Execute(kModeLetterCase);
  ASSERT_EQ(RecordingEnd::Saved, EndRecording(recorder_, NamingResult(L"three steps", 0), context_).end);
  const std::vector<std::wstring> recordedNames = world_.Names();
  ASSERT_NE(recordedNames, (std::vector<std::wstring>{L"alpha.txt", L"beta.txt", L"gamma.txt"}));

  MacroWorld replay({L"alpha.txt", L"beta.txt", L"gamma.txt"});
  MacroPlayback playback;
  PlaybackHooks hooks;
  hooks.panel = &replay.panel;
  hooks.silent = true;
  hooks.previewStep = [&](int step) {
    ExecuteContext c = replay.Context(replay.panel.mode);
    c.sourceFromNewNames = step >= 2;
    ExecuteChanges(RunKind::Preview, c);
  };
  hooks.execute = [&] {
    ExecuteContext c = replay.Context(kModeMacro);
    ExecuteChanges(RunKind::Execute, c);
  };
  ExecuteContext c = replay.Context(kModeMacro);
  c.readMacro = [&] { return playback.Load(world_.program / L"macro1.bin"); };
  ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, c));
  playback.executeAfter = true;
  playback.StartPlayback(hooks);
  for (int tick = 0; tick < 10 && playback.PlaybackTick(hooks) != 0; ++tick) {
  }
  EXPECT_EQ(recordedNames, replay.Names());
}

}  // namespace
}  // namespace korval
