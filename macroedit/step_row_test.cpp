// Rows of the step list read from records and saved back: every code comes back byte for byte.
#include "macroedit/step_row.h"

#include <gtest/gtest.h>

#include "macro/macro_record.h"
#include "testing/temp_folder.h"
#include "tests/macro_bytes.h"

namespace korval {
namespace {

MacroRecord Decoded(const std::string& bytes) {
  return DecodeRecord(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0, 15);
}

TEST(StepRow, EveryCodeIsSavedAsTheRecordItWasReadFrom) {
  const std::string records[] = {
      Record("EXT", "000", "txt", ""),
      Record("EXT", "100", "", ""),
      Record("123", "410", "<01>-", ""),
      Record("Aa ", "400", "a an of", ""),
      Record("Aa ", "300", "", ""),
      Record("ZH ", "1?0", "", ""),
      Record("8_3", "200", "", ""),
      Record("ADD", "199", "_end", ""),
      Record("DEL", ":12", "7", ""),  // the second count survives although the row does not show it
      Record("DEL", "903", "255", ""),
      Record("TIM", "394", "\x94\x4e-", "yyyy"),  // "年-" in the ANSI code page
      Record("REP", "113", "(a+)/b", "$1/c"),
      Record("REP", "002", "\\u00e9", ""),  // a character the code page lacks, escaped
      Record("RND", "653", "", ""),
  };
  for (const std::string& record : records) {
    StepRow row;
    ASSERT_TRUE(RowFromRecord(Decoded(record), row)) << record;
    std::string saved;
    ASSERT_EQ(RowRecordResult::Built, RecordFromRow(row, saved)) << record;
    EXPECT_EQ(record, saved) << Utf8(row.mode + L" " + row.setting);
  }
}

TEST(StepRow, APositionEditIsShownWithItsFlagTextAndMapStartAndSavedBack) {
  std::array<int, kPositionMapSize> map = IdentityPositionMap();
  map[0] = kTypedPosition;
  map[1] = 5;
  const std::string record = FormatPositionRecord(map, '1', L"新しい名前.txt");
  StepRow row;
  ASSERT_TRUE(RowFromRecord(Decoded(record), row));
  EXPECT_EQ(L"位置編集", row.mode);
  EXPECT_EQ(L"[1] 新しい名前.txt", row.setting);
  EXPECT_EQ(kShownMapChars, row.setting2.size());
  EXPECT_EQ(L"000603", row.setting2.substr(0, 6));
  std::string saved;
  ASSERT_EQ(RowRecordResult::Built, RecordFromRow(row, saved));
  EXPECT_EQ(record, saved);
}

TEST(StepRow, TheDummyCodeHasNoRow) {
  StepRow row;
  EXPECT_FALSE(RowFromRecord(Decoded(Record("dmy", "000", "", "")), row));
  EXPECT_FALSE(RowFromRecord(Decoded("KV150\n"), row));
}

TEST(StepRow, RawPartsReadBack) {
  struct Case {
    const wchar_t* setting;
    const wchar_t* setting2;
    const char* digits;
    const wchar_t* textA;
    const wchar_t* textB;
  } cases[] = {
      {L"[0,1,2] \"a\",\"b\"(全て)", L"", "012", L"a", L"b"},
      {L"[0,1,2] \"a\"", L",\"b\"(全て)", "012", L"a", L"b"},  // the pair goes on in column 2
      {L"[0,0,0] \"a\" \"b\"", L"", "000", L"a", L""},         // no comma: no text B
      {L"[0,0,0] \"ab", L"", "000", L"ab", L""},              // no closing quote: to the end
      {L"[1,0,0] (x)", L"", "100", L"", L""},
      {L"[1", L"", "1\0\0", L"", L""},
      {L"", L"", "\0\0\0", L"", L""},
  };
  for (const Case& c : cases) {
    const RawStepPart raw = ReadRawPart(StepRow{L"置換", c.setting, c.setting2, {}});
    EXPECT_EQ(c.digits[0], raw.d0) << Utf8(c.setting);
    EXPECT_EQ(c.digits[1], raw.d1) << Utf8(c.setting);
    EXPECT_EQ(c.digits[2], raw.d2) << Utf8(c.setting);
    EXPECT_EQ(c.textA, raw.textA) << Utf8(c.setting);
    EXPECT_EQ(c.textB, raw.textB) << Utf8(c.setting);
  }
}

TEST(StepRow, RowsThatCannotBeSaved) {
  struct Case {
    StepRow row;
    RowRecordResult result;
  } cases[] = {
      {{L"ﾀｲﾑｽﾀﾝﾌﾟ", L"[0,0,0] ", L"", {}}, RowRecordResult::UnknownMode},
      {{L"", L"[0,0,0] ", L"", {}}, RowRecordResult::UnknownMode},
      {{L"拡張子 ", L"[0,0,0] \"a\"", L"", {}}, RowRecordResult::UnknownMode},
      {{L"拡張子", L"[9,0,0] \"a\"", L"", {}}, RowRecordResult::InvalidValue},
      {{L"拡張子", L"[0,1,0] \"a\"", L"", {}}, RowRecordResult::InvalidValue},
      {{L"置換", L"[0,0,4] \"a\",\"b\"", L"", {}}, RowRecordResult::InvalidValue},
      {{L"置換", L"", L"", {}}, RowRecordResult::InvalidValue},
      {{L"位置編集", L"[2] x", L"", {}}, RowRecordResult::InvalidValue},
      {{L"拡張子", L"[0,0,0] \"a\"", L"", {}}, RowRecordResult::Built},
      {{L"位置編集", L"[0] x", L"", {}}, RowRecordResult::Built},
  };
  for (const Case& c : cases) {
    std::string record;
    EXPECT_EQ(c.result, RecordFromRow(c.row, record)) << Utf8(c.row.mode + L" " + c.row.setting);
    EXPECT_EQ(c.result == RowRecordResult::Built, !record.empty());
  }
}

TEST(StepRow, ATextWithADoubleQuoteIsCutAtTheQuoteWhenSaved) {
  StepRow row;
  ASSERT_TRUE(RowFromRecord(Decoded(Record("EXT", "000", "a\"b", "")), row));
  std::string saved;
  ASSERT_EQ(RowRecordResult::Built, RecordFromRow(row, saved));
  EXPECT_EQ(Record("EXT", "000", "a", ""), saved);
}

}  // namespace
}  // namespace korval
