#include "modes/read_mode_params.h"

#include <gtest/gtest.h>

#include "modes/change_mode.h"
#include "modes/exception_word_list.h"

namespace korval {
namespace {

std::vector<std::wstring> Typed(const ExceptionWordList& list) {
  std::vector<std::wstring> words;
  for (const ExceptionWord& w : list) words.push_back(w.typed);
  return words;
}

std::vector<std::wstring> Normal(const ExceptionWordList& list) {
  std::vector<std::wstring> words;
  for (const ExceptionWord& w : list) words.push_back(w.normal);
  return words;
}

TEST(ExceptionWordList, WordsAndTheirNormalForms) {
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"an", L"Xy_z", L"q"}), Typed(BuildExceptionWordList(L"a an Xy_z -q", 0)));
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"an", L"xy_z", L"q"}), Normal(BuildExceptionWordList(L"a an Xy_z -q", 0)));
  EXPECT_EQ((std::vector<std::wstring>{L"DVD", L"USB-C"}), Normal(BuildExceptionWordList(L"dvd  usb-c", 1)));
  EXPECT_EQ((std::vector<std::wstring>{L"Mcdonald", L"Of"}), Normal(BuildExceptionWordList(L"mcDonald oF", 2)));
  // Other characters are skipped, letters only change their ASCII case.
  EXPECT_EQ((std::vector<std::wstring>{L"ab", L"cd"}), Typed(BuildExceptionWordList(L"a1b c\u3042d", 0)));
  EXPECT_TRUE(BuildExceptionWordList(L"  _x. ", 0).size() == 1);
  EXPECT_TRUE(BuildExceptionWordList(L"", 0).empty());
}

TEST(ExceptionWordList, LongWordsSplitAfter39AndTheListHolds128) {
  const std::wstring word(45, L'a');
  const ExceptionWordList list = BuildExceptionWordList(word, 1);
  ASSERT_EQ(2u, list.size());
  EXPECT_EQ(39u, list[0].typed.size());
  EXPECT_EQ(std::wstring(38, L'A') + L"a", list[0].normal);  // the 39th stays as typed
  EXPECT_EQ(std::wstring(6, L'A'), list[1].normal);
  std::wstring many;
  for (int i = 0; i < 200; ++i) many += L"w ";
  EXPECT_EQ(128u, BuildExceptionWordList(many, 0).size());
}

TEST(ReadModeParams, RememberMovesAnExactMatchToTheTopAndKeeps64) {
  std::vector<std::wstring> history = {L"c", L"b", L"a"};
  RememberInput(history, L"a");
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"c", L"b"}), history);
  RememberInput(history, L"A");  // exact match only
  EXPECT_EQ((std::vector<std::wstring>{L"A", L"a", L"c", L"b"}), history);
  RememberInput(history, L"");
  EXPECT_EQ(4u, history.size());
  for (int i = 0; i < 100; ++i) RememberInput(history, std::to_wstring(i));
  ASSERT_EQ(64u, history.size());
  EXPECT_EQ(L"99", history.front());
  EXPECT_EQ(L"36", history.back());
}

TEST(ReadModeParams, SecondCountZeroOrEmptyBecomes255AndIsWrittenBack) {
  for (const wchar_t* typed : {L"0", L"", L"000"}) {
    PanelValues panel;
    panel.dellen2Text = typed;
    ModeParams params;
    EXPECT_FALSE(ReadModeParams(panel, params, {}));
    EXPECT_EQ(255, params.dellen2);
    EXPECT_EQ(L"255", panel.dellen2Text);
  }
  PanelValues panel;
  panel.addlenText = L"999";
  panel.dellenText = L"12x";
  panel.dellen2Text = L"7";
  ModeParams params;
  ReadModeParams(panel, params, {});
  EXPECT_EQ(255, params.addlen);
  EXPECT_EQ(12, params.dellen);
  EXPECT_EQ(7, params.dellen2);
  EXPECT_EQ(L"7", panel.dellen2Text);
}

TEST(ReadModeParams, SecondsAndDaysAboveTheirMaximumAreCorrectedInTheBox) {
  PanelValues panel;
  panel.secondsText = L"999999";
  panel.daysText = L"400";
  ModeParams params;
  ReadModeParams(panel, params, {});
  EXPECT_EQ(604800, params.timeplus);
  EXPECT_EQ(L"604800", panel.secondsText);
  EXPECT_EQ(366, params.fwdbackdays);
  EXPECT_EQ(L"366", panel.daysText);
}

TEST(ReadModeParams, EscapesAreDecodedInTheTextBoxes) {
  PanelValues panel;
  panel.addstr = L"\\u3042_";
  panel.renbanstr = L"\\u30A2<1>";
  panel.replaceFrom = L"\\u00e9/b";
  ModeParams params;
  ReadModeParams(panel, params, {});
  EXPECT_EQ(L"\u3042_", params.addstr);
  EXPECT_EQ(L"\\u30A2<1>", params.renbanstr);  // upper-case hex stays as typed
  EXPECT_EQ((std::vector<std::wstring>{L"\u00e9", L"b"}), params.replaceFromItems);
}

TEST(ReadModeParams, TooLongTextsStopTheRunOnlyInTheirMode) {
  struct Case { int mode; const wchar_t* box; size_t length; bool tooLong; };
  const Case cases[] = {
      {kModeAddText, L"add", 128, true},     {kModeAddText, L"add", 127, false}, {kModeSerialNumber, L"add", 200, false},
      {kModeSerialNumber, L"serial", 128, true}, {kModeExtension, L"ext", 128, true}, {kModeExtension, L"ext", 127, false},
  };
  for (const Case& c : cases) {
    PanelValues panel;
    panel.mode = c.mode;
    const std::wstring text(c.length, L'x');
    if (std::wstring(c.box) == L"add") panel.addstr = text;
    if (std::wstring(c.box) == L"serial") panel.renbanstr = text;
    if (std::wstring(c.box) == L"ext") panel.extensionText = text;
    ModeParams params;
    InputHistories noHistory;
    noHistory.switches = 0;
    EXPECT_EQ(c.tooLong, ReadModeParams(panel, params, noHistory)) << c.mode << " " << c.length;
  }
  PanelValues panel;
  panel.mode = kModeReplace;
  ModeParams params;
  AutoReplace replace;
  replace.tooLong = true;  // the command line's text was too long
  EXPECT_TRUE(ReadModeParams(panel, params, {}, &replace));
}

TEST(ReadModeParams, HistoriesRecordTheBoxesAndCutLongTexts) {
  std::vector<std::wstring> from{L"old"}, to, ext, serial, add, filter{L"リスト選択"};
  InputHistories histories{&from, &to, &ext, &serial, &add, &filter, 255};
  PanelValues panel;
  panel.replaceFrom = L"old";
  panel.replaceTo = L"new";
  panel.filterText = L"*.jpg";
  panel.addstr = std::wstring(130, L'a');
  ModeParams params;
  EXPECT_TRUE(ReadModeParams(panel, params, histories));  // the added text is too long for its box
  EXPECT_EQ((std::vector<std::wstring>{L"old"}), from);
  EXPECT_EQ((std::vector<std::wstring>{L"new"}), to);
  EXPECT_EQ((std::vector<std::wstring>{L"*.jpg", L"リスト選択"}), filter);
  ASSERT_EQ(1u, add.size());
  EXPECT_EQ(127u, add[0].size());
  // Switched off, a history is left alone.
  histories.switches = 255 & ~4;
  panel.replaceFrom = L"other";
  panel.addstr.clear();
  ReadModeParams(panel, params, histories);
  EXPECT_EQ((std::vector<std::wstring>{L"old"}), from);
}

TEST(ReadModeParams, ExceptionTextGoesToTheListOfTheSelectedCase) {
  PanelValues panel;
  ModeParams params;
  params.bsexcept2 = L"of the";
  panel.bigsmall = 1;
  panel.exceptionText = L"dvd cd";
  ReadModeParams(panel, params, {});
  EXPECT_EQ(L"dvd cd", params.bsexcept1);
  EXPECT_EQ(2u, params.exceptionWords[1].size());
  EXPECT_EQ(2u, params.exceptionWords[2].size());  // rebuilt from the stored text
  EXPECT_EQ(L"The", params.exceptionWords[2][1].normal);
  panel.bigsmall = 3;  // no list of its own
  panel.exceptionText = L"ignored";
  ReadModeParams(panel, params, {});
  EXPECT_EQ(L"dvd cd", params.bsexcept1);
  EXPECT_EQ(L"", params.bsexcept0);
}

TEST(ReadModeParams, AutomaticReplacementOverridesTheBoxes) {
  PanelValues panel;
  panel.replaceFrom = L"box";
  panel.regexp = 0;
  panel.repmode = 2;
  AutoReplace run{L"(\\d+)", L"n$1", 0, 0, 1};
  ModeParams params;
  ReadModeParams(panel, params, {}, &run);
  EXPECT_EQ((std::vector<std::wstring>{L"(\\d+)"}), params.replaceFromItems);
  EXPECT_EQ(1, params.regexp);
  EXPECT_EQ(0, params.repmode);
  EXPECT_EQ(0, params.repcase);
  EXPECT_EQ(1, params.repwithext);
}

TEST(ReadModeParams, TypedDatePatternAndClampedSelections) {
  PanelValues panel;
  panel.datefrom = -1;
  panel.dateText = L"yyyy-MM-dd";
  panel.rndpattern = 9;
  panel.deltype = -3;
  ModeParams params;
  ReadModeParams(panel, params, {});
  EXPECT_EQ(-1, params.datefrom);
  EXPECT_EQ(L"yyyy-MM-dd", params.ymdform);
  EXPECT_EQ(6, params.rndpattern);
  EXPECT_EQ(0, params.deltype);
  panel.datefrom = 3;
  ReadModeParams(panel, params, {});
  EXPECT_EQ(3, params.datefrom);
  EXPECT_EQ(L"", params.ymdform);
}

TEST(ReadModeParams, ReplaceItemsFollowTheSlashRules) {
  struct Case { const wchar_t* text; bool search; std::vector<std::wstring> items; };
  const Case cases[] = {
      {L"a/b", true, {L"a", L"b"}},
      {L"a//b", true, {L"a"}},
      {L"a//b", false, {L"a", L"", L"b"}},
      {L"a/", true, {L"a"}},
      {L"a\\/b/c", true, {L"a\\/b", L"c"}},
      {L"a\\\\/b", false, {L"a\\\\", L"b"}},
      {L"x\\/", false, {L"x\\/"}},
      {L"", true, {}},
      {L"1/2/3/4/5/6/7/8/9", true, {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.items, SplitReplaceItems(c.text, c.search));
}

}  // namespace
}  // namespace korval
