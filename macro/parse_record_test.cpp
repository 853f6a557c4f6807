// Reading records back: the header checks, every step loaded into the mode panel, the position map
// of version-12 files, cut records, and the editor's whole-file reading.
#include "macro/parse_record.h"

#include <gtest/gtest.h>

#include "macro/step_codes.h"
#include "modes/change_mode.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

using namespace std::string_literals;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

struct Told {
  std::wstring text, caption;
  UINT style = 0;
};

// Parses a whole file the way playback does; returns the results in order.
struct Playback {
  explicit Playback(std::string bytes) : file(std::move(bytes)) {}

  std::string file;
  size_t offset = 0;
  MacroParseState state;
  PanelValues panel;
  std::vector<Told> told;

  int Next() {
    return ParseNextRecord(Bytes(file), file.size(), offset, state, panel,
                           [this](const std::wstring& t, const std::wstring& c, UINT s) { told.push_back({t, c, s}); });
  }
};

std::string WithHeader(const ModeParams& params, int mode) { return "KV150\n" + BuildStepRecord(mode, params); }

TEST(MacroParseHeader, VersionsAndTargets) {
  struct Case {
    std::string header;
    int result;
    bool told;
  } cases[] = {
      {"KV150\n", kParseHeader, false}, {"KV151\n", kParseHeader, false}, {"KV110\n", kParseHeader, false},
      {"KV152\n", kParseNothing, false}, {"KV15x\n", kParseNothing, false}, {"KV100\n", kParseNothing, true},
      {"KV160\n", kParseNothing, true},  {"KVab0\n", kParseNothing, true},  {"KV", kParseNothing, true},
      {"kv150\n", kParseNothing, false},
  };
  for (const Case& c : cases) {
    Playback play{c.header};
    EXPECT_EQ(play.Next(), c.result) << c.header;
    EXPECT_EQ(play.offset, c.result == kParseHeader ? 6u : 0u) << c.header;
    EXPECT_EQ(play.state.stepCounter, c.result == kParseHeader ? 1 : 0) << c.header;
    ASSERT_EQ(play.told.size(), c.told ? 1u : 0u) << c.header;
    if (c.told) {
      EXPECT_EQ(play.told[0].text, L"このバージョンのマクロファイルは扱えません。");
      EXPECT_EQ(play.told[0].caption, L"Non-supported Version");
      EXPECT_EQ(play.told[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
  }
}

TEST(MacroParseHeader, WithoutACallbackTheMessageGoesToTheSink) {
  ScriptedMessageSink sink;
  const std::string file = "KV090\n";
  size_t offset = 0;
  MacroParseState state;
  PanelValues panel;
  EXPECT_EQ(ParseNextRecord(Bytes(file), file.size(), offset, state, panel), kParseNothing);
  ASSERT_EQ(sink.requests.size(), 1u);
  EXPECT_EQ(sink.requests[0].caption, L"Non-supported Version");
  EXPECT_EQ(state.version, 9);
}

TEST(MacroParseStep, StepsLoadTheirValuesIntoThePanel) {
  ModeParams p;
  p.extadd = 1, p.extensionText = L"tar.gz";
  p.numinspos = 3, p.dirrenreset = 1, p.renbanstr = L"img_<001>";
  p.zenorhan = 1, p.widthLetters = p.widthSymbols = 1;
  p.real8_3 = 2;
  p.addprepost = 1, p.addlen = 123, p.addstr = L"追加€";
  p.deltype = 10, p.dellen = 5, p.dellen2 = 17;
  p.repmode = 1, p.regexp = 1, p.repwithext = 0, p.repcase = 1, p.replaceFrom = L"a/b", p.replaceTo = L"c";
  p.rndpattern = 4, p.rndlen = 2, p.rndext = 1;

  Playback play{"KV150\n"};
  for (int mode : {kModeExtension, kModeSerialNumber, kModeCharWidth, kModeShortName, kModeAddText,
                   kModeDeleteText, kModeReplace, kModeRandomName, kModeCsvNames}) {
    play.file += BuildStepRecord(mode, p);
  }
  ASSERT_EQ(play.Next(), kParseHeader);
  PanelValues& v = play.panel;
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(v.mode, kModeExtension);
  EXPECT_EQ(v.extadd, 1);
  EXPECT_EQ(v.extensionText, L"tar.gz");
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(v.mode, v.numinspos, v.dirrenreset), std::make_tuple(kModeSerialNumber, 3, 1));
  EXPECT_EQ(v.renbanstr, L"img_<001>");
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(v.mode, v.zenorhan, v.widthDigits, v.widthLetters, v.widthKatakana, v.widthSymbols),
            std::make_tuple(kModeCharWidth, 1, 0, 1, 0, 1));
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(v.mode, v.real8_3), std::make_tuple(kModeShortName, 2));
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(v.mode, v.addprepost), std::make_tuple(kModeAddText, 1));
  EXPECT_EQ(v.addlenText, L"99");
  EXPECT_EQ(v.addstr, L"追加€");
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(v.mode, v.deltype), std::make_tuple(kModeDeleteText, 10));
  EXPECT_EQ(v.dellenText, L"5");
  EXPECT_EQ(v.dellen2Text, L"17");
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(v.mode, v.repmode, v.regexp, v.repwithext, v.repcase),
            std::make_tuple(kModeReplace, 1, 1, 0, 1));
  EXPECT_EQ(v.replaceFrom, L"a/b");
  EXPECT_EQ(v.replaceTo, L"c");
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(v.mode, v.rndpattern, v.rndlen, v.rndext), std::make_tuple(kModeRandomName, 4, 2, 1));
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(v.mode, kModeCsvNames);
  EXPECT_EQ(play.offset, play.file.size());
  EXPECT_EQ(play.Next(), kParseNothing);
}

TEST(MacroParseStep, DateSeparatorWithYearMarkAndFreeFormat) {
  ModeParams p;
  p.whichdate = 2, p.dateins = 3, p.addyymmdd = 0, p.sepstr = L"年-", p.datefrom = 4;
  Playback play{WithHeader(p, kModeDateTime)};
  play.panel.dateText = L"unchanged";
  play.Next();
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(play.panel.whichdate, play.panel.datefrom, play.panel.dateins, play.panel.addyymmdd),
            std::make_tuple(2, 4, 3, 1));
  EXPECT_EQ(play.panel.sepstr, L"-");
  EXPECT_EQ(play.panel.dateText, L"unchanged");

  p.addyymmdd = 0, p.sepstr = L"_", p.datefrom = -1, p.ymdform = L"YYYY年MM";
  Playback freeForm{WithHeader(p, kModeDateTime)};
  freeForm.panel.addyymmdd = 1;
  freeForm.Next();
  ASSERT_EQ(freeForm.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(freeForm.panel.datefrom, freeForm.panel.addyymmdd), std::make_tuple(-1, 0));
  EXPECT_EQ(freeForm.panel.sepstr, L"_");
  EXPECT_EQ(freeForm.panel.dateText, L"YYYY年MM");
}

TEST(MacroParseStep, SecondDeleteCountIsReadAsAnInteger) {
  struct Case {
    std::wstring stored, loaded;
  } cases[] = {{L"12abc", L"12"}, {L"abc", L"0"}, {L"", L"0"}, {L" 7", L"7"}, {L"-3", L"-3"},
               {L"99999999999", L"2147483647"}};
  for (const Case& c : cases) {
    Playback play{"KV150\n" + FormatStepRecord(StepCodeIndexOfMode(kModeDeleteText), '9', '0', '1', c.stored, L"")};
    play.Next();
    ASSERT_EQ(play.Next(), kParseStepLoaded);
    EXPECT_EQ(play.panel.dellen2Text, c.loaded) << Utf8(c.stored);
    EXPECT_EQ(play.panel.dellenText, L"1");
  }
}

TEST(MacroParseStep, LetterCaseLoadsNoExceptionWords) {
  ModeParams p;
  p.bigsmall = 4, p.dbytebig = 1, p.bsexcept2 = L"iPhone";
  Playback play{WithHeader(p, kModeLetterCase)};
  play.panel.exceptionText = L"kept";
  play.Next();
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(std::tie(play.panel.mode, play.panel.bigsmall, play.panel.dbytebig),
            std::make_tuple(kModeLetterCase, 4, 1));
  EXPECT_EQ(play.panel.exceptionText, L"kept");
}

TEST(MacroParseStep, UnknownCodesAndDigitsBeyondTheLimitEndTheMacroWhereTheyStand) {
  for (const std::string& bad : {"XYZ000\0\0\n"s, "EXT200\0\0\n"s, "RND700\0\0\n"s, "\n"s}) {
    Playback play{"KV150\n" "8_3000\0\0\n"s + bad + "EXT000\0\0\n"s};
    EXPECT_EQ(play.Next(), kParseHeader);
    EXPECT_EQ(play.Next(), kParseStepLoaded);
    EXPECT_EQ(play.Next(), kParseNothing);
    EXPECT_EQ(play.offset, 15u);
    EXPECT_EQ(play.panel.mode, kModeShortName);
  }
}

TEST(MacroParseStep, PositionEditRecordRoundTripsTheMap) {
  ModeParams p;
  for (int i = 0; i < kPositionMapSize; ++i) p.positionMap[i] = i;
  p.positionMap[0] = -1, p.positionMap[1] = 254, p.positionMap[2] = 255, p.positionMap[3] = 260;
  p.posedtnoext = 1, p.positionText = L"新しい名前.txt";
  Playback play{WithHeader(p, kModePositionEdit)};
  play.panel.positionMap[259] = 42;
  play.Next();
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(play.panel.mode, kModePositionEdit);
  EXPECT_EQ(play.panel.posedtnoext, 1);
  EXPECT_EQ(play.panel.positionText, L"新しい名前.txt");
  for (int i = 0; i < kStoredMapEntries; ++i) ASSERT_EQ(play.panel.positionMap[i], p.positionMap[i]) << i;
  EXPECT_EQ(play.panel.positionMap[259], 42);
  EXPECT_EQ(play.offset, play.file.size());
}

TEST(MacroParseStep, Version12FilesKeepTheMapOneByteLater) {
  // Entries from offset 4: the first reads "02" (1); the 259th ends on the flag byte at 521.
  const std::string record = "EDT0" "02"s + std::string(2 * 257, 'f') + "0" "1" "0 " "\x21\0\n"s;
  ASSERT_EQ(record.size(), 527u);
  for (const char* header : {"KV120\n", "KV150\n"}) {
    Playback play{header + record};
    play.Next();
    ASSERT_EQ(play.Next(), kParseStepLoaded) << header;
    const bool v12 = play.state.version == 12;
    EXPECT_EQ(play.panel.positionMap[0], v12 ? 1 : -1) << header;
    EXPECT_EQ(play.panel.positionMap[1], v12 ? 254 : 46) << header;
    EXPECT_EQ(play.panel.posedtnoext, 1) << header;
    EXPECT_EQ(play.panel.positionText, L"a");
  }
}

TEST(MacroParseStep, ACutRecordReadsAsIfTheRestWereZero) {
  // Text A without its terminator at the end of the buffer: loaded, text B empty, then the end.
  Playback play{"KV150\nREP000\x21\x22"s};
  play.panel.replaceTo = L"old";
  play.Next();
  ASSERT_EQ(play.Next(), kParseStepLoaded);
  EXPECT_EQ(play.panel.replaceFrom, L"ab");
  EXPECT_EQ(play.panel.replaceTo, L"");
  EXPECT_EQ(play.offset, play.file.size());
  EXPECT_EQ(play.Next(), kParseNothing);

  // An offset beyond the buffer reads nothing.
  Playback beyond{"KV150\n"};
  beyond.offset = 100;
  EXPECT_EQ(beyond.Next(), kParseNothing);
}

TEST(MacroEditorRead, RowsHeaderAndBrokenFiles) {
  ModeParams p;
  p.addstr = L"x";
  const std::string steps = BuildStepRecord(kModeAddText, p) + BuildStepRecord(kModePositionEdit, p);
  std::vector<Told> told;
  const MacroNotify notify = [&](const std::wstring& t, const std::wstring& c, UINT s) { told.push_back({t, c, s}); };

  std::string file = "KV150\n" + steps;
  MacroReadout read = ReadMacroRecords(Bytes(file), file.size(), notify);
  EXPECT_TRUE(read.hasHeader);
  EXPECT_FALSE(read.broken);
  ASSERT_EQ(read.steps.size(), 2u);
  EXPECT_EQ(read.steps[0].codeIndex, StepCodeIndexOfMode(kModeAddText));
  EXPECT_EQ(read.steps[0].textA, L"x");
  EXPECT_EQ(read.steps[1].codeIndex, kPositionEditCode);
  EXPECT_EQ(read.steps[1].encodedMap.substr(0, 6), "010203");
  EXPECT_EQ(ShownPositionFlag(read.steps[1]), '0');
  EXPECT_EQ(EditorHeaderStatus(3, read.header), L"マクロNo.03　Ver 1.5");

  read = ReadMacroRecords(Bytes(steps), steps.size(), notify);  // no header: read like any other
  EXPECT_FALSE(read.broken);
  EXPECT_EQ(read.steps.size(), 2u);

  file = "KV153\n" + steps;  // a target the readers refuse: the version shows, no steps
  read = ReadMacroRecords(Bytes(file), file.size(), notify);
  EXPECT_TRUE(read.hasHeader);
  EXPECT_TRUE(read.steps.empty());

  file = "KVx50\n" + steps;
  read = ReadMacroRecords(Bytes(file), file.size(), notify);
  EXPECT_TRUE(read.unsupportedVersion);
  EXPECT_TRUE(read.steps.empty());
  EXPECT_EQ(EditorHeaderStatus(12, read.header), L"マクロNo.12　Ver ---");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].caption, L"non-supported version");
  EXPECT_EQ(told[0].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));

  file = "junk" + steps;
  EXPECT_TRUE(ReadMacroRecords(Bytes(file), file.size(), notify).broken);
  EXPECT_TRUE(ReadMacroRecords(nullptr, 0, notify).broken);
}

}  // namespace
}  // namespace korval
