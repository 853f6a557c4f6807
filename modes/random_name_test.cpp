#include "modes/random_name.h"

#include <cstdlib>
#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "platform/ansi_escape.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// The pools described independently of the tables in the code: Unicode ranges and Shift-JIS rows.
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsHiragana(wchar_t c) { return c >= 0x3041 && c <= 0x3093 && c != 0x308E && c != 0x3090 && c != 0x3091; }
bool IsKatakana(wchar_t c) { return c >= 0x30A1 && c <= 0x30F3 && c != 0x30EE && c != 0x30F0 && c != 0x30F1; }
bool IsFullWidthOrGreek(wchar_t c) {
  return (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A) ||
         (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) || (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2);
}
// The last letter я is never drawn.
bool IsDrawnCyrillic(wchar_t c) { return (c >= 0x0410 && c < 0x044F) || c == 0x0401 || c == 0x0451; }
std::string Sjis(wchar_t c) { return ToAnsiEscaped(std::wstring(1, c), 16); }
bool IsSymbol(wchar_t c) { return c != 0x3000 && Sjis(c).size() == 2 && static_cast<unsigned char>(Sjis(c)[0]) == 0x81; }
bool IsFirstLevelKanji(wchar_t c) {
  const std::string b = Sjis(c);
  return b.size() == 2 && static_cast<unsigned char>(b[0]) >= 0x89 && static_cast<unsigned char>(b[0]) <= 0x96;
}
bool IsMixedFullWidth(wchar_t c) {
  return IsHiragana(c) || IsKatakana(c) || IsFullWidthOrGreek(c) || IsSymbol(c) || IsDrawnCyrillic(c) ||
         IsFirstLevelKanji(c);
}

ModeParams Params(int pattern, int extension, int length) {
  ModeParams p;
  p.rndpattern = pattern;
  p.rndext = extension;
  p.rndlen = length;
  return p;
}

std::wstring Randomize(const ModeParams& params, const std::wstring& source = L"C:\\photos\\img.jpg") {
  TransformContext ctx;
  ctx.params = &params;
  std::wstring target;
  RandomNameTransform(ctx, source, target);
  return target;
}

// The new name behind "C:\photos\".
std::wstring NewName(const ModeParams& params) { return Randomize(params).substr(10); }

TEST(RandomFullWidthChar, KanaKindsDrawEveryKanaOfTheirPool) {
  std::srand(1);
  for (int kind : {1, 2}) {
    std::set<wchar_t> seen;
    for (int i = 0; i < 20000; ++i) {
      const wchar_t c = RandomFullWidthChar(kind);
      ASSERT_TRUE(kind == 1 ? IsHiragana(c) : IsKatakana(c)) << kind << " " << int(c);
      seen.insert(c);
    }
    EXPECT_EQ(80u, seen.size()) << kind;
  }
}

TEST(RandomFullWidthChar, MixedKindKeepsTheClassSharesAndCoversEveryPool) {
  std::srand(2);
  struct Class { const char* name; std::function<bool(wchar_t)> member; double share; size_t members; };
  const Class classes[] = {
      {"hiragana", IsHiragana, 0.12, 80},       {"katakana", IsKatakana, 0.12, 80},
      {"full-width", IsFullWidthOrGreek, 0.08, 110}, {"symbols", IsSymbol, 0.12, 146},
      {"cyrillic", IsDrawnCyrillic, 0.12, 65},   {"kanji", IsFirstLevelKanji, 0.44, 0},
  };
  constexpr int kDraws = 100000;
  std::set<wchar_t> seen[6];
  int counts[6] = {};
  std::set<int> leads;
  for (int i = 0; i < kDraws; ++i) {
    const wchar_t c = RandomFullWidthChar(3);
    int k = 0;
    while (k < 6 && !classes[k].member(c)) ++k;
    ASSERT_LT(k, 6) << "outside every pool: " << int(c);
    ++counts[k];
    seen[k].insert(c);
    if (k == 5) leads.insert(static_cast<unsigned char>(Sjis(c)[0]));
  }
  for (int k = 0; k < 6; ++k) {
    EXPECT_NEAR(classes[k].share, counts[k] / double(kDraws), 0.01) << classes[k].name;
    if (classes[k].members) {
      EXPECT_EQ(classes[k].members, seen[k].size()) << classes[k].name;
    }
  }
  EXPECT_EQ(14u, leads.size());
  EXPECT_EQ(0u, seen[4].count(L'я'));
}

TEST(RandomName, LengthCoversEachRange) {
  std::srand(4);
  struct Case { int rndlen; size_t low, high; };
  const Case cases[] = {{0, 4, 4}, {1, 4, 8}, {2, 4, 16}, {3, 8, 8}, {4, 8, 16}, {5, 16, 16}, {-3, 4, 4}, {9, 16, 16}};
  for (const Case& c : cases) {
    size_t low = 99, high = 0;
    for (int i = 0; i < 2000; ++i) {
      const size_t n = NewName(Params(0, 1, c.rndlen)).size();
      low = std::min(low, n);
      high = std::max(high, n);
    }
    EXPECT_EQ(c.low, low) << c.rndlen;
    EXPECT_EQ(c.high, high) << c.rndlen;
  }
}

TEST(RandomName, PatternsDrawFromTheirClasses) {
  std::srand(5);
  struct Case { int pattern; std::function<bool(wchar_t)> member; size_t members; };
  const Case cases[] = {
      {0, IsDigit, 10},
      {1, IsLetter, 52},
      {3, [](wchar_t c) { return IsDigit(c) || IsLetter(c); }, 62},
      {4, IsHiragana, 80},
      {5, IsMixedFullWidth, 0},
      {6, [](wchar_t c) { return IsDigit(c) || IsLetter(c) || IsMixedFullWidth(c); }, 0},
  };
  for (const Case& c : cases) {
    std::set<wchar_t> seen;
    for (int i = 0; i < 1000; ++i) {
      for (wchar_t ch : NewName(Params(c.pattern, 1, 4))) {
        ASSERT_TRUE(c.member(ch)) << c.pattern << " " << int(ch);
        seen.insert(ch);
      }
    }
    if (c.members) {
      EXPECT_EQ(c.members, seen.size()) << c.pattern;
    }
  }
}

TEST(RandomName, MixturesKeepTheirShares) {
  std::srand(6);
  size_t letters = 0, digits = 0, ascii = 0, all = 0;
  for (int i = 0; i < 2000; ++i) {
    for (wchar_t ch : NewName(Params(3, 1, 4))) (IsLetter(ch) ? letters : digits)++;
    for (wchar_t ch : NewName(Params(6, 1, 4))) {
      ascii += ch < 0x80;
      ++all;
    }
  }
  EXPECT_NEAR(0.75, letters / double(letters + digits), 0.02);
  EXPECT_NEAR(0.5, ascii / double(all), 0.02);
}

TEST(RandomName, FrontHalfLettersBackHalfDigits) {
  std::srand(7);
  int sevens = 0;
  for (int i = 0; i < 2000; ++i) {
    const std::wstring name = NewName(Params(2, 1, 2));
    for (size_t k = 0; k < name.size(); ++k) {
      ASSERT_TRUE(k < name.size() / 2 ? IsLetter(name[k]) : IsDigit(name[k])) << Utf8(name);
    }
    sevens += name.size() == 7;
  }
  EXPECT_GT(sevens, 0);
}

TEST(RandomName, ExtensionChoices) {
  std::srand(8);
  EXPECT_EQ(L".jpg", NewName(Params(0, 0, 0)).substr(4));
  EXPECT_EQ(L"C:\\a.b\\", Randomize(Params(0, 0, 0), L"C:\\a.b\\noext").substr(0, 7));
  EXPECT_EQ(11u, Randomize(Params(0, 0, 0), L"C:\\a.b\\noext").size());
  EXPECT_EQ(4u, NewName(Params(0, 1, 0)).size());
  // Pattern 2 draws the spare extension by position too: at length 4 its third character is a digit.
  for (int i = 0; i < 200; ++i) {
    const std::wstring name = NewName(Params(2, 2, 0));
    ASSERT_EQ(8u, name.size());
    EXPECT_TRUE(name[4] == L'.' && IsLetter(name[5]) && IsLetter(name[6]) && IsDigit(name[7])) << Utf8(name);
  }
  int none = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::wstring name = NewName(Params(0, 3, 0));
    if (name.size() == 4) {
      ++none;
    } else {
      ASSERT_EQ(8u, name.size());
      EXPECT_TRUE(name[4] == L'.' && IsDigit(name[5]) && IsDigit(name[6]) && IsDigit(name[7]));
    }
  }
  EXPECT_NEAR(0.5, none / 4000.0, 0.04);
}

TEST(RandomName, ANameTooLongForAPathIsBuiltWhole) {
  const std::wstring folder = L"C:\\" + std::wstring(250, L'f') + L"\\";
  const std::wstring target = Randomize(Params(5, 2, 5), folder + L"x.txt");
  EXPECT_EQ(folder.size() + 20, target.size());
  EXPECT_EQ(folder, target.substr(0, folder.size()));
  EXPECT_EQ(4u, Randomize(Params(0, 0, 0), L"").size());
}

}  // namespace
}  // namespace korval
