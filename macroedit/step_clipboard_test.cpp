// Copying rows as tab-separated text and taking pasted lines back.
#include "macroedit/step_clipboard.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

const std::wstring kMap(254, L'a');

TEST(StepClipboard, CopiedRowsAreTabSeparatedLines) {
  const StepRow first{L"置換", L"[0,0,2] \"a\",\"b\"(全て　A/a区別)", L"", {}};
  const StepRow second{L"位置編集", L"[0] x", std::wstring(300, L'0'), {}};
  const std::wstring text = RowsToClipboardText({&first, &second});
  EXPECT_EQ(L"置換\t[0,0,2] \"a\",\"b\"(全て　A/a区別)\t\r\n位置編集\t[0] x\t" + std::wstring(259, L'0') + L"\r\n",
            text);
}

TEST(StepClipboard, PastedLinesAreSplitAtLineEnds) {
  const auto lines = SplitPastedLines(L"a\r\nb\nc\r\n\r\nd");
  EXPECT_EQ((std::vector<std::wstring_view>{L"a", L"b", L"c", L"", L"d"}), lines);
  EXPECT_TRUE(SplitPastedLines(L"").empty());
}

TEST(StepClipboard, WhichPastedLinesBecomeRows) {
  struct Case {
    std::wstring line;
    bool accepted;
  } cases[] = {
      {L"連番 (123...)\t[2,1,0] \"001\"", true},
      {L"#連番 (123...)\t[2,1,0] \"001\"", false},
      {L"置換\t[0,0,2] \"a\",\"b\"(全て)\t", true},
      {L"置換\t[x,0,2] \"a\"", true},  // the first place takes any character
      {L"置換\t[0,x,2] \"a\"", false},
      {L"置換\t[0,0,2]\"a\"", false},
      {L"置換\t(0,0,2) \"a\"", false},
      {L"置換", false},
      {L"置換 \t[0,0,2] \"a\"", false},
      {L"CSV等\t[0,0,0] ", false},
      {L"\t[0,0,0] ", false},
      {L"ﾀｲﾑｽﾀﾝﾌﾟ\t[0,0,0] ", true},  // a name of the table; the save refuses it later
      {L"位置編集\t[0] x\t" + kMap, true},
      {L"位置編集\t[0] x\t" + std::wstring(199, L'0'), false},
      {L"位置編集\t[0] x\t" + std::wstring(200, L'+'), true},
      {L"位置編集\t[0] x\t" + kMap + L"A", false},
      {L"位置編集\t[0] x\t" + kMap + L"g", false},
      {L"置換\t[0,0,0] " + std::wstring(252, L'x'), true},  // 260 characters
      {L"置換\t[0,0,0] " + std::wstring(253, L'x'), false},
      {L"拡張子\t[0,0,0] \"a\"\t" + std::wstring(261, L'x'), false},
  };
  for (const Case& c : cases) {
    StepRow row;
    EXPECT_EQ(c.accepted, RowFromPastedLine(c.line, row)) << Utf8(c.line.substr(0, 40));
  }
}

TEST(StepClipboard, MissingColumnsAreEmptyAndCopiesComeBackAsTheyWere) {
  StepRow row;
  ASSERT_TRUE(RowFromPastedLine(L"8.3形式\t[2,0,0] ", row));
  EXPECT_EQ((StepRow{L"8.3形式", L"[2,0,0] ", L"", {}}), row);

  const StepRow copied{L"位置編集", L"[1] 名前.txt", kMap, {}};
  const std::wstring text = RowsToClipboardText({&copied});
  const auto lines = SplitPastedLines(text);
  ASSERT_EQ(1u, lines.size());
  ASSERT_TRUE(RowFromPastedLine(lines[0], row));
  EXPECT_EQ(copied, row);
}

}  // namespace
}  // namespace korval
