// The description of every step code and form, pinned as golden text.
#include "macroedit/step_description.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

struct DescriptionCase {
  const char* digits;  // d0, d1, d2
  int code;
  const wchar_t* textA;
  const wchar_t* textB;
  const wchar_t* column0;
  const wchar_t* column1;
};

const DescriptionCase kCases[] = {
    {"000", 0, L"txt", L"", L"拡張子", L"[0,0,0] \"txt\"(拡張子の変更)"},
    {"100", 0, L"", L"", L"拡張子", L"[1,0,0] \"\"(拡張子の追加)"},
    {"000", 1, L"1", L"", L"連番 (123...)", L"[0,0,0] \"1\"(先頭に挿入)"},
    {"110", 1, L"<01>", L"", L"連番 (123...)", L"[1,1,0] \"<01>\"(後ろに追加, フォルダごとに)"},
    {"200", 1, L"a", L"", L"連番 (123...)", L"[2,0,0] \"a\"(拡張子の後ろ)"},
    {"300", 1, L"a", L"", L"連番 (123...)", L"[3,0,0] \"a\"(新しい名前:拡張子消)"},
    {"410", 1, L"001", L"", L"連番 (123...)", L"[4,1,0] \"001\"(新しい名前, フォルダごとに)"},
    {"000", 2, L"of", L"", L"大(A)⇔小(a)", L"[0,0,0] \"of\"(小文字)"},
    {"110", 2, L"", L"", L"大(A)⇔小(a)", L"[1,1,0] (全て大文字, 全角も)"},
    {"200", 2, L"", L"", L"大(A)⇔小(a)", L"[2,0,0] (全て大文字:拡張子除く)"},
    {"300", 2, L"", L"", L"大(A)⇔小(a)", L"[3,0,0] (先頭だけ大文字)"},
    {"400", 2, L"a an", L"", L"大(A)⇔小(a)", L"[4,0,0] \"a an\"(語頭を大文字)"},
    {"130", 3, L"", L"", L"全角/半角", L"[1,3,0] (全角に) [対象： 英字 数字]"},
    {"170", 3, L"", L"", L"全角/半角", L"[1,7,0] (全角に) [対象： カタカナ 英字 数字]"},
    {"000", 3, L"", L"", L"全角/半角", L"[0,0,0] (半角に) [対象：無し]"},
    {"0?0", 3, L"", L"", L"全角/半角", L"[0,?,0] (半角に) [対象： カタカナ 英字 数字 記号]"},
    {"000", 4, L"", L"", L"8.3形式", L"[0,0,0] (大文字,小文字はそのまま)"},
    {"100", 4, L"", L"", L"8.3形式", L"[1,0,0] (全て大文字に)"},
    {"200", 4, L"", L"", L"8.3形式", L"[2,0,0] "},
    {"112", 5, L"x", L"", L"文字追加", L"[1,1,2] \"x\"(後ろから 12 文字目に追加)"},
    {"005", 5, L"", L"", L"文字追加", L"[0,0,5] \"\"(前から 5 文字目に追加)"},
    {"903", 6, L"", L"", L"文字削除", L"[9,0,3] (後ろから指定文字数 を削除 : 3 文字)"},
    {"000", 6, L"", L"", L"文字削除", L"[0,0,0] ( へのショートカット を削除)"},
    {"100", 6, L"", L"", L"文字削除", L"[1,0,0] (コピー ～  を削除)"},
    {"799", 6, L"", L"", L"文字削除", L"[7,9,9] (【 文字 】 を削除)"},
    {"812", 6, L"", L"", L"文字削除", L"[8,1,2] (先頭から指定文字数 を削除 : 12 文字)"},
    {":01", 6, L"", L"", L"文字削除", L"[:,0,1] (指定文字数より後＿文字分 を削除 : 1 文字)"},
    {";00", 6, L"", L"", L"文字削除", L"[;,0,0] (S-JISにないUnicode文字 を削除)"},
    {"000", 7, L"-", L"", L"日時", L"[0,0,0] \"-\",\"\"(作成日時 形式：YYYY＝MM＝DD＝hh＝mm＝ss　新規)"},
    {"111", 7, L"", L"", L"日時", L"[1,1,1] \"\",\"\"(更新日時 形式：YYYYMMDD＝hhmmss　先頭に)"},
    {"222", 7, L"", L"", L"日時", L"[2,2,2] \"\",\"\"(撮影日時 形式：YYYY＝MM＝DD＝hh＝mm　後ろに)"},
    {"333", 7, L"", L"", L"日時", L"[3,3,3] \"\",\"\"(撮影or作成 形式：YYYYMMDD＝hhmm　先頭+区切り)"},
    {"044", 7, L"", L"", L"日時", L"[0,4,4] \"\",\"\"(作成日時 形式：YYYY＝MM＝DD　区切り+後ろ)"},
    {"050", 7, L"", L"", L"日時", L"[0,5,0] \"\",\"\"(作成日時 形式：YYYYMMDDhhmmss　新規)"},
    {"060", 7, L"", L"", L"日時", L"[0,6,0] \"\",\"\"(作成日時 形式：YYYYMMDDhhmm　新規)"},
    {"070", 7, L"", L"", L"日時", L"[0,7,0] \"\",\"\"(作成日時 形式：YYYYMMDD　新規)"},
    {"080", 7, L"", L"", L"日時", L"[0,8,0] \"\",\"\"(作成日時 形式：MMDD　新規)"},
    {"394", 7, L"年_", L"yyyy", L"日時", L"[3,9,4] \"年_\",\"yyyy\"(撮影or作成 形式：フリー　区切り+後ろ)"},
    {"000", 8, L"a", L"b", L"置換", L"[0,0,0] \"a\",\"b\"(全て)"},
    {"113", 8, L"a/b", L"", L"置換", L"[1,1,3] \"a/b\",\"\"(最初のみ　正規表現　A/a区別　拡張子も)"},
    {"202", 8, L"_", L" ", L"置換", L"[2,0,2] \"_\",\" \"(最後のみ　A/a区別)"},
    {"001", 8, L"x", L"y", L"置換", L"[0,0,1] \"x\",\"y\"(全て　拡張子も)"},
    {"000", 10, L"", L"", L"ランダム", L"[0,0,0] (数字のみ、4文字、元の拡張子）"},
    {"111", 10, L"", L"", L"ランダム", L"[1,1,1] (英字のみ、4-8文字、拡張子無し）"},
    {"222", 10, L"", L"", L"ランダム", L"[2,2,2] (前:英 後:数、4-16文字、拡張子ランダム）"},
    {"333", 10, L"", L"", L"ランダム", L"[3,3,3] (英+数 混在、8文字、拡張子あり/無し）"},
    {"440", 10, L"", L"", L"ランダム", L"[4,4,0] (ひらがな、8-16文字、元の拡張子）"},
    {"550", 10, L"", L"", L"ランダム", L"[5,5,0] (全角　混在、16文字、元の拡張子）"},
    {"600", 10, L"", L"", L"ランダム", L"[6,0,0] (全半角　混在、4文字、元の拡張子）"},
};

TEST(DescribeStep, EveryCodeAndFormAsGoldenText) {
  for (const DescriptionCase& c : kCases) {
    std::wstring column0 = L"old", column1 = L"old", column2 = L"old";
    ASSERT_EQ(0, DescribeStep(c.digits[0], c.digits[1], c.digits[2], c.code, c.textA, c.textB, column0, column1,
                              column2))
        << c.digits << " code " << c.code;
    EXPECT_EQ(c.column0, column0) << c.digits << " code " << c.code;
    EXPECT_EQ(c.column1, column1) << c.digits << " code " << c.code;
    EXPECT_EQ(L"", column2) << c.digits << " code " << c.code;
  }
}

TEST(DescribeStep, CodesWithoutANameBuildNothing) {
  for (int code : {9, -1, 11, 12}) {
    std::wstring column0 = L"x", column1 = L"x", column2 = L"x";
    EXPECT_EQ(1, DescribeStep('0', '0', '0', code, L"a", L"b", column0, column1, column2)) << code;
    EXPECT_EQ(L"", column0 + column1 + column2) << code;
  }
}

TEST(DescribeStep, ALongReplacementPairContinuesInTheSecondColumn) {
  // The pair is 300 characters: 250 stay in column 1, 50 and the readable part go to column 2.
  const std::wstring a(147, L'a'), b(148, L'b');
  std::wstring column0, column1, column2;
  ASSERT_EQ(0, DescribeStep('0', '0', '0', 8, a, b, column0, column1, column2));
  const std::wstring pair = L"\"" + a + L"\",\"" + b + L"\"";
  ASSERT_EQ(300u, pair.size());
  EXPECT_EQ(L"[0,0,0] " + pair.substr(0, 250), column1);
  EXPECT_EQ(pair.substr(250) + L"(全て)", column2);
}

TEST(DescribeStep, ALongDatePairKeepsItsReadablePartInTheFirstColumnWithinItsSize) {
  const std::wstring a(6, L'-'), b(250, L'y');
  std::wstring column0, column1, column2;
  ASSERT_EQ(0, DescribeStep('1', '9', '0', 7, a, b, column0, column1, column2));
  EXPECT_EQ(kStepColumnChars, column1.size());
  EXPECT_EQ(L"[1,9,0] \"------\",\"" + b.substr(0, 240), column1.substr(0, 258));
  EXPECT_EQ(b.substr(240) + L"\"", column2);
}

TEST(DescribeStep, ALongTextOfAnotherCodeContinuesInTheSecondColumn) {
  const std::wstring text(259, L'x');
  std::wstring column0, column1, column2;
  ASSERT_EQ(0, DescribeStep('0', '9', '9', 5, text, L"", column0, column1, column2));
  EXPECT_EQ(kStepColumnChars, column1.size());
  EXPECT_EQ(L"[0,9,9] \"" + text + L"\"(前から 99 文字目に追加)", column1 + column2);
}

TEST(EditorModeNames, NamesAndTheirModes) {
  EXPECT_STREQ(L"位置編集", EditorModeName(1));
  EXPECT_STREQ(L"", EditorModeName(11));
  EXPECT_STREQ(L"属性", EditorModeName(14));
  EXPECT_STREQ(L"", EditorModeName(15));
  EXPECT_EQ(10, EditorModeOfName(L"置換"));
  EXPECT_EQ(13, EditorModeOfName(L"ﾀｲﾑｽﾀﾝﾌﾟ"));
  EXPECT_EQ(0, EditorModeOfName(L"ﾀｲﾑｽﾀﾝﾌﾟ", 12));
  EXPECT_EQ(0, EditorModeOfName(L""));
  EXPECT_EQ(0, EditorModeOfName(L"置換 "));
}

}  // namespace
}  // namespace korval
