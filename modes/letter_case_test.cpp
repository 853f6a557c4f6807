#include "modes/letter_case.h"

#include <gtest/gtest.h>

#include <cwctype>

#include "testing/temp_folder.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

const std::wstring kFolder = L"C:\\data\\";

// The list as the mode panel builds it from a space-separated text of plain words.
ExceptionWordList Words(std::initializer_list<const wchar_t*> typed, int listNumber) {
  ExceptionWordList list;
  for (const wchar_t* word : typed) {
    std::wstring normal = word;
    for (size_t i = 0; i < normal.size(); ++i) {
      wchar_t& c = normal[i];
      const bool upper = listNumber == 1 || (listNumber == 2 && i == 0);
      if (upper && c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 0x20);
      if (!upper && c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 0x20);
    }
    list.push_back({word, normal});
  }
  return list;
}

std::wstring Convert(const ModeParams& params, const std::wstring& name, int fileDir = 0) {
  TransformContext ctx;
  ctx.params = &params;
  ctx.fileDir = fileDir;
  std::wstring target = L"left over";
  LetterCaseTransform(ctx, kFolder + name, target);
  if (target.compare(0, kFolder.size(), kFolder) != 0) return L"<folder lost: " + target + L">";
  return target.substr(kFolder.size());
}

struct CaseRow {
  int bigsmall;
  int dbytebig;
  int fileDir;
  const wchar_t* name;
  const wchar_t* expected;
};

void CheckRows(std::initializer_list<CaseRow> rows) {
  for (const CaseRow& row : rows) {
    ModeParams params;
    params.bigsmall = row.bigsmall;
    params.dbytebig = row.dbytebig;
    EXPECT_EQ(std::wstring(row.expected), Convert(params, row.name, row.fileDir))
        << "case " << row.bigsmall << " dbytebig " << row.dbytebig << " fileDir " << row.fileDir << ": "
        << Utf8(row.name);
  }
}

TEST(LetterCase, FiveConversionsOfAsciiNames) {
  CheckRows({
      {0, 0, 0, L"MyFile.TXT", L"myfile.txt"},
      {1, 0, 0, L"abc.txt", L"ABC.TXT"},
      {2, 0, 0, L"abc.txt", L"ABC.txt"},
      {2, 0, 0, L"a.b.Txt", L"A.B.Txt"},
      {3, 0, 0, L"hELLO wORLD.TXT", L"Hello world.txt"},
      {3, 0, 0, L"1abc.TXT", L"1abc.txt"},
      {4, 0, 0, L"my_file-name.txt", L"My_File-Name.txt"},
      {4, 0, 0, L"don't stop.txt", L"Don't Stop.txt"},
      {4, 0, 0, L"'quoted' x 'y.txt", L"'Quoted' X 'Y.txt"},
      {4, 0, 0, L"2nd take(b)+c.MP3", L"2Nd Take(B)+C.mp3"},
      {4, 0, 0, L"写真a日本b.JPG", L"写真A日本B.jpg"},
  });
}

TEST(LetterCase, WordStartsStopAtTheExtensionOutsideFolderMode) {
  CheckRows({
      {4, 0, 0, L"abc.def.txt", L"Abc.Def.txt"},
      {4, 0, 0, L"my.folder", L"My.folder"},
      {4, 0, 1, L"my.folder", L"My.Folder"},
      {4, 0, 0, L".hidden", L".hidden"},
      {4, 0, 1, L".hidden", L".Hidden"},
      {2, 0, 1, L"my.folder", L"MY.folder"},
  });
}

TEST(LetterCase, FullWidthLettersOnlyWithTheFullWidthOption) {
  CheckRows({
      {1, 0, 0, L"ａｂｃ", L"ａｂｃ"},
      {1, 1, 0, L"ａｂｃ", L"ＡＢＣ"},
      {0, 0, 0, L"ＡＢＣ.TXT", L"ＡＢＣ.txt"},
      {0, 1, 0, L"ＡＢＣ.TXT", L"ａｂｃ.txt"},
      {2, 1, 0, L"ａｂｃ.ｔｘｔ", L"ＡＢＣ.ｔｘｔ"},
      {3, 0, 0, L"ａＢＣ ｄ", L"ａＢＣ ｄ"},
      {3, 1, 0, L"ａＢＣ ｄ", L"Ａｂｃ ｄ"},
      {4, 0, 0, L"ＡＢＣ ｄｅｆ", L"ＡＢＣ ｄｅｆ"},
      {4, 1, 0, L"ＡＢＣ　ｄｅｆ_ｇｈ", L"Ａｂｃ　Ｄｅｆ_Ｇｈ"},
      {4, 1, 0, L"ｄｏｎ’ｔ ｇｏ", L"Ｄｏｎ’ｔ Ｇｏ"},
      {4, 1, 0, L"’ａ", L"’Ａ"},
  });
}

TEST(LetterCase, PlainAndLocaleAwareMappings) {
  std::wstring plain = L"AbＣｄΣσ";
  ToLowerCase(plain, false);
  EXPECT_EQ(L"abＣｄΣσ", plain);
  ToUpperCase(plain, false);
  EXPECT_EQ(L"ABＣｄΣσ", plain);

  std::wstring aware = L"AbＣｄ";
  ToLowerCase(aware, true);
  EXPECT_EQ(L"abｃｄ", aware);
  ToUpperCase(aware, true);
  EXPECT_EQ(L"ABＣＤ", aware);

  // ASCII is mapped without asking the locale: the answer must be the locale's own.
  for (wchar_t c = 1; c < 0x80; ++c) {
    std::wstring lower(1, c), upper(1, c);
    ToLowerCase(lower, true);
    ToUpperCase(upper, true);
    EXPECT_EQ(static_cast<wchar_t>(std::towlower(c)), lower[0]) << static_cast<int>(c);
    EXPECT_EQ(static_cast<wchar_t>(std::towupper(c)), upper[0]) << static_cast<int>(c);
  }

  std::wstring kana = L"アあ漢1_";
  ToUpperCase(kana, true);
  EXPECT_EQ(L"アあ漢1_", kana);
}

TEST(ExceptionWords, KeepTheTypedSpellingInEachConversion) {
  ModeParams params;
  params.exceptionWords[0] = Words({L"McDonald", L"TV"}, 0);
  params.exceptionWords[1] = Words({L"iPhone"}, 1);
  params.exceptionWords[2] = Words({L"a", L"an", L"and", L"at", L"by", L"for", L"in", L"into", L"of", L"on",
                                    L"or", L"the", L"to", L"with", L"USB"},
                                   2);
  struct Row {
    int bigsmall;
    const wchar_t* name;
    const wchar_t* expected;
  };
  const Row rows[] = {
      {4, L"the lord of the rings.avi", L"The Lord of the Rings.avi"},
      {4, L"OF MICE AND MEN.txt", L"Of Mice and Men.txt"},
      {4, L"usb stick.txt", L"USB Stick.txt"},
      {4, L"a usb an.txt", L"A USB an.txt"},
      {4, L"theory of one.txt", L"Theory of One.txt"},
      {1, L"iphone case.png", L"iPhone CASE.PNG"},
      {2, L"iphone case.png", L"iPhone CASE.png"},
      {1, L"iphones.png", L"IPHONES.PNG"},
      {0, L"MCDONALD TV.TV", L"McDonald TV.TV"},
      {0, L"MCDONALDS.txt", L"mcdonalds.txt"},
      {0, L"BIGTV.txt", L"bigtv.txt"},
      {0, L"1TV_TV2.txt", L"1TV_TV2.txt"},
      {3, L"iphone tv", L"Iphone tv"},
  };
  for (const Row& row : rows) {
    params.bigsmall = row.bigsmall;
    EXPECT_EQ(std::wstring(row.expected), Convert(params, row.name)) << row.bigsmall << " " << Utf8(row.name);
  }
}

TEST(ExceptionWords, SearchSkipsTheCharacterAfterEachMatch) {
  ModeParams params;
  params.exceptionWords[1] = {{L"Ab", L"AB"}, {L"x.", L"X."}};
  std::wstring name = L"AB AB-AB";
  ApplyExceptionWords(params, name, 1);
  EXPECT_EQ(L"Ab Ab-Ab", name);
  // The first X. is followed by a letter and left alone; the second, a whole word, lies inside the
  // skipped character.
  name = L"X.X.";
  ApplyExceptionWords(params, name, 1);
  EXPECT_EQ(L"X.X.", name);
  name = L"X. X.";
  ApplyExceptionWords(params, name, 1);
  EXPECT_EQ(L"x. x.", name);
}

TEST(ExceptionWords, ListEndsAtTheFirstEmptyEntryAndAfter128Words) {
  ModeParams params;
  params.exceptionWords[0] = {{L"Aa", L"aa"}, {L"", L""}, {L"Bb", L"bb"}};
  std::wstring name = L"aa bb";
  ApplyExceptionWords(params, name, 0);
  EXPECT_EQ(L"Aa bb", name);

  ExceptionWordList many(kMaxExceptionWords, {L"Qq", L"qq"});
  many.push_back({L"Zz", L"zz"});
  params.exceptionWords[0] = many;
  name = L"qq zz";
  ApplyExceptionWords(params, name, 0);
  EXPECT_EQ(L"Qq zz", name);
}

TEST(ExceptionWords, OddInputChangesNothing) {
  ModeParams params;
  params.exceptionWords[0] = {{L"Abc", L"ab"}, {L"Cd", L"cd"}};
  std::wstring name = L"ab cd";
  ApplyExceptionWords(params, name, 0);
  EXPECT_EQ(L"ab Cd", name);
  ApplyExceptionWords(params, name, 3);
  ApplyExceptionWords(params, name, -1);
  EXPECT_EQ(L"ab Cd", name);
  std::wstring empty;
  ApplyExceptionWords(params, empty, 0);
  EXPECT_EQ(L"", empty);
}

TEST(LetterCase, LimitsAndEmptyInput) {
  ModeParams params;
  params.bigsmall = 4;
  TransformContext ctx;
  ctx.params = &params;
  std::wstring target;

  LetterCaseTransform(ctx, L"", target);
  EXPECT_EQ(L"", target);

  const std::wstring longName(259 - kFolder.size() - 4, L'a');
  LetterCaseTransform(ctx, kFolder + longName + L".TXT", target);
  ASSERT_EQ(259u, target.size());
  EXPECT_EQ(L"A" + longName.substr(1) + L".txt", target.substr(kFolder.size()));

  LetterCaseTransform(ctx, kFolder + std::wstring(kMaxBuiltPath, L'b'), target);
  EXPECT_EQ(kMaxBuiltPath, target.size());
  EXPECT_EQ(L'B', target[kFolder.size()]);

  TransformContext noParams;
  noParams.params = nullptr;
  LetterCaseTransform(noParams, L"C:\\x\\Ab.txt", target);
  EXPECT_EQ(L"C:\\x\\Ab.txt", target);

  params.bigsmall = 99;  // out of range: clamped to the last conversion
  LetterCaseTransform(ctx, L"C:\\x\\ab cd.txt", target);
  EXPECT_EQ(L"C:\\x\\Ab Cd.txt", target);
}

}  // namespace
}  // namespace korval
