// Tests of the command line reader: the automatic-run forms and their scan, the time values, the
// replacement argument, the option flags, and random argument vectors.
#include "config/command_line.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

const LocalDateTime kNow{2024, 2, 29, 13, 45, 30};
const std::wstring kDefaultAddOpt = L"/file /subfolder0";

CommandLine Parse(std::vector<std::wstring> rest, const std::wstring& addopt = kDefaultAddOpt) {
  rest.insert(rest.begin(), L"korvalith.exe");
  return ParseCommandLine(rest, addopt, kNow);
}

struct KindCase {
  std::vector<std::wstring> args;
  int kind;
  int bits;  // the option bits above the kind expected in the word
};

TEST(CommandLineScan, FormsSelectTheirKind) {
  const KindCase cases[] = {
      {{}, 0, 0},
      {{L"C:\\photos"}, 0, 0},
      {{L"/auto1"}, 1, 0},
      {{L"/auto9"}, 9, 0},
      {{L"/auto10"}, 10, 0},
      {{L"/auto25"}, 25, 0},
      {{L"/auto26"}, 0, 0},
      {{L"/auto0"}, 0, 0},
      {{L"/auto05"}, 0, 0},
      {{L"/auto2x"}, 0, 0},
      {{L"/auto"}, 0, 0},
      {{L"/autoattr1-0-"}, kAutoAttributes, 0},
      {{L"/autoattr1-0"}, 0, 0},
      {{L"/autoattr1-0x"}, 0, 0},
      {{L"/autoattr1-0--"}, 0, 0},
      {{L"/undo"}, kAutoUndo, 0},
      {{L"/undo9"}, kAutoUndo, 0},
      {{L"/undo0"}, 0, 0},
      {{L"/undo10"}, 0, 0},
      {{L"/autofile=C:\\m.bin"}, 0, kAutoMacroFile},
      {{L"/autofile="}, 0, kAutoMacroFile},  // ends the scan; the run says the macro is missing
      {{L"/autofile=", L"/auto2"}, 0, kAutoMacroFile},
      {{L"/autofile=\"\"", L"/undo"}, 0, kAutoMacroFile},
      {{L"/undo3", L"/auto2"}, 2, 0},
      {{L"/auto2", L"/undo3"}, 2, 0},
      {{L"/auto2", L"/auto3"}, 2, 0},
      {{L"/undo3", L"/autofile=m"}, 0, kAutoMacroFile},
      {{L"/autoctime20190230", L"/auto2"}, 0, 0},
      {{L"/autoctimebad", L"/undo"}, 0, 0},
      {{L"/AUTO2"}, 0, 0},
      {{L"s/a/b/"}, kAutoReplacement, 0},
      {{L"C:\\x", L"s/a/b/"}, kAutoReplacement, 0},
      {{L"C:\\x", L"C:\\y", L"s/a/b/"}, 0, 0},
      {{L"s/a/b/", L"/auto4"}, 4, 0},
      {{L"s/a/b/x"}, 0, 0},
  };
  for (const KindCase& c : cases) {
    const CommandLine cl = Parse(c.args);
    std::string name;
    for (const auto& a : c.args) name += Utf8(a) + " ";
    EXPECT_EQ(c.kind, cl.Kind()) << name;
    EXPECT_EQ(c.bits, cl.autoRun & kAutoMacroFile) << name;
  }
}

TEST(CommandLineScan, OnlyTheFirstTwentyArgumentsAreScanned) {
  std::vector<std::wstring> args(19, L"C:\\x");
  args.push_back(L"/auto5");  // argument 20
  EXPECT_EQ(5, Parse(args).Kind());
  args.insert(args.begin(), L"C:\\y");  // now argument 21
  const CommandLine cl = Parse(args);
  EXPECT_EQ(0, cl.Kind());
  EXPECT_EQ(20u, cl.paths.size());  // paths come from every argument
}

TEST(CommandLineScan, UndoSlotAttributesAndMacroFile) {
  EXPECT_EQ(1, Parse({L"/undo"}).undoSlot);
  EXPECT_EQ(7, Parse({L"/undo7"}).undoSlot);
  EXPECT_EQ((std::array<int, 4>{1, 2, 0, 2}), Parse({L"/autoattr1-0-"}).attributes);
  EXPECT_EQ((std::array<int, 4>{2, 2, 2, 2}), Parse({L"/autoattr1-0x"}).attributes);
  EXPECT_EQ(L"C:\\m.bin", Parse({L"/autofile=\"C:\\m.bin\""}).macroFile);
  EXPECT_EQ(L"C:\\m.bin", Parse({L"/autofile=\"C:\\m.bin"}).macroFile);
  EXPECT_EQ(L"m", Parse({L"/autofile=m"}).macroFile);
  const std::wstring longest(kMaxLongPathChars, L'a');
  EXPECT_EQ(longest, Parse({L"/autofile=" + longest}).macroFile);
  EXPECT_EQ(longest, Parse({L"/autofile=\"" + longest + L"\""}).macroFile);
  const CommandLine tooLong = Parse({L"/autofile=" + longest + L"a", L"/auto3"});
  EXPECT_EQ(kAutoMacroFile, tooLong.autoRun);  // an unusable path: no other macro runs instead
  EXPECT_TRUE(tooLong.macroFile.empty());
}

struct TimeCase {
  const wchar_t* arg;
  bool automatic;
  int selection, condition;
  LocalDateTime base;
  int step;
};

TEST(CommandLineTimeValue, EveryFormOfTheValue) {
  const LocalDateTime today0{2024, 2, 29, 0, 0, 0};
  const TimeCase cases[] = {
      {L"/autoctimetoday", true, 0, 0, today0, 0},
      {L"/automtimetoday+3600", true, 1, 0, today0, 3600},
      {L"/autobtimetoday235958", true, 2, 0, {2024, 2, 29, 23, 59, 58}, 0},
      {L"/autoctimetoday010203+604800", true, 0, 0, {2024, 2, 29, 1, 2, 3}, 604800},
      {L"/autoctimenow", true, 0, 0, kNow, 0},
      {L"/autoctimenow+0", true, 0, 0, kNow, 0},
      {L"/autoctimenow+15", true, 0, 0, kNow, 15},
      {L"/autoctime20190228", true, 0, 0, {2019, 2, 28, 13, 45, 30}, 0},
      {L"/autoctime20200229+2", true, 0, 0, {2020, 2, 29, 13, 45, 30}, 2},
      {L"/autoctime20190101120000", true, 0, 0, {2019, 1, 1, 12, 0, 0}, 0},
      {L"/automtime20191231235959+60", true, 1, 0, {2019, 12, 31, 23, 59, 59}, 60},
      {L"/autoctime=mtime", true, 3, 0, {}, 0},
      {L"/autoctime=mtimenew", true, 3, 1, {}, 0},
      {L"/autoctime=mtimeold", true, 3, 2, {}, 0},
      {L"/automtime=ctime", true, 4, 0, {}, 0},
      {L"/automtime=ctimenew", true, 4, 1, {}, 0},
      {L"/automtime=ctimeold", true, 4, 2, {}, 0},
      {L"/autobtime=mtime", false, 0, 0, {}, 0},
      {L"/autoctime=ctime", false, 0, 0, {}, 0},
      {L"/autoctime=mtimex", false, 0, 0, {}, 0},
      {L"/autoctimetoday+999999", false, 0, 0, {}, 0},
      {L"/autoctimetoday+604801", false, 0, 0, {}, 0},
      {L"/autoctimetoday+", false, 0, 0, {}, 0},
      {L"/autoctimetoday+1x", false, 0, 0, {}, 0},
      {L"/autoctimetoday240000", false, 0, 0, {}, 0},
      {L"/autoctimetoday126000", false, 0, 0, {}, 0},
      {L"/autoctimetoday1200", false, 0, 0, {}, 0},
      {L"/autoctimenowx", false, 0, 0, {}, 0},
      {L"/autoctime20190230", false, 0, 0, {}, 0},
      {L"/autoctime20190229", false, 0, 0, {}, 0},
      {L"/autoctime00000101", false, 0, 0, {}, 0},
      {L"/autoctime20191301", false, 0, 0, {}, 0},
      {L"/autoctime2019010112", false, 0, 0, {}, 0},
      {L"/autoctime2019", false, 0, 0, {}, 0},
      {L"/autoctime", false, 0, 0, {}, 0},
      {L"/autoctime20190101126060", false, 0, 0, {}, 0},
  };
  for (const TimeCase& c : cases) {
    const CommandLine cl = Parse({c.arg});
    ASSERT_EQ(c.automatic ? kAutoTimestamp : 0, cl.Kind()) << Utf8(c.arg);
    if (!c.automatic) continue;
    EXPECT_EQ(c.selection, cl.timestampSelection) << Utf8(c.arg);
    EXPECT_EQ(c.condition, cl.timestampCondition) << Utf8(c.arg);
    if (c.selection < 3) {
      EXPECT_EQ(c.base, cl.timestampBase) << Utf8(c.arg);
      EXPECT_EQ(c.step, cl.secondsPerFile) << Utf8(c.arg);
    }
  }
}

struct ReplaceCase {
  const wchar_t* arg;
  bool accepted;
  const wchar_t* from;
  const wchar_t* to;
  bool all, ignoreCase, withExtension;
};

TEST(CommandLineReplacement, ArgumentGrammar) {
  const ReplaceCase cases[] = {
      {L"s/a/b/", true, L"a", L"b", false, false, false},
      {L"s/a/b/c/d/", true, L"a/b", L"c/d", false, false, false},
      {L"s/a\\/b/c/", true, L"a\\/b", L"c", false, false, false},
      {L"s/a/b/gie", true, L"a", L"b", true, true, true},
      {L"s/a/b/k", true, L"a", L"b", false, false, false},
      {L"s/a/b/ix", false, L"", L"", false, false, false},
      {L"s/a/b", false, L"", L"", false, false, false},
      {L"s/a/b/c/", false, L"", L"", false, false, false},
      {L"s///", true, L"", L"", false, false, false},
      {L"s//", false, L"", L"", false, false, false},
      {L"x/a/b/", false, L"", L"", false, false, false},
      {L"s/\\\\/x/", true, L"\\\\", L"x", false, false, false},
      {L"s/a/b/\\", false, L"", L"", false, false, false},
      {L"s/1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/", true, L"1/2/3/4/5/6/7/8", L"9/10/11/12/13/14/15/16", false,
       false, false},
      {L"s/1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/", false, L"", L"", false, false, false},
  };
  for (const ReplaceCase& c : cases) {
    CommandLine cl;
    ASSERT_EQ(c.accepted, ParseReplacementArgument(c.arg, cl)) << Utf8(c.arg);
    if (!c.accepted) continue;
    EXPECT_EQ(c.from, cl.replaceFrom) << Utf8(c.arg);
    EXPECT_EQ(c.to, cl.replaceTo) << Utf8(c.arg);
    EXPECT_EQ(c.all, cl.replaceAll) << Utf8(c.arg);
    EXPECT_EQ(c.ignoreCase, cl.ignoreCase) << Utf8(c.arg);
    EXPECT_EQ(c.withExtension, cl.withExtension) << Utf8(c.arg);
  }
}

TEST(CommandLineReplacement, LongTextsAreDroppedAndTheRunMapsToModeParameters) {
  const std::wstring t241(241, L'x'), t242(242, L'y');
  CommandLine cl = Parse({L"s/" + t241 + L"/" + t242 + L"/g"});
  EXPECT_EQ(t241, cl.replaceFrom);
  EXPECT_EQ(L"", cl.replaceTo);
  EXPECT_TRUE(ToAutoReplace(cl).tooLong);  // the run stops instead of deleting what it matches
  cl = Parse({L"s/" + t242 + L"/b/ie", L"C:\\f"});
  EXPECT_EQ(L"", cl.replaceFrom);
  EXPECT_TRUE(cl.replaceTooLong);
  EXPECT_FALSE(Parse({L"s/" + t241 + L"/" + t241 + L"/"}).replaceTooLong);
  EXPECT_EQ(std::vector<std::wstring>{L"C:\\f"}, cl.paths);  // the replacement argument is no path

  AutoReplace r = ToAutoReplace(Parse({L"s/a/b/ie"}));
  EXPECT_EQ(L"a", r.from);
  EXPECT_EQ(L"b", r.to);
  EXPECT_EQ(1, r.repmode);  // the first occurrence
  EXPECT_EQ(0, r.repcase);
  EXPECT_EQ(1, r.repwithext);
  r = ToAutoReplace(Parse({L"s/a/b/g"}));
  EXPECT_EQ(0, r.repmode);
  EXPECT_EQ(1, r.repcase);
  EXPECT_EQ(0, r.repwithext);
}

TEST(CommandLineOptions, AutomaticOnlyOptionsNeedAnAutomaticRun) {
  const CommandLine interactive =
      Parse({L"/show", L"/noexit", L"/allmsg", L"/subfolder3", L"/test", L"/folder+", L"/sortsizer", L"/filter=*.jpg"});
  EXPECT_EQ(0, interactive.autoRun);
  EXPECT_FALSE(interactive.testMode);
  EXPECT_EQ(-1, interactive.subfolderDepth);
  EXPECT_EQ(1, interactive.listTarget);
  EXPECT_EQ(2, interactive.folderRead);
  EXPECT_EQ(41, interactive.sortRequest);
  EXPECT_TRUE(interactive.hasFilter);
  EXPECT_EQ(L"*.jpg", interactive.filterText);
  // An interactive start does not read `autoaddopt`.
  EXPECT_EQ(-1, Parse({}).listTarget);

  const CommandLine automatic = Parse({L"/auto1", L"/show", L"/noexit", L"/allmsg", L"/subfolder10"});
  EXPECT_EQ(1 | kAutoShow | kAutoNoExit | kAutoAllMessages, automatic.autoRun);
  EXPECT_EQ(10, automatic.subfolderDepth);
  EXPECT_EQ(0, automatic.listTarget);  // from `autoaddopt`
  EXPECT_FALSE(automatic.ClosesAfterRun());
}

TEST(CommandLineOptions, CommandLineOverridesAutoAddOpt) {
  CommandLine cl = Parse({L"/auto1", L"/folder", L"/subfolder5"}, L"  /file   /subfolder0 /show /allmsg ");
  EXPECT_EQ(1, cl.listTarget);
  EXPECT_EQ(5, cl.subfolderDepth);
  EXPECT_TRUE(cl.Shows());
  EXPECT_EQ(kAutoAllMessages, cl.autoRun & (kAutoAllMessages | kAutoErrorMessages));
  cl = Parse({L"/auto1", L"/hide", L"/nomsg"}, L"/show /errmsg");
  EXPECT_FALSE(cl.Shows());
  EXPECT_EQ(0, cl.autoRun & (kAutoAllMessages | kAutoErrorMessages));
  EXPECT_EQ(-1, cl.subfolderDepth);
  EXPECT_EQ(0, Parse({L"/auto1"}).subfolderDepth);  // the default `autoaddopt`
  EXPECT_EQ(-1, Parse({L"/auto1"}, L"").subfolderDepth);
}

TEST(CommandLineOptions, NoExitWithoutShowStillCloses) {
  EXPECT_TRUE(Parse({L"/auto1", L"/noexit"}).ClosesAfterRun());
  EXPECT_TRUE(Parse({L"/auto1", L"/show"}).ClosesAfterRun());
  EXPECT_TRUE(Parse({L"/auto1", L"/show", L"/noexit", L"/exit"}).ClosesAfterRun());
  EXPECT_FALSE(Parse({L"/auto1", L"/noexit", L"/show"}).ClosesAfterRun());
}

TEST(CommandLineOptions, TestModeFixesShowAndExit) {
  CommandLine cl = Parse({L"/undo", L"/allmsg", L"/test", L"/hide", L"/exit", L"/subfolder2", L"/sortdate"});
  EXPECT_TRUE(cl.testMode);
  EXPECT_EQ(kAutoUndo | kAutoShow | kAutoNoExit | kAutoErrorMessages, cl.autoRun);
  EXPECT_EQ(2, cl.subfolderDepth);
  EXPECT_EQ(50, cl.sortRequest);
  cl = Parse({L"/undo", L"/test", L"/allmsg"});
  EXPECT_EQ(kAutoAllMessages, cl.autoRun & (kAutoAllMessages | kAutoErrorMessages));
  cl = Parse({L"/undo", L"/test", L"/nomsg"});
  EXPECT_EQ(0, cl.autoRun & (kAutoAllMessages | kAutoErrorMessages));
  EXPECT_TRUE(cl.Shows());
}

TEST(CommandLineOptions, SortWordsAndListTargets) {
  const std::pair<const wchar_t*, int> sorts[] = {
      {L"/sort", 0},       {L"/sortname", 0},  {L"/sortnamer", 1}, {L"/sortr", 1},      {L"/sortext", 10},
      {L"/sortextr", 11},  {L"/sortsize", 40}, {L"/sortsizer", 41}, {L"/sortdate", 50},  {L"/sortdater", 51},
      {L"/sortdir", 20},   {L"/sortdirr", 21}, {L"/sortx", -1},     {L"/sortName", -1},  {L"/sort=name", -1},
  };
  for (const auto& [arg, request] : sorts) EXPECT_EQ(request, Parse({arg}).sortRequest) << Utf8(arg);
  EXPECT_EQ(0, Parse({L"/sortdate", L"/sortx", L"/sort"}).sortRequest);

  const std::tuple<const wchar_t*, int, int> targets[] = {
      {L"/file", 0, -1}, {L"/folder", 1, -1}, {L"/folder0", 1, 1}, {L"/folder1", 1, 0}, {L"/folder+", 1, 2},
      {L"/folder2", -1, -1}, {L"/files", -1, -1},
  };
  for (const auto& [arg, target, read] : targets) {
    const CommandLine cl = Parse({arg});
    EXPECT_EQ(target, cl.listTarget) << Utf8(arg);
    EXPECT_EQ(read, cl.folderRead) << Utf8(arg);
  }
}

TEST(CommandLineOptions, FilterText) {
  EXPECT_EQ(L"a b", Parse({L"/filter=\"a b\""}).filterText);
  EXPECT_EQ(L"a b", Parse({L"/filter=\"a b"}).filterText);
  EXPECT_EQ(L"", Parse({L"/filter="}).filterText);
  EXPECT_TRUE(Parse({L"/filter="}).hasFilter);
  EXPECT_FALSE(Parse({L"/filter"}).hasFilter);
  const std::wstring arg255 = L"/filter=" + std::wstring(247, L'f');
  EXPECT_EQ(std::wstring(247, L'f'), Parse({arg255}).filterText);
  EXPECT_FALSE(Parse({arg255 + L"f"}).hasFilter);
}

TEST(CommandLineOptions, PlanAndReportFiles) {
  const struct {
    std::vector<std::wstring> args;
    bool plan, report;
    std::wstring path;  // the report file of the start
  } cases[] = {
      {{L"s/a/b/", L"/plan=C:\\p.csv"}, true, false, L"C:\\p.csv"},
      {{L"/auto3", L"/report=\"C:\\a b\\r.csv\""}, false, true, L"C:\\a b\\r.csv"},
      {{L"/autoattr1---", L"/report=r.csv", L"/plan=p.csv"}, true, true, L"p.csv"},  // the plan wins
      {{L"/auto3", L"/plan="}, true, false, L""},
      {{L"/auto3", L"/plan=" + std::wstring(kMaxLongPathChars + 1, L'x')}, true, false, L""},  // too long: not cut
      {{L"/plan=p.csv"}, true, false, L"p.csv"},  // without a run form: the start refuses it
      {{L"/auto3", L"/plan"}, false, false, L""},
  };
  for (const auto& c : cases) {
    const CommandLine cl = Parse(c.args);
    EXPECT_EQ(c.plan, cl.plan) << Utf8(c.args.back());
    EXPECT_EQ(c.report, cl.report) << Utf8(c.args.back());
    EXPECT_EQ(c.path, cl.ReportPath()) << Utf8(c.args.back());
    EXPECT_TRUE(cl.paths.empty());
  }
  const CommandLine shown = Parse({L"s/a/b/", L"/test", L"/show", L"/noexit", L"/plan=p.csv"});
  EXPECT_FALSE(shown.Shows());
  EXPECT_TRUE(shown.ClosesAfterRun());
  EXPECT_FALSE(shown.testMode);
}

TEST(CommandLineOptions, MessageOptionsFollowTheRun) {
  MessagePolicy m = MessagePolicyOf(Parse({L"/errmsg", L"/show"}));
  EXPECT_FALSE(m.automatic);
  EXPECT_FALSE(m.show);
  EXPECT_FALSE(m.errorsOnly);
  m = MessagePolicyOf(Parse({L"/auto3", L"/errmsg"}));
  EXPECT_TRUE(m.automatic);
  EXPECT_TRUE(m.errorsOnly);
  EXPECT_FALSE(m.all);
  m = MessagePolicyOf(Parse({L"/auto3", L"/errmsg", L"/allmsg", L"/show"}));
  EXPECT_TRUE(m.all);
  EXPECT_FALSE(m.errorsOnly);
  EXPECT_TRUE(m.show);
}

TEST(CommandLineModeValues, RunsSelectTheirModeAndFillThePanel) {
  const std::pair<std::vector<std::wstring>, int> modes[] = {
      {{L"/autoattr----"}, 14}, {{L"/autoctimenow"}, 13}, {{L"s/a/b/"}, 10}, {{L"/auto25"}, 19},
      {{L"/autofile=m"}, 19},   {{L"/undo"}, 0},          {{L"C:\\x"}, 0},
  };
  for (const auto& [args, mode] : modes) EXPECT_EQ(mode, AutoRunMode(Parse(args))) << Utf8(args[0]);

  PanelValues panel;
  panel.stampnow = 1;
  ApplyAutoRunToPanel(Parse({L"/autobtime20190102030405+90"}), panel);
  EXPECT_EQ(2, panel.creatmodif);
  EXPECT_EQ(0, panel.stampnow);
  EXPECT_EQ(L"90", panel.secondsText);
  EXPECT_EQ(L"2019/01/02", panel.baseDate);
  EXPECT_EQ(L"03:04:05", panel.baseTime);

  ApplyAutoRunToPanel(Parse({L"/automtime=ctimeold"}), panel);
  EXPECT_EQ(4, panel.creatmodif);
  EXPECT_EQ(2, panel.timestpsm);
  EXPECT_EQ(L"2019/01/02", panel.baseDate);  // a copy leaves the base alone

  ApplyAutoRunToPanel(Parse({L"/autoattr01-1"}), panel);
  EXPECT_EQ((std::array<int, 4>{0, 1, 2, 1}), panel.attributes);
  ApplyAutoRunToPanel(Parse({L"/auto3"}), panel);
  EXPECT_EQ((std::array<int, 4>{0, 1, 2, 1}), panel.attributes);
  EXPECT_EQ(4, panel.creatmodif);
}

TEST(CommandLineRobustness, PathsKeepTheirOrder) {
  const CommandLine cl = Parse({L"C:\\b", L"", L"/auto1", L"C:\\a", L"s/x/y/"});
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\b", L"C:\\a", L"s/x/y/"}), cl.paths);
  EXPECT_EQ(0, ParseCommandLine({}, L"", kNow).autoRun);
}

TEST(CommandLineRobustness, RandomArgumentVectors) {
  std::mt19937 rng(20240229);
  const std::wstring pieces[] = {L"/",     L"s/",    L"\\",   L"/auto", L"time", L"today", L"now",  L"+",
                                 L"=",     L"\"",    L"1",    L"9",     L"0",    L"-",     L"ctime", L"/undo",
                                 L"/sort", L"/filter=", L"g", L"ｘ",    L" ",    L"/test", L"/autoctime"};
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::wstring> args(rng() % 30);
    for (auto& a : args) {
      const int parts = rng() % 12;
      for (int p = 0; p < parts; ++p) a += pieces[rng() % std::size(pieces)];
      if (rng() % 20 == 0) a += std::wstring(rng() % 600, static_cast<wchar_t>(L'a' + rng() % 3));
    }
    std::wstring addopt;
    for (int p = rng() % 6; p > 0; --p) addopt += pieces[rng() % std::size(pieces)];
    const CommandLine cl = ParseCommandLine(args, addopt, kNow);
    const int kind = cl.Kind();
    EXPECT_TRUE(kind <= kAutoLastMacroSlot || (kind >= kAutoAttributes && kind <= kAutoUndo)) << kind;
    EXPECT_LE(cl.macroFile.size(), 259u);
    EXPECT_LT(cl.replaceFrom.size(), kAutoReplaceTextLimit);
    EXPECT_LT(cl.replaceTo.size(), kAutoReplaceTextLimit);
    EXPECT_LT(cl.filterText.size(), kFilterArgumentLimit);
    EXPECT_LE(cl.secondsPerFile, kMaxSecondsPerFile);
    EXPECT_GE(cl.subfolderDepth, -1);
    EXPECT_LE(cl.subfolderDepth, 10);
    EXPECT_LE(cl.paths.size(), args.empty() ? 0 : args.size() - 1);
  }
}

}  // namespace
}  // namespace korval
