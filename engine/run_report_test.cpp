// The report's bytes: byte order mark, header, CR LF, and fields quoted only where RFC 4180 needs it.
#include "engine/run_report.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(RunReport, FieldsAreQuotedWhereTheyMustBe) {
  const struct {
    std::wstring field, written;
  } cases[] = {
      {L"plain.txt", L"plain.txt"},       {L"", L""},
      {L"a,b.txt", L"\"a,b.txt\""},       {L"say \"hi\"", L"\"say \"\"hi\"\"\""},
      {L"two\r\nlines", L"\"two\r\nlines\""}, {L" lead", L"\" lead\""},
      {L"写真 😀.jpg", L"写真 😀.jpg"},
      // What a spreadsheet would run as a formula opens as text.
      {L"=HYPERLINK(\"x\").txt", L"\"'=HYPERLINK(\"\"x\"\").txt\""}, {L"+1.txt", L"\"'+1.txt\""},
      {L"-draft.txt", L"\"'-draft.txt\""}, {L"@a", L"\"'@a\""}, {L"\tt", L"\"'\tt\""},
      {L"\rx", L"\"'\rx\""}, {L"a=b+c", L"a=b+c"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.written, CsvField(c.field));
}

TEST(RunReport, BytesHoldTheHeaderAndOneLinePerRowWithTheWordOfThePlanOrTheRun) {
  const std::vector<ReportRow> rows = {{L"a.txt", L"b,c.txt", L"C:\\w\\", RowOutcome::Changed, L"変更が可能"},
                                       {L"x.txt", L"", L"C:\\w\\", RowOutcome::Unchanged, L"絞り込みにより変更の対象外"}};
  const std::string plan = ReportBytes(rows, true);
  EXPECT_EQ("\xEF\xBB\xBF" "変更前,変更後,フォルダ名,状態,理由\r\n"
            "a.txt,\"b,c.txt\",C:\\w\\,予定,変更が可能\r\n"
            "x.txt,,C:\\w\\,変更なし,絞り込みにより変更の対象外\r\n",
            plan);
  EXPECT_NE(std::string::npos, ReportBytes(rows, false).find(",変更,"));
  EXPECT_FALSE(EveryRowDone({{L"a", L"b", L"", RowOutcome::Skipped, L""}}));
  EXPECT_TRUE(EveryRowDone(rows));
}

}  // namespace
}  // namespace korval
