#include "modes/char_width.h"

#include <gtest/gtest.h>

#include "modes/kana_width.h"
#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

constexpr WidthClasses kAll{true, true, true, true};
constexpr WidthClasses kKanaOnly{true, false, false, false};

// Every half-width kana in code order and its full-width form, written out letter by letter.
const std::wstring kHalfKana = L"ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ";
const std::wstring kWideKana = L"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
const std::wstring kHalfVoiced = L"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ";
const std::wstring kWideVoiced = L"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ";
const std::wstring kHalfSymbols = L" !#$%&'()+,-.;=@[]^_`{}｡｢｣､･";
const std::wstring kWideSymbols = L"\u3000！＃＄％＆’（）＋，－．；＝＠［］＾＿｀｛｝。「」、・";

TEST(CharWidthKana, WholeTableInBothDirections) {
  EXPECT_EQ(kWideKana, ConvertCharWidth(kHalfKana, true, kKanaOnly));
  EXPECT_EQ(kHalfKana, ConvertCharWidth(kWideKana, false, kKanaOnly));
  EXPECT_EQ(kWideVoiced, ConvertCharWidth(kHalfVoiced, true, kKanaOnly));
  EXPECT_EQ(kHalfVoiced, ConvertCharWidth(kWideVoiced, false, kKanaOnly));
}

TEST(CharWidthKana, EveryFullWidthKanaHasOneSpellingOrNone) {
  // Each kana of U+30A1..U+30F4 either goes to half width and back to itself or has no half form.
  int withoutHalfForm = 0;
  for (wchar_t c = kWideKanaFirst; c <= kWideKanaLast; ++c) {
    const std::wstring wide(1, c);
    const std::wstring half = ConvertCharWidth(wide, false, kKanaOnly);
    if (half == wide) {
      ++withoutHalfForm;
      continue;
    }
    EXPECT_EQ(wide, ConvertCharWidth(half, true, kKanaOnly)) << std::hex << static_cast<int>(c);
  }
  EXPECT_EQ(3, withoutHalfForm);  // ヮ ヰ ヱ
  EXPECT_EQ(L"ヮヰヱヵヶヷヽ", ConvertCharWidth(L"ヮヰヱヵヶヷヽ", false, kAll));
}

TEST(CharWidthKana, VoicingMarksCombineOnlyWhereTheKanaTakesThem) {
  struct Row {
    const wchar_t* half;
    const wchar_t* wide;
  };
  const Row rows[] = {
      {L"ｶﾞｷﾞ", L"ガギ"}, {L"ﾊﾟ", L"パ"},     {L"ｶﾟ", L"カﾟ"},   {L"ﾅﾞ", L"ナﾞ"},     {L"ｱﾞ", L"アﾞ"},
      {L"ﾞﾟ", L"ﾞﾟ"},     {L"ﾊﾞﾟ", L"バﾟ"}, {L"ﾞｶ", L"ﾞカ"},   {L"ｳﾞｳ", L"ヴウ"}, {L"ﾀﾞ", L"ダ"},
      {L"ｰﾞ", L"ーﾞ"},    {L"ﾝﾟ", L"ンﾟ"},  {L"ﾂﾞﾂ", L"ヅツ"}, {L"ﾎﾟ", L"ポ"},     {L"ﾎ", L"ホ"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(std::wstring(row.wide), ConvertCharWidth(row.half, true, kAll)) << Utf8(row.half);
  }
  EXPECT_EQ(L"ｳﾞ", ConvertCharWidth(L"ヴ", false, kAll));
  EXPECT_EQ(L"ﾎﾟ", ConvertCharWidth(L"ポ", false, kAll));
  // The marks themselves are not kana of either table.
  EXPECT_EQ(L"゛゜", ConvertCharWidth(L"゛゜", false, kAll));
}

TEST(CharWidthSymbols, ListedSymbolsBothWaysOthersCopied) {
  const WidthClasses symbolsOnly{false, false, false, true};
  EXPECT_EQ(kWideSymbols, ConvertCharWidth(kHalfSymbols, true, symbolsOnly));
  EXPECT_EQ(kHalfSymbols, ConvertCharWidth(kWideSymbols, false, symbolsOnly));
  EXPECT_EQ(L"~\"*:<>?|/\\", ConvertCharWidth(L"~\"*:<>?|/\\", true, kAll));
  EXPECT_EQ(L"～＂＊：＜＞？｜／＼'", ConvertCharWidth(L"～＂＊：＜＞？｜／＼'", false, kAll));
}

TEST(CharWidthClasses, EachSwitchConvertsOnlyItsClass) {
  struct Row {
    WidthClasses classes;
    const wchar_t* toWide;    // from "ｱA1!"
    const wchar_t* toHalf;    // from "アＡ１！"
  };
  const Row rows[] = {
      {{false, false, false, false}, L"ｱA1!", L"アＡ１！"},
      {{true, false, false, false}, L"アA1!", L"ｱＡ１！"},
      {{false, true, false, false}, L"ｱＡ1!", L"アA１！"},
      {{false, false, true, false}, L"ｱA１!", L"アＡ1！"},
      {{false, false, false, true}, L"ｱA1！", L"アＡ１!"},
      {kAll, L"アＡ１！", L"ｱA1!"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(std::wstring(row.toWide), ConvertCharWidth(L"ｱA1!", true, row.classes)) << Utf8(row.toWide);
    EXPECT_EQ(std::wstring(row.toHalf), ConvertCharWidth(L"アＡ１！", false, row.classes)) << Utf8(row.toHalf);
  }
  const WidthClasses lettersAndDigits{false, true, true, false};
  EXPECT_EQ(L"０９ＡＺａｚ", ConvertCharWidth(L"09AZaz", true, lettersAndDigits));
  EXPECT_EQ(L"09AZaz", ConvertCharWidth(L"０９ＡＺａｚ", false, lettersAndDigits));
}

std::wstring Transform(const ModeParams& params, const std::wstring& source, int fileDir = 0) {
  TransformContext ctx;
  ctx.params = &params;
  ctx.fileDir = fileDir;
  std::wstring target = L"left over";
  CharWidthTransform(ctx, source, target);
  return target;
}

TEST(CharWidth, ConvertsTheStemAndKeepsFolderAndExtension) {
  ModeParams params;
  params.zenorhan = 1;
  params.widthKatakana = params.widthLetters = params.widthDigits = params.widthSymbols = 1;
  EXPECT_EQ(L"C:\\a b\\ＡＢＣ　１．カ.txt", Transform(params, L"C:\\a b\\ABC 1.ｶ.txt"));
  EXPECT_EQ(L"C:\\a b\\ＡＢＣ．ｔｘｔ", Transform(params, L"C:\\a b\\ABC.txt", 1));
  params.zenorhan = 0;
  EXPECT_EQ(L"C:\\ｶﾞ\\ｶﾞ.ガ", Transform(params, L"C:\\ｶﾞ\\ガ.ガ"));
  EXPECT_EQ(L"\\\\srv\\share\\ｶﾞ1", Transform(params, L"\\\\srv\\share\\ガ１", 1));
  params.widthKatakana = params.widthLetters = params.widthSymbols = 0;
  EXPECT_EQ(L"C:\\Ａ1", Transform(params, L"C:\\Ａ１"));
}

TEST(CharWidth, GrowingStemIsBuiltWholeAndGivesWayToTheExtensionOnlyAtTheBound) {
  ModeParams params;
  params.zenorhan = 0;
  params.widthKatakana = 1;
  const std::wstring folder = L"C:\\";
  const std::wstring source = folder + std::wstring(252, L'ガ') + L".txt";
  ASSERT_EQ(kMaxPathChars, source.size());
  const std::wstring target = Transform(params, source);
  EXPECT_EQ(folder.size() + 504 + 4, target.size());
  EXPECT_EQ(L".txt", target.substr(target.size() - 4));
  EXPECT_EQ(L"ｶﾞｶﾞ", target.substr(folder.size(), 4));

  // A cut that would leave half of a surrogate pair drops the whole pair: here the room ends
  // behind ｶﾞ x n, "xyz" and the high half of the pair.
  const std::wstring emoji = L"\U0001F600";
  const size_t n = (kMaxBuiltPath - 1 - folder.size() - 3) / 2;
  ASSERT_EQ(kMaxBuiltPath - 1, folder.size() + 2 * n + 3);
  const std::wstring odd = folder + std::wstring(n, L'ガ') + L"xyz" + emoji + std::wstring(120, L'ガ');
  const std::wstring oddCut = Transform(params, odd);
  ASSERT_EQ(kMaxBuiltPath - 1, oddCut.size());
  EXPECT_EQ(L'z', oddCut.back());
}

TEST(CharWidth, EmptyAndOversizedInput) {
  ModeParams params;
  params.zenorhan = 1;
  params.widthLetters = 1;
  EXPECT_EQ(L"", Transform(params, L""));
  EXPECT_EQ(L"C:\\", Transform(params, L"C:\\"));
  const std::wstring target = Transform(params, L"C:\\" + std::wstring(kMaxBuiltPath + 100, L'a'));
  ASSERT_EQ(kMaxBuiltPath, target.size());
  EXPECT_EQ(std::wstring(kMaxBuiltPath - 3, L'ａ'), target.substr(3));

  TransformContext noParams;
  noParams.params = nullptr;
  std::wstring copy;
  CharWidthTransform(noParams, L"C:\\abc", copy);
  EXPECT_EQ(L"C:\\abc", copy);
}

}  // namespace
}  // namespace korval
