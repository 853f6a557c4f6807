#include "macro/playback.h"

#include <gtest/gtest.h>

#include "macro/macro_file.h"
#include "macro/macro_record.h"
#include "testing/macro_run_test_world.h"
#include "modes/change_mode.h"
#include "testing/scripted_message_sink.h"
#include "tests/macro_bytes.h"

namespace korval {
namespace {

std::string Step(int mode, void (*set)(ModeParams&)) {
  ModeParams params;
  set(params);
  return BuildStepRecord(mode, params);
}

const std::string kReplaceAWithB = Step(kModeReplace, [](ModeParams& p) {
  p.replaceFrom = L"a";
  p.replaceTo = L"b";
});
const std::string kUpperCase = Step(kModeLetterCase, [](ModeParams& p) { p.bigsmall = 1; });
const std::string kAddPrefix = Step(kModeAddText, [](ModeParams& p) { p.addstr = L"x_"; });

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Plays a macro on the world's list as the window does: the macro-mode preview, then the ticks.
struct Player {
  explicit Player(MacroWorld& world) : world(world) {
    hooks.panel = &world.panel;
    hooks.previewStep = [this](int step) {
      ExecuteContext c = this->world.Context(this->world.panel.mode);
      c.sourceFromNewNames = step >= 2;
      ExecuteChanges(RunKind::Preview, c);
      ++previews;
    };
    hooks.execute = [this] {
      ExecuteContext c = this->world.Context(kModeMacro);
      ExecuteChanges(RunKind::Execute, c);
      ++executions;
    };
    hooks.finished = [this] { ++finished; };
    hooks.view.open = [this] { ++opened; };
    hooks.view.close = [this] { ++closed; };
    hooks.view.status = [this](const std::wstring& text) { statuses.push_back(text); };
    hooks.macromsec = 0;
  }

  // The macro-mode preview with the bytes as the macro file; false when it failed.
  bool Begin(const std::string& macro, bool executeAfter) {
    ExecuteContext c = world.Context(kModeMacro);
    c.readMacro = [&] {
      playback.LoadBytes(Bytes(macro));
      return true;
    };
    if (ExecuteChanges(RunKind::Preview, c) != 0) return false;
    playback.executeAfter = executeAfter;
    pauses.push_back(playback.StartPlayback(hooks));
    return true;
  }

  // Ticks until the playback ends (at most limit ticks).
  int Run(int limit = 100) {
    int ticks = 0;
    while (ticks < limit) {
      ++ticks;
      const int pause = playback.PlaybackTick(hooks);
      if (pause == 0) break;
      pauses.push_back(pause);
    }
    return ticks;
  }

  MacroWorld& world;
  MacroPlayback playback;
  PlaybackHooks hooks;
  int previews = 0, executions = 0, finished = 0, opened = 0, closed = 0;
  std::vector<std::wstring> statuses;
  std::vector<int> pauses;
};

TEST(MacroPlayback, StepsChainOnTheNewNamesAndExecuteOnceAtTheEnd) {
  MacroWorld world({L"alpha.txt", L"banana.txt"});
  Player player(world);
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB + kUpperCase + kAddPrefix, true));
  // Header and first step, then one tick per step, then the end.
  EXPECT_EQ(4, player.Run());
  EXPECT_EQ(3, player.previews);
  EXPECT_EQ(1, player.executions);
  EXPECT_EQ(1, player.finished);
  EXPECT_EQ((std::vector<std::wstring>{L"x_BBNBNB.TXT", L"x_BLPHB.TXT"}), world.Names());
  EXPECT_EQ(kModeMacro, world.panel.mode);
  EXPECT_FALSE(player.playback.Running());
  EXPECT_EQ((std::vector<std::wstring>{L"　 1 : 【 置換 】", L"　 2 : 【 大(A)⇔小(a) 】", L"　 3 : 【 文字追加 】"}),
            player.statuses);
  EXPECT_EQ(1, player.opened);
  EXPECT_EQ(1, player.closed);
}

// A macro longer than the read limit: the step that crosses the limit is not played with its texts
// cut short; the macro ends before it.
TEST(MacroPlayback, AStepCutByTheReadLimitIsNotPlayed) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  // Steps that change nothing up to 50 bytes before the limit (a record with a text of n bytes and
  // an empty one takes n + 9), then a step whose replacement of 700 "c" crosses it.
  std::string macro = BuildHeaderRecord(0);
  while (macro.size() < kMacroReadLimit - 400) macro += Record("REP", "002", std::string(200, 'q'), "");
  macro += Record("REP", "002", std::string(kMacroReadLimit - 50 - macro.size() - 9, 'q'), "");
  ASSERT_EQ(kMacroReadLimit - 50, macro.size());
  macro += Record("REP", "002", "a", std::string(700, 'c'));
  ASSERT_TRUE(player.Begin(macro, true));
  player.Run(1000);
  EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt"}), world.Names());
}

TEST(MacroPlayback, PausesFollowTheSetting) {
  EXPECT_EQ(250, FirstPlaybackPause(0));
  EXPECT_EQ(60, NextPlaybackPause(0));
  EXPECT_EQ(250, FirstPlaybackPause(189));
  EXPECT_EQ(250, FirstPlaybackPause(190));
  EXPECT_EQ(260, FirstPlaybackPause(200));
  EXPECT_EQ(260, NextPlaybackPause(200));
  EXPECT_EQ(10060, NextPlaybackPause(10000));

  MacroWorld world({L"a.txt"});
  Player player(world);
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB + kUpperCase, false));
  player.Run();
  EXPECT_EQ((std::vector<int>{250, 60, 60}), player.pauses);
}

TEST(MacroPlayback, WithoutExecuteTheNamesWaitAndNothingChangesOnDisk) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB + kUpperCase, false));
  player.Run();
  EXPECT_EQ(0, player.executions);
  EXPECT_EQ(L"BLPHB.TXT", world.list.Row(0).newName);
  EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt"}), world.Names());
  EXPECT_TRUE(world.state.previewed);  // an execution now renames at once
}

TEST(MacroPlayback, AHeaderOnlyMacroEndsOnTheFirstTick) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0), true));
  EXPECT_EQ(1, player.Run());
  EXPECT_EQ(0, player.previews);
  EXPECT_EQ(1, player.executions);  // the macro mode renames nothing: old and new names agree
  EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt"}), world.Names());
}

TEST(MacroPlayback, AbortKeepsTheLastPreviewAndExecutesNothing) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB + kUpperCase + kAddPrefix, true));
  player.playback.PlaybackTick(player.hooks);  // loads step 1
  player.playback.PlaybackTick(player.hooks);  // previews step 1, loads step 2
  player.playback.Abort(player.hooks);
  // The next tick still previews step 2, loads step 3 and stops without previewing it.
  EXPECT_EQ(0, player.playback.PlaybackTick(player.hooks));
  EXPECT_EQ(2, player.previews);
  EXPECT_EQ(0, player.executions);
  EXPECT_FALSE(player.playback.executeAfter);
  EXPECT_EQ(L"BLPHB.TXT", world.list.Row(0).newName);
  EXPECT_EQ(kModeAddText, world.panel.mode);
  EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt"}), world.Names());
}

TEST(MacroPlayback, TestModePreviewsButNeverExecutes) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  player.hooks.testMode = true;
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB, true));
  player.Run();
  EXPECT_EQ(1, player.previews);
  EXPECT_EQ(0, player.executions);
  EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt"}), world.Names());
}

TEST(MacroPlayback, SilentRunsShowNoWindow) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  player.hooks.silent = true;
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB, true));
  player.Run();
  EXPECT_EQ(0, player.opened);
  EXPECT_TRUE(player.statuses.empty());
  EXPECT_EQ((std::vector<std::wstring>{L"blphb.txt"}), world.Names());
}

TEST(MacroPlayback, AFileWithoutHeaderIsPlayedOnce) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  ASSERT_TRUE(player.Begin(kReplaceAWithB + kUpperCase, true));
  EXPECT_EQ(3, player.Run());
  EXPECT_EQ(2, player.previews);
  EXPECT_EQ((std::vector<std::wstring>{L"BLPHB.TXT"}), world.Names());
}

TEST(MacroPlayback, AnUnsupportedVersionEndsWithItsMessage) {
  ScriptedMessageSink sink;
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  player.hooks.notify = {};
  std::string macro = BuildHeaderRecord(0) + kReplaceAWithB;
  macro[3] = '6';  // version 16
  ASSERT_TRUE(player.Begin(macro, true));
  EXPECT_EQ(1, player.Run());
  EXPECT_EQ(0, player.previews);
  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(L"Non-supported Version", sink.requests[0].caption);
  EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt"}), world.Names());
}

TEST(MacroPlayback, AnUnreadableMacroEndsThePreviewWithItsMessage) {
  ScriptedMessageSink sink;
  MacroWorld world({L"alpha.txt"});
  ExecuteContext c = world.Context(kModeMacro);
  MacroPlayback playback;
  c.readMacro = [&] { return playback.Load(world.program / L"macro7.bin"); };
  EXPECT_EQ(1, ExecuteChanges(RunKind::Preview, c));
  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(L"マクロファイルが開けません。", sink.requests[0].text);
  EXPECT_EQ(L"Can't Open Macro File", sink.requests[0].caption);
  EXPECT_FALSE(world.state.previewed);
}

TEST(MacroPlayback, ALaterDateStepReadsTheTimesOfTheItemOnDisk) {
  MacroWorld world({L"alpha.txt"});
  // Modified 2021-03-04 00:00:00 UTC, 09:00 in Tokyo, where the tests run.
  SYSTEMTIME utc{2021, 3, 0, 4, 0, 0, 0, 0};
  FILETIME written;
  SystemTimeToFileTime(&utc, &written);
  HANDLE file = CreateFileW((world.work + L"alpha.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  SetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  const std::string modifiedAsNewName = Step(kModeDateTime, [](ModeParams& p) {
    p.whichdate = 1;
    p.datefrom = 7;  // YYYYMMDD
    p.dateins = 1;   // in front
  });
  Player player(world);
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB + modifiedAsNewName, true));
  player.Run();
  EXPECT_EQ((std::vector<std::wstring>{L"20210304blphb.txt"}), world.Names());
}

TEST(MacroPlayback, AnAbortDuringTheLastPauseStillExecutesNothing) {
  MacroWorld world({L"alpha.txt"});
  Player player(world);
  ASSERT_TRUE(player.Begin(BuildHeaderRecord(0) + kReplaceAWithB, true));
  player.playback.PlaybackTick(player.hooks);  // loads the only step
  player.playback.Abort(player.hooks);
  EXPECT_EQ(0, player.playback.PlaybackTick(player.hooks));  // previews it and finds the end
  EXPECT_EQ(0, player.executions);
  EXPECT_EQ(1, player.finished);
  EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt"}), world.Names());
}

}  // namespace
}  // namespace korval
