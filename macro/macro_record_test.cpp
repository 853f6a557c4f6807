// Byte-exact records: the map entry codec, the header, one golden record per step code, and the
// editor's validator over the same table.
#include "macro/macro_record.h"

#include <gtest/gtest.h>

#include <functional>

#include "macro/step_codes.h"
#include "modes/change_mode.h"

namespace korval {
namespace {

using namespace std::string_literals;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

TEST(MacroMapEntry, ValuesAreClampedAndStoredAsHexOrPlusDigit) {
  struct Case {
    int value;
    const char* stored;
  } cases[] = {{-5, "00"}, {-1, "00"}, {0, "01"}, {9, "0a"}, {254, "ff"}, {255, "+0"}, {260, "+5"}, {999, "+5"}};
  for (const Case& c : cases) EXPECT_EQ(EncodeMapEntry(c.value), c.stored) << c.value;
}

TEST(MacroMapEntry, ReadingAcceptsEitherCaseAndMarksTheUnreadableAsTyped) {
  struct Case {
    char first, second;
    int value;
  } cases[] = {{'0', '0', -1}, {'f', 'f', 254}, {'F', 'f', 254}, {'0', 'A', 9}, {'+', '0', 255}, {'+', '5', 260},
               {'+', 'x', -1}, {'z', '1', -1},  {'1', 'g', -1},  {'\0', '\0', -1}};
  for (const Case& c : cases) EXPECT_EQ(DecodeMapEntry(c.first, c.second), c.value) << c.first << c.second;
}

TEST(MacroRecord, HeadersOfBothWriters) {
  EXPECT_EQ(BuildHeaderRecord(0), "KV150\n");
  EXPECT_EQ(BuildHeaderRecord(1), "KV151\n");
  EXPECT_EQ(BuildHeaderRecord(7), "KV150\n");  // never a target the readers refuse
  EXPECT_EQ(BuildEditorHeaderRecord(), "KV150\n");
}

// Texts chosen so that their stored (toggled) bytes are easy to read: "x" is '8', "A" is 0x01,
// "1" is 'q', "_" is 0x1F, "年" is 0xD4 0x0E.
TEST(MacroRecord, EveryOrdinaryCodeIsStoredExactly) {
  struct Case {
    const char* name;
    int mode;
    std::function<void(ModeParams&)> set;
    std::string bytes;
  } cases[] = {
      {"extension", kModeExtension, [](ModeParams& p) { p.extadd = 1, p.extensionText = L"x"; }, "EXT1008\0\0\n"s},
      {"serial", kModeSerialNumber, [](ModeParams& p) { p.numinspos = 4, p.dirrenreset = 1, p.renbanstr = L"1"; },
       "123410q\0\0\n"s},
      {"case 2 uses list 1", kModeLetterCase,
       [](ModeParams& p) { p.bigsmall = 2, p.dbytebig = 1, p.bsexcept0 = L"x", p.bsexcept1 = L"A"; },
       "Aa 210\x01\0\0\n"s},
      {"case 0 uses list 0", kModeLetterCase, [](ModeParams& p) { p.bigsmall = 0, p.bsexcept0 = L"x"; },
       "Aa 0008\0\0\n"s},
      {"case 3 has none", kModeLetterCase, [](ModeParams& p) { p.bigsmall = 3, p.bsexcept2 = L"x"; },
       "Aa 300\0\0\n"s},
      {"case 4 uses list 2", kModeLetterCase, [](ModeParams& p) { p.bigsmall = 4, p.bsexcept2 = L"A"; },
       "Aa 400\x01\0\0\n"s},
      {"width, every class", kModeCharWidth,
       [](ModeParams& p) { p.zenorhan = 1, p.widthDigits = p.widthLetters = p.widthKatakana = p.widthSymbols = 1; },
       "ZH 1?0\0\0\n"s},
      {"width, digits and katakana", kModeCharWidth, [](ModeParams& p) { p.widthDigits = p.widthKatakana = 1; },
       "ZH 050\0\0\n"s},
      {"short name", kModeShortName, [](ModeParams& p) { p.real8_3 = 2; }, "8_3200\0\0\n"s},
      {"add, position above 99", kModeAddText, [](ModeParams& p) { p.addprepost = 1, p.addlen = 150, p.addstr = L"x"; },
       "ADD1998\0\0\n"s},
      {"add, position 7", kModeAddText, [](ModeParams& p) { p.addlen = 7; }, "ADD007\0\0\n"s},
      {"delete, type 11", kModeDeleteText, [](ModeParams& p) { p.deltype = 11, p.dellen = 42, p.dellen2 = 255; },
       "DEL;42ruu\0\0\n"s},
      {"delete, count above 99", kModeDeleteText, [](ModeParams& p) { p.deltype = 8, p.dellen = 200, p.dellen2 = 1; },
       "DEL899q\0\0\n"s},
      {"date, free format with year mark", kModeDateTime,
       [](ModeParams& p) {
         p.whichdate = 3, p.datefrom = -1, p.dateins = 4, p.addyymmdd = 1, p.sepstr = L"_", p.ymdform = L"x";
       },
       "TIM394\xD4\x0E\x1F\0" "8\0\n"s},
      {"date, listed format", kModeDateTime,
       [](ModeParams& p) { p.whichdate = 1, p.datefrom = 5, p.sepstr = L"_", p.ymdform = L"x"; },
       "TIM150\x1F\0\0\n"s},
      {"replace, both bits", kModeReplace,
       [](ModeParams& p) {
         p.repmode = 2, p.regexp = 1, p.repwithext = 1, p.repcase = 1, p.replaceFrom = L"A", p.replaceTo = L"x";
       },
       "REP213\x01\0" "8\0\n"s},
      {"replace, extension bit only", kModeReplace, [](ModeParams& p) { p.repwithext = 1, p.repcase = 0; },
       "REP001\0\0\n"s},
      {"replace, case bit only", kModeReplace, [](ModeParams& p) { p.repwithext = 0, p.repcase = 1; },
       "REP002\0\0\n"s},
      {"csv names", kModeCsvNames, [](ModeParams&) {}, "dmy000\0\0\n"s},
      {"random", kModeRandomName, [](ModeParams& p) { p.rndpattern = 6, p.rndlen = 5, p.rndext = 3; },
       "RND653\0\0\n"s},
  };
  for (const Case& c : cases) {
    ModeParams params;
    c.set(params);
    const std::string record = BuildStepRecord(c.mode, params);
    EXPECT_EQ(record, c.bytes) << c.name;
    EXPECT_EQ(ValidateRecord(Bytes(record), record.size()), StepCodeIndexOfMode(c.mode)) << c.name;
  }
}

TEST(MacroRecord, PositionEditRecordHoldsTheMapFlagAndText) {
  ModeParams params;
  params.positionMap.fill(-1);
  params.positionMap[0] = -1, params.positionMap[1] = 254, params.positionMap[2] = 255, params.positionMap[3] = 260;
  params.positionMap[259] = 7;  // the 260th entry is not stored
  params.posedtnoext = 1;
  params.positionText = L"x";
  const std::string expected = "EDT" "00ff+0+5"s + std::string(2 * 255, '0') + "10 " "8\0\n"s;
  const std::string record = BuildStepRecord(kModePositionEdit, params);
  EXPECT_EQ(record, expected);
  EXPECT_EQ(record.size(), 527u);
  EXPECT_EQ(ValidateRecord(Bytes(record), record.size()), kPositionEditCode);

  params.posedtnoext = 0;
  params.positionText.clear();
  EXPECT_EQ(BuildStepRecord(kModePositionEdit, params).substr(521), "00 \0\n"s);

  // The editor shows the flag as set only with '0' or '1' behind it.
  for (auto [flags, shown] : {std::pair{"10", '1'}, {"11", '1'}, {"12", '0'}, {"00", '0'}, {"x0", '0'}}) {
    const std::string edited = "EDT" + std::string(518, '0') + flags + " \0\n"s;
    EXPECT_EQ(ShownPositionFlag(DecodeRecord(Bytes(edited), edited.size(), 0, 15)), shown) << flags;
  }
}

TEST(MacroRecord, EditorRebuildsAPositionRecordFromTheShownStartOfItsMap) {
  // Entries after the shown ones count on by one, up to "+5"; the 260th holds the flag and '0'.
  std::string fives;
  for (int i = 0; i < 252; ++i) fives += "+5";
  EXPECT_EQ(BuildPositionRecordFromShownMap("ff", '0', L""), "EDT" "ff+0+1+2+3+4+5"s + fives + "00 \0\n"s);
  // The 254 characters the editor shows of an identity map give back the recorder's record.
  const ModeParams identity;
  for (char flag : {'0', '1'}) {
    EXPECT_EQ(BuildPositionRecordFromShownMap(EncodePositionMap(identity.positionMap, 127), flag, L"名前"),
              FormatPositionRecord(identity.positionMap, flag, L"名前"));
  }
  // A half entry at the end of the shown text is not taken.
  EXPECT_EQ(BuildPositionRecordFromShownMap("0a0", '1', L"").substr(3, 6), "0a0b0c");
}

TEST(MacroRecord, DigitsOutsideTheirRangeAreKeptWithinTheCodesLimits) {
  ModeParams params;
  params.deltype = 20;
  params.dellen = -4;
  EXPECT_EQ(BuildStepRecord(kModeDeleteText, params).substr(0, 6), "DEL;00");
  params.bigsmall = -3;
  EXPECT_EQ(BuildStepRecord(kModeLetterCase, params).substr(0, 6), "Aa 000");
  params.rndpattern = 9, params.rndlen = 9, params.rndext = 9;
  EXPECT_EQ(BuildStepRecord(kModeRandomName, params).substr(0, 6), "RND653");
}

TEST(MacroRecord, ModesWithoutACodeAreNotStored) {
  ModeParams params;
  for (int mode : std::initializer_list<int>{0, kModeTimestamp, kModeAttribute, kModeMacro, 15, -1}) {
    EXPECT_EQ(BuildStepRecord(mode, params), "") << mode;
  }
  EXPECT_EQ(FormatStepRecord(kPositionEditCode, '0', '0', '0', L"", L""), "");
  EXPECT_EQ(FormatStepRecord(12, '0', '0', '0', L"", L""), "");
}

TEST(MacroRecord, ValidatorRejectsUnknownCodesAndDigitsBeyondTheirLimits) {
  struct Case {
    std::string record;
    int index;
  } cases[] = {
      {"EXT100\0\0\n"s, 0},  {"EXT200\0\0\n"s, -1}, {"EXT/00\0\0\n"s, -1}, {"ZH 1?0\0\0\n"s, 3},
      {"ZH 1@0\0\0\n"s, -1}, {"DEL;99\0\0\n"s, 6},  {"DEL<99\0\0\n"s, -1}, {"TIM394\0\0\n"s, 7},
      {"TIM395\0\0\n"s, -1}, {"dmy001\0\0\n"s, -1}, {"ext100\0\0\n"s, -1}, {"KV150\n"s, -1},
      {"EDT"s + std::string(518, '0') + "x0 \0\n"s, -1}, {""s, -1}, {"EX"s, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(ValidateRecord(Bytes(c.record), c.record.size()), c.index) << c.record;
}

// Every stored mode has its code, every code its mode, and the two lookups agree both ways.
TEST(StepCodes, TheModeTableAndTheCodeTableAgree) {
  int stored = 0;
  for (const ModeDescriptor& d : kModeTable) {
    const int index = StepCodeIndexOfMode(d.number);
    EXPECT_EQ(d.stepCode != nullptr, index >= 0) << d.number;
    if (index < 0) continue;
    ++stored;
    EXPECT_EQ(d.number, StepCodeMode(index));
  }
  EXPECT_EQ(kStepCodeCount, stored);
  EXPECT_EQ(kModePositionEdit, StepCodeMode(kPositionEditCode));
  EXPECT_EQ(0, StepCodeMode(kStepCodeCount));
}

}  // namespace
}  // namespace korval
