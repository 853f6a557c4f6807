// Tests of what a pattern means: whole characters, Unicode classes and case folds from the Unicode
// data, Perl's syntax and line rules, the refusals, and the fixed budget of every match.
#include <windows.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "regex/code_point_text.h"
#include "regex/repeated_groups.h"
#include "regex/substitute.h"
#include "regex/substitution_rows.h"
#include "regex/unicode_data.h"

namespace korval::regex {
namespace {

bool HasLoneSurrogate(const std::wstring& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      return true;
    }
  }
  return false;
}

TEST(RegexWholeCharacters, APairIsOneCharacter) {
  const Row rows[] = {
      {L"s/x*/-/g", L"😀", L"-😀-"},  // the step after an empty match is a whole character
      {L"s/(?:)/|/g", L"a𠮟b", L"|a|𠮟|b|"},
      {L"s/./[$&]/g", L"a😀b", L"[a][😀][b]"},
      {L"s/[😀a]/X/g", L"a😀", L"XX"},
      {L"s/😀+/X/", L"😀😀!", L"X!"},
      {L"s/^.{2}/X/", L"😀😀😀", L"X😀"},
      {L"s/.$/X/", L"a😀", L"aX"},
      {L"s/(?<=😀)a/X/", L"😀a", L"😀X"},
      {L"s/\\w+/W/", L"𠮟る!", L"W!"},  // a Joyo kanji outside the BMP is a word character
      {L"s/\\x{1F600}/E/", L"a😀", L"aE"},
      {L"s/\\x{20B9F}/X/", L"𠮟", L"X"},
      {L"s/[\\x{1F600}-\\x{1F64F}]//g", L"a😀b🙏c", L"abc"},
      {L"s/\\N{U+1F600}/E/", L"😀", L"E"},
      {L"s/(.)(.)/$2$1/", L"😀𠮟", L"𠮟😀"},
      {L"s/\\X/x/g", L"か\u3099a", L"xx"},
      // A surrogate without its partner is a character of its own and comes back as it was.
      {L"s/a/b/", L"\xD800" L"a", L"\xD800" L"b"},
      {L"s/./X/g", L"😀\xDC00", L"XX"},
      {L"s/\\x{D800}/X/", L"a\xD800", L"aX"},
  };
  ExpectRows(rows);
}

TEST(RegexWholeCharacters, NoResultHoldsALoneSurrogateItsNameDidNotHold) {
  // Emoji, kanji outside the BMP, combining marks, kana and ASCII, mixed at random.
  const std::vector<char32_t> pool = {U'😀', U'🙏', U'👍', U'𠮟', U'𩸽', U'𠀋', U'\u0301', U'\u3099', U'\u309A',
                                      U'か', U'カ', U'漢', U'a', U'B', U'1', U' ', U'_', U'-', U'é'};
  const wchar_t* patterns[] = {
      L".", L"\\w", L"x*", L"(?:)", L"[😀a]", L"😀+", L"\\p{Han}", L"\\P{L}", L"\\b", L"\\B", L"(.)(.)", L".{3}",
      L"[^a]", L"\\S+?", L"$", L"^", L"(?=.)", L"(?<=.)", L"\\p{M}", L"\\d*", L"[\\x{10000}-\\x{10FFFF}]", L"\\s*",
      L"a", L"\\X", L"\\W", L"[\\W\\d]", L"\\p{Latin}+", L"\\p{Katakana}|\\p{Hiragana}", L"(\\w)(\\W)", L"..?",
      L".*?", L"(?<!.)", L"\\p{So}", L"[^\\p{Han}]+", L"\\h", L"(.)\\1", L".(?=.)", L"\\pM*", L"\\p{Common}",
      L"[[:alpha:]]+", L"[[:^alpha:]]", L"\\p{Lo}{2}", L"(?i)b", L".\\z", L"\\A.", L"[😀-🙏]", L"\\x{301}",
      L"\\p{L}\\p{M}*", L"[^\\x{0}-\\x{FFFF}]", L"(?s).",
  };
  const wchar_t* replacements[] = {L"-", L"", L"[$&]", L"$1", L"😀"};
  std::mt19937 random(20240601);
  std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
  std::uniform_int_distribution<size_t> length(0, 12);
  const auto start = std::chrono::steady_clock::now();
  int broken = 0;
  for (int n = 0; n < 100000; ++n) {
    std::wstring name;
    for (size_t k = length(random); k > 0; --k) AppendUtf16(pool[pick(random)], name);
    const size_t p = static_cast<size_t>(n) % std::size(patterns);
    const std::wstring command =
        std::wstring(L"s/") + patterns[p] + L"/" + replacements[static_cast<size_t>(n) % std::size(replacements)] + L"/g";
    std::wstring result, message;
    int count = 0;
    const SubstStatus status = Substitute(command, name, result, message, count);
    ASSERT_NE(SubstStatus::Error, status) << Utf8(command) << " " << Utf8(message);
    if (HasLoneSurrogate(result) && ++broken <= 5) ADD_FAILURE() << Utf8(command) << " on " << Utf8(name);
  }
  EXPECT_EQ(0, broken);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(RegexUnicodeClasses, PropertiesAndClassesFollowTheUnicodeData) {
  const Row rows[] = {
      {L"s/\\p{L}+/X/", L"Abc1", L"X1"},  // all letters, not the lower-case ones only
      {L"s/\\pL+/X/", L"Abc1", L"X1"},
      {L"s/\\p{Letter}+/X/", L"Ωmega1", L"X1"},
      {L"s/\\p{Lu}/U/g", L"AbCÄ", L"UbUU"},
      {L"s/\\p{Uppercase_Letter}/U/g", L"aB", L"aU"},
      {L"s/\\p{Ll}/l/g", L"aB", L"lB"},
      {L"s/\\P{L}/_/g", L"a1-b", L"a__b"},
      {L"s/\\p{^L}/_/g", L"a1-b", L"a__b"},
      {L"s/\\p{N}/#/g", L"a1１Ⅻ", L"a###"},
      {L"s/\\p{Nd}/#/g", L"1１Ⅻ", L"##Ⅻ"},
      {L"s/\\p{P}/./g", L"a、b!", L"a.b."},
      {L"s/\\p{S}/$/g", L"a+b€", L"a$b$"},
      {L"s/\\p{Z}/_/g", L"a　b c", L"a_b_c"},
      {L"s/\\p{M}//g", L"か\u3099e\u0301", L"かe"},
      {L"s/\\p{Han}+/H/g", L"漢字かな𠮟", L"HかなH"},
      {L"s/\\p{Hiragana}+/H/", L"カナかなabc", L"カナHabc"},
      {L"s/\\p{Katakana}+//g", L"テストabcカナ", L"abc"},
      {L"s/\\p{Han}{2,}/[漢字]/", L"写真と漢字", L"[漢字]と漢字"},
      {L"s/\\p{Latin}+/L/", L"日本abc", L"日本L"},
      {L"s/\\p{Greek}+/G/", L"aαβ", L"aG"},
      {L"s/\\p{Cyrillic}+/C/", L"aжд", L"aC"},
      {L"s/\\p{Hangul}+/K/", L"a한글", L"aK"},
      {L"s/\\p{Common}+/C/", L"a 1!", L"aC"},
      {L"s/\\p{Script=Han}/H/", L"a漢", L"aH"},
      {L"s/\\p{sc=Hira}/H/", L"aか", L"aH"},
      {L"s/\\p{IsKatakana}/K/", L"aカ", L"aK"},
      {L"s/[\\p{Han}\\p{Hiragana}]+/J/", L"ab漢字かなカ", L"abJカ"},
      {L"s/[^\\p{Han}]+//g", L"漢a字b", L"漢字"},
      {L"s/\\d+/#/", L"١٢٣a", L"#a"},
      {L"s/\\s+/_/g", L"a\u3000b\u00A0c", L"a_b_c"},
      {L"s/[[:alpha:]]+/A/", L"1ⅫΩか", L"1A"},
      {L"s/[[:^alpha:]]+/_/", L"ab12", L"ab_"},
      {L"s/[[:ascii:]]+/A/", L"あabc", L"あA"},
      {L"s/[[:punct:]]/./g", L"a+b!", L"a.b."},
      {L"s/[[:upper:]]/U/g", L"aBÄ", L"aUU"},
      {L"s/\\w+/W/g", L"a_1 か\u3099 ‿x", L"W W W"},
  };
  ExpectRows(rows);
}

TEST(RegexUnicodeClasses, CaseFoldsOfEveryScript) {
  const Row rows[] = {
      {L"s/k/X/gi", L"kK\u212A", L"XXX"},  // the Kelvin sign folds to k
      {L"s/σ/X/gi", L"Σσς", L"XXX"},       // final sigma
      {L"s/s/X/gi", L"Ssſ", L"XXX"},       // long s
      {L"s/ß/X/gi", L"ẞß", L"XX"},         // capital sharp s
      {L"s/ａ/X/gi", L"Ａａ", L"XX"},
      {L"s/\\x{10428}/X/gi", L"\U00010400", L"X"},  // Deseret, outside the BMP
      {L"s/[a-c]+/X/i", L"ABCd", L"Xd"},
      {L"s/(a)\\1/X/i", L"aA", L"X"},
      {L"s/ǆ/X/gi", L"Ǆǅ", L"XX"},
  };
  ExpectRows(rows);
  // The full folds the tables hold (one character to several).
  const char32_t* sharpS = unicode::FullFoldOf(U'ß');
  ASSERT_NE(nullptr, sharpS);
  EXPECT_EQ(std::u32string(U"ss"), std::u32string(sharpS, sharpS + 2));
  EXPECT_EQ(nullptr, unicode::FullFoldOf(U'a'));
}

TEST(RegexPerlMeaning, ANameIsOneLine) {
  const Row rows[] = {
      {L"s/^b/X/g", L"a\nb", nullptr},
      {L"s/^b/X/gm", L"a\nb", L"a\nX"},
      {L"s/(?m)^b/X/g", L"a\nb", L"a\nX"},
      {L"s/a$/X/", L"a\nb", nullptr},
      {L"s/a$/X/m", L"a\nb", L"X\nb"},
      {L"s/$/E/", L"ab\n", L"abE\n"},  // $ stands before a final line break too
      {L"s/\\Z/E/", L"ab\n", L"abE\n"},
      {L"s/\\z/E/", L"ab\n", L"ab\nE"},
      {L"s/a.b/X/", L"a\nb", nullptr},
      {L"s/a.b/X/s", L"a\nb", L"X"},
      {L"s/(?s:a.b)/X/", L"a\nb", L"X"},
      {L"s/a.b/X/", L"a\rb", L"X"},  // only "\n" is a line break
      {L"s/a\\Nb/X/s", L"a\nb", nullptr},
  };
  ExpectRows(rows);
}

TEST(RegexPerlMeaning, PerlSpellingsAreUnderstood) {
  const Row rows[] = {
      {L"s/\\N+/X/", L"ab", L"X"},
      {L"s/\\N{2}/X/", L"abc", L"Xc"},
      {L"s/\\o{101}/X/", L"BAB", L"BXB"},
      {L"s/\\101/X/", L"BAB", L"BXB"},          // octal: there is no group 101
      {L"s/\\x{3042}/X/", L"あ", L"X"},
      {L"s/\\x41/X/", L"A", L"X"},
      {L"s/(?P<n>a)(?P=n)/[$+{n}]/", L"xaa", L"x[a]"},
      {L"s/(?<n>a)\\k{n}/X/", L"aa", L"X"},
      {L"s/a{,2}/X/", L"aaa", L"Xa"},
      {L"s/a{ 1 , 2 }/X/", L"aaa", L"Xa"},
      {L"s/x{/X/", L"x{", L"X"},                // a "{" that is no count is itself
      {L"s/a{x}/X/", L"a{x}", L"X"},
      {L"s/a(*FAIL)|b/X/", L"ab", L"aX"},
      {L"s/a(*F)|b/X/", L"ab", L"aX"},
      {L"s/a(*ACCEPT)b/X/", L"ac", L"Xc"},
      {L"s/(*pla:b)/^/", L"ab", L"a^b"},
      {L"s/(?a)\\d/X/", L"1", L"X"},
      {L"s/(?u)\\w/X/", L"a", L"X"},
      {L"s/(?^i:A)b/X/", L"ab", L"X"},
      {L"s/(?i)(?^:a)/X/", L"A", nullptr},
      {L"s/\\ua/X/", L"A", L"X"},
      {L"s/[^\\W\\S]/X/g", L"a b", nullptr},   // word and space at once: nothing
      {L"s/[\\W\\S]/X/g", L"a ", L"XX"},
      {L"s/[^\\W\\d]+/X/", L"ab1", L"X1"},
      {L"s/(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10/X/", L"abcdefghijj", L"X"},
      {L"s/\\Qa.b\\E/X/", L"a.b", L"X"},
      {L"s/(?:a){3,1}b|c/X/", L"abc", L"abX"},  // a count that cannot be met never matches
      {L"s/[a-\\d]+/X/", L"za-9", L"zX"},       // a "-" beside a class is itself
      {L"s/[\\d-z]+/X/", L"a0-z", L"aX"},
      {L"s/[a b]/X/x", L" ", L"X"},              // blanks in brackets count, also with "x"
      {L"s/(?<=a|bc)d/X/g", L"adbcdcd", L"aXbcXcd"},
      {L"s/(?<!a|bc)d/X/g", L"adbcdcd", L"adbcdcX"},
      {L"s/(?<=ab?)c/X/g", L"acabcbc", L"aXabXbc"},        // look-behinds of several lengths
      {L"s/(?=foo)(?<=(a{0,2}))/[$1]/", L"aafoo", L"aa[aa]foo"},  // the longest first, as Perl
      // Groups in look-behinds of several lengths: optional, repeated (the last copy captures), in
      // alternatives, numbered as written.
      {L"s/(?<=a(b)?)x/<$1>/", L"abx", L"ab<b>"},
      {L"s/(?<=a(b?c){3}d)X/<$1>/", L"abcbccdX", L"abcbccd<c>"},
      {L"s/(?<=(a|bc){2})x/<$1>/", L"abcx", L"abc<bc>"},
      {L"s/(?<=(a)|(b))x/<$1|$2>/", L"bx", L"b<|b>"},
      {L"s/(?<=x(a)?(b)?)y/<$1|$2>/", L"xby", L"xb<|b>"},
      {L"s/(?<=(?<n>a)|(b))x/<$+{n}|$2>/", L"ax", L"a<a|>"},
      {L"s/(?<!c(?:foob)?)b/X/", L"ab", L"aX"},
      {L"s/(?=)a/X/", L"a", L"X"},
      {L"s/\\cA/X/", L"\x01", L"X"},
      {L"s/(?<as>a) \\g{as}/X/", L"a a", L"X"},
      {L"s/\\N{ U+3042 }/X/", L"あ", L"X"},
      {L"s/\\p{sc:katakana}+/X/", L"あアイ", L"あX"},   // ":" for "="
      {L"s/\\p{Script:Han}/X/", L"a漢", L"aX"},
      {L"s/a\u3000b/X/x", L"ab a\u3000b", L"ab X"},     // a full-width space is no blank of "x"
      {L"s/a\u00A0b/X/x", L"a\u00A0b", L"X"},
      {L"s/a b\u3000c/X/x", L"ab\u3000c", L"X"},
      {L"s/a\u3000b/X/", L"a\u3000b", L"X"},
      {L"s/a\u200Eb/X/x", L"ab", L"X"},                 // the direction marks are pattern blanks
      {L"s/(?x)a\u200Fb/X/", L"ab", L"X"},
      {L"s/(?x)a(?-x:\u200F)b/X/", L"a\u200Fb", L"X"},
      {L"s/a\u200Eb/X/", L"a\u200Eb", L"X"},
      // Under "i" a character in a range, or its capital or small letter, is in the bracket.
      {L"s/^[\\x3f-\\x5F]+$/X/i", L"WXY_^abc", L"X"},
      {L"s/^[W-c]+$/X/i", L"wxy_^ABC", L"X"},
      {L"s/[W-c]+/X/", L"wWc", L"wX"},                 // without "i" the range as it stands
      {L"s/(?i)^[\\x3f-\\x5F]+/X/", L"ab{", L"X{"},
      {L"s/(?i:[\\x{FF21}-\\x{FF23}]+)d/X/", L"\uFF42\uFF43d", L"X"},  // full-width letters
      {L"s/^[\\x00-\\x5F]+$/X/i", L"a\x01", L"X"},
      {L"s/[^A-Z]+/X/i", L"ab1", L"abX"},              // the letters and their small ones left out
      // Under "i" a class of one case holds the other case too.
      {L"s/\\p{Lu}+/X/i", L"aB1", L"X1"},
      {L"s/\\p{gc=Ll}/X/i", L"1A", L"1X"},
      {L"s/\\P{Lu}/X/i", L"a1", L"aX"},
      {L"s/[[:upper:]]+/X/i", L"ab1", L"X1"},
      {L"s/[[:^lower:]]/X/i", L"A1", L"AX"},
      {L"s/\\p{Upper}/X/i", L"1a", L"1X"},
      {L"s/\\p{Lu}/X/", L"a", nullptr},
      {L"s/[z\\Qa-d]\\E]+/X/", L"b]a-dz", L"bX"},  // quoted in a bracket: "-" and "]" are themselves
      {L"s/a\\Eb/X/", L"ab", L"X"},                // an \E that ends no \Q is nothing
      {L"s/[a\\E]+/X/", L"aE", L"XE"},
      {L"s/(?<=\\R)X/Y/g", L"X\r\nX\nXaX", L"X\r\nY\nYaX"},  // a line break of either length behind
      {L"s/(?<!\\R)X/Y/g", L"X\nX", L"Y\nX"},
  };
  ExpectRows(rows);
}

// A group whose own count let it match nothing in the last repetition is empty, as in Perl, not the
// text of an earlier repetition; a group its repetition did not reach keeps its text.
TEST(RegexPerlMeaning, GroupsAreEmptiedPerRepetition) {
  const Row rows[] = {
      {L"s/^(a(b)?)+$/[$1|$2]/", L"aba", L"[a|]"},
      {L"s/^(aa(bb)?)+$/[$1|$2]/", L"aabbaa", L"[aa|]"},
      {L"s/^(a(b)*)+$/[$1|$2]/", L"abba", L"[a|]"},
      {L"s/^(a(b){0,2})+$/[$1|$2]/", L"aba", L"[a|]"},
      {L"s/^(a(b)?c)+$/[$1|$2]/", L"abcac", L"[ac|]"},
      {L"s/(?:x(a(b)?))+/[$1|$2]/", L"xabxa", L"[a|]"},
      {L"s/^(a(?<n>b)?)+$/[$+{n}]/", L"aba", L"[]"},
      {L"s/^(a(b)?)+$/[$1|$2]/", L"abab", L"[ab|b]"},   // the last repetition took it
      {L"s/^((a)|b)+$/[$1|$2]/", L"ab", L"[b|a]"},      // no count of its own: kept
      {L"s/(a(?=(b)?))+/[$1|$2]/", L"aab", L"[a|b]b"},  // looked ahead, outside the group
  };
  ExpectRows(rows);
}

// A search is left out when no character left can start a match; never when one can, or when the
// pattern can match nothing at all.
TEST(RegexPerlMeaning, SearchesAreSkippedOnlyWhereNothingCanStart) {
  const Row rows[] = {
      {L"s/b/X/g", L"aaa", nullptr},
      {L"s/b/X/g", L"abab", L"aXaX"},
      {L"s/x*/-/g", L"ab", L"-a-b-"},          // can match nothing: every place is tried
      {L"s/(?<=a)b/X/g", L"abcab", L"aXcaX"},  // looks behind the place it starts
      {L"s/\\bb/X/g", L"a b", L"a X"},
      {L"s/B/X/gi", L"abAb", L"aXAX"},          // a case the pattern does not spell
      {L"s/😀+/X/g", L"a😀😀b😀", L"aXbX"},    // characters above the first 256
      {L"s/[^a]/X/g", L"aあa", L"aXa"},
      {L"s/\\d+/#/g", L"ab１２", L"ab#"},       // full-width digits are digits
      {L"s/^b/X/m", L"a\nb", L"a\nX"},      // a start after a line break
  };
  ExpectRows(rows);
}

// One workspace serves call after call: texts with and without pairs, longer and shorter, more
// commands than it remembers, each result as a fresh call gives it.
TEST(RegexWorkspace, ReusedItGivesWhatFreshCallsGive) {
  const Row rows[] = {
      {L"s/(.)(.)/$2$1/", L"😀a𠮟b", L"a😀𠮟b"},
      {L"s/(.)(.)/$2$1/", L"ab", L"ba"},
      {L"s/b+/X/g", L"abbbbbbbbbbbbbbbbbbba", L"aXa"},
      {L"s/b+/X/g", L"ba", L"Xa"},
      {L"s/\\w$/X/", L"あ𠮟", L"あX"},
      {L"s/\\w$/X/", L"ab", L"aX"},
      {L"s/c/X/", L"abc", L"abX"},
      {L"s/d/X/", L"abcd", L"abcX"},
      {L"s/e/X/", L"e", L"X"},
      {L"s/(.)(.)/$2$1/", L"😀a", L"a😀"},
      {L"s/f/X/", L"abc", nullptr},
      {L"s/b+/X/g", L"😀bb😀", L"😀X😀"},
  };
  Workspace workspace;
  for (int pass = 0; pass < 2; ++pass) {
    for (const Row& row : rows) {
      std::wstring result, message;
      int count = 0;
      const SubstStatus status = Substitute(row.command, row.text, result, message, count, nullptr, &workspace);
      EXPECT_EQ(row.expected ? SubstStatus::Replaced : SubstStatus::NoMatch, status) << Utf8(row.command);
      EXPECT_EQ(std::wstring(row.expected ? row.expected : L""), result) << Utf8(row.command) << " on " << Utf8(row.text);
    }
  }
}

// The groups read as empty when they lie outside the last match of the group around them: those
// with a count that allows none, inside something repeated, not behind a look-around.
TEST(RegexGroups, ResetsFollowThePatternsStructure) {
  const struct {
    const char32_t* pattern;
    std::vector<std::pair<int, int>> resets;  // group, within
  } rows[] = {
      {U"^(a(b)?)+$", {{2, 1}}},
      {U"^(a(b)*)+$", {{2, 1}}},
      {U"^(a(b){0,2})+$", {{2, 1}}},
      {U"^(a(b){1,2})+$", {}},             // cannot match nothing
      {U"^(a(b)?)$", {}},                  // nothing repeats
      {U"(?:x(a(b)?))+", {{2, 1}}},         // the repetition may lie further out
      {U"^((a)|b)+$", {}},                 // no count of its own
      {U"(a(?=(b)?))+", {}},               // behind a look-around
      {U"(?:a(b)?)+", {}},                 // no capturing group around it
      {U"[(]\\((a(b)?)+", {{2, 1}}},        // escaped and bracketed parentheses are no groups
      {U"(?<n>a(?'m'b)?)+", {{2, 1}}},      // named groups count
      {U"(?|(a)|(b))((c)?)+", {}},         // renumbered: left alone
      {U"(a(b)?)*(c(d)?){2,}", {{2, 1}, {4, 3}}},
      {U"(?x)(a(b)?)+ # (c)", {}},         // a "(" in a comment: left alone
      {U"(?i-x)(a(b)?)+", {{2, 1}}},
      {U"\\Q(\\E(a(b)?)+", {}},            // quoted text: left alone
  };
  EXPECT_TRUE(GroupsResetPerRepetition(U"(a(b)?)+", true).empty());
  for (const auto& row : rows) {
    std::vector<std::pair<int, int>> found;
    for (const GroupReset& reset : GroupsResetPerRepetition(row.pattern)) found.emplace_back(reset.group, reset.within);
    EXPECT_EQ(row.resets, found) << "row " << (&row - rows);
  }
}

// Backtracking over a look-around or an atomic group gives back what it captured; each row is
// Perl 5.36's answer.
TEST(RegexGroups, BacktrackingOverALookAroundOrAnAtomicGroupGivesItsCapturesBack) {
  const Row rows[] = {
      {L"s/(?>(a))b|(a)c/<$1|$2>/", L"ac", L"<|a>"},
      {L"s/(?=(a))ab|(a)c/<$1|$2>/", L"ac", L"<|a>"},
      {L"s/(?!(b))c|b/<$1>/", L"b", L"<>"},
      {L"s/(?>([ab]))+a=/<$1>/", L"=ba=", L"=<b>"},
      {L"s/(a)++b|(a)c/<$1|$2>/", L"ac", L"<|a>"},
      {L"s/(?:(a)|b)*+c|(a)d/<$1|$2>/", L"ad", L"<|a>"},
      {L"s/(?<=(a)b)x|ab(y)/<$1|$2>/", L"aby", L"<|y>"},
      {L"s/^(?:(?=(a))a)+b|a(c)/<$1|$2>/", L"ac", L"<|c>"},
      {L"s/(?=(\\w+))\\w+z|(\\w)/<$1|$2>/", L"ab", L"<|a>b"},
      {L"s/(a(?=(b)))?c/<$1|$2>/", L"c", L"<|>"},
      {L"s/x(?=(a))/<$1>/", L"xa", L"<a>a"},  // a look-ahead that holds keeps its capture
  };
  ExpectRows(rows);
}

// "a" makes \d, \s, \w, \b and the POSIX classes ASCII's, "aa" keeps ASCII letters from matching
// others without case, "u" and "^" give the Unicode meaning back; each row is Perl 5.36's answer.
TEST(RegexPerlMeaning, TheAsciiModifierNarrowsTheClasses) {
  const Row rows[] = {
      {L"s/(?a)\\d+/N/g", L"１２3x4", L"１２NxN"},
      {L"s/(?a)\\w+/W/", L"ab漢c", L"W漢c"},
      {L"s/(?a:\\s)/_/g", L"a　b c", L"a　b_c"},
      {L"s/(?a)[\\d]+/N/g", L"１２3", L"１２N"},
      {L"s/(?a)[^\\d]+/x/", L"１２3", L"x3"},
      {L"s/(?a)[[:alpha:]]+/A/", L"éab", L"éA"},
      {L"s/(?a)[[:^alnum:]]+/_/", L"ab01éé", L"ab01_"},
      {L"s/(?a)\\bé/X/", L"aé", L"aX"},
      {L"s/(?a:((?u)\\w)\\W)/X/", L"ÀÀ", L"X"},
      {L"s/(?aa)s/x/i", L"ſs", L"ſx"},
      {L"s/(?a)s/x/i", L"ſs", L"xs"},
      {L"s/(?^a)\\d/x/", L"１2", L"１x"},
      {L"s/(?a)(?^)\\d/x/", L"１", L"x"},
      {L"s/\\p{PosixDigit}+/N/", L"１2", L"１N"},
      {L"s/\\d+/N/a", L"１２3", L"１２N"},
      {L"s/(?aia:s)/x/", L"ſ", nullptr},
      {L"s/[A-Z]/x/iaa", L"\u212A", nullptr},
      {L"s/(?iaa)[a-z]/x/", L"K", L"x"},
      {L"s/(?iaa)[^a-z]/x/", L"\u212A", L"x"},
  };
  ExpectRows(rows);
}

// Under "i" a character matches the characters it folds to, both ways; each row is Perl 5.36's answer.
TEST(RegexPerlMeaning, CaseFoldsOfOneCharacterToSeveralGoBothWays) {
  const Row rows[] = {
      {L"s/strasse/X/i", L"Straße", L"X"},
      {L"s/straße/X/i", L"STRASSE", L"X"},
      {L"s/straße/X/", L"STRASSE", nullptr},
      {L"s/ff/X/i", L"ﬀﬁ", L"Xﬁ"},
      {L"s/ffiffl/X/i", L"abcdefﬃﬄ", L"abcdefX"},
      {L"s/ssst/X/i", L"ßﬅ", L"X"},
      {L"s/ß+/X/i", L"ssß", L"X"},
      {L"s/\\xdf\\xdf/X/i", L"abcdefssss", L"abcdefX"},
      {L"s/(?<=ß)x/X/i", L"ssx", L"ssX"},  // in a look-behind: each spelling a length of its own
      {L"s/(?<=ss)x/X/i", L"ßx", L"ßX"},
      {L"s/(?<=(?<ss>a)ß)x/<$+{ss}>/i", L"assx", L"ass<a>"},  // a group's name is no text
      {L"s/(ss)/<$1>/i", L"aßb", L"a<ß>b"},
      {L"s/a.ss/X/i", L"abß", L"X"},
  };
  ExpectRows(rows);
  // Every ß of a long run doubles the alternatives: the spelling stops growing and the run reads as
  // written (a run of 40 once took all memory).
  const std::wstring run(40, L'ß');
  std::wstring result, message;
  int count = 0;
  EXPECT_EQ(SubstStatus::Replaced, Substitute(L"s/x" + run + L"/X/i", L"x" + run, result, message, count));
  EXPECT_EQ(L"X", result);
  // The forms of a look-behind are spelled once (spelled again, they grew without end).
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SubstStatus::NoMatch, Substitute(L"s/(?<=(ß?<ss>a)ß)x/X/i", L"abc", result, message, count)) << Utf8(message);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// Verbs with names: the names only tell which mark a search passed; each row is Perl 5.36's answer.
TEST(RegexPerlMeaning, VerbsWithNamesActAsWithout) {
  const Row rows[] = {
      {L"s/a(*MARK:m)b/x/g", L"ab", L"x"},
      {L"s/(*:m)a|b/x/g", L"ab", L"xx"},
      {L"s/a(*SKIP:n)b|ac/x/g", L"ac", L"x"},  // no mark of that name: no effect
      {L"s/a+(*PRUNE:p)b|c/x/g", L"aac", L"aax"},
      {L"s/(*FAIL:f)|a/x/g", L"a", L"x"},
      {L"s/A(*MARK:A)A+(*SKIP:)(B|Z)|AC/x/", L"AAAC", nullptr},  // an empty name is none
      {L"s/(?=a(*THEN)b)..x/X/", L"abxy", L"Xy"},  // a (*THEN) passed in a look-ahead that holds
  };
  ExpectRows(rows);
}

TEST(RegexPerlMeaning, WhatCannotBeHadIsRefusedByName) {
  const struct {
    const wchar_t* command;
    const wchar_t* message;
  } rows[] = {
      {L"s/\\N{LATIN SMALL LETTER A}/x/", L"正規表現の誤り: \\N{文字の名前} は使えません"},
      {L"s/a(?{ 1 })/x/", L"正規表現の誤り: (?{...}) は使えません"},
      {L"s/a(??{ 1 })/x/", L"正規表現の誤り: (?{...}) は使えません"},
      {L"s/(*MARK:x)a(*SKIP:x)b/x/", L"正規表現の誤り: 印へ戻る (*SKIP:名前) は使えません"},
      {L"s/\\x{110000}/x/", L"正規表現の誤り: U+10FFFF を超える文字コード は使えません"},
      {L"s/\\Uab/x/", L"正規表現の誤り: \\L \\U \\F は使えません"},
      {L"s/\\b{wb}/x/", L"正規表現の誤り: \\b{...} は使えません"},
      {L"s/(?n)(a)/x/", L"正規表現の誤り: (?n) は使えません"},
      {L"s/(?<=b(?1))(a)/x/", L"正規表現の誤り: 後読みの中の、後ろに書いたグループの呼び出し は使えません"},
      {L"s/(?<!(?&n))(?<n>a)/x/", L"正規表現の誤り: 後読みの中の、後ろに書いたグループの呼び出し は使えません"},
  };
  for (const auto& row : rows) {
    std::wstring result, message;
    int count = 0;
    EXPECT_EQ(SubstStatus::Error, Substitute(row.command, L"abc", result, message, count)) << Utf8(row.command);
    EXPECT_EQ(std::wstring(row.message), message) << Utf8(row.command);
  }
}

// Patterns whose nested repeats could try a name in astronomically many ways, long ones included:
// the cost of a call must not grow with the pattern.
TEST(RegexBudget, EveryHostilePatternEndsWithinItsBudget) {
  std::wstring words;
  for (int i = 1; i <= 250; ++i) words += L"|word" + std::to_wstring(i);
  const std::wstring comment = L"(?#" + std::wstring(2000, L'c') + L")";
  const std::wstring sentence = L"alpha beta gamma delta epsilon zeta eta theta iota kappa alpha!";
  const struct {
    std::wstring command;
    std::wstring text;
  } rows[] = {
      {L"s/(a+)+b" + comment + L"/x/", std::wstring(259, L'a')},
      {L"s/^(\\w+\\s?)+$" + words + L"/x/", sentence},
      {L"s/^(\\w+\\s?)+$/x/", sentence},
      {L"s/(a*)*$/x/", std::wstring(40, L'a') + L"!"},
      {L"s/(x+x+)+y/z/", std::wstring(259, L'x')},
      {L"s/((a+)*)*b/x/g", std::wstring(259, L'a')},
      {L"s/(.*a){20}/x/", std::wstring(10, L'a') + std::wstring(249, L'b')},
      {L"s/(\\w+)*\\d" + comment + L"/x/g", std::wstring(259, L'漢')},
      {L"s/(?:(?:a|a)+)+(?:b|c|d|e)" + words + L"/x/gi", std::wstring(259, L'A')},
  };
  // The first call compiles; the second finds the command compiled, and its clock starts later.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& row : rows) {
      std::wstring result, message;
      int count = 0;
      const auto start = std::chrono::steady_clock::now();
      const SubstStatus status = Substitute(row.command, row.text, result, message, count);
      const auto spent = std::chrono::steady_clock::now() - start;
      EXPECT_LT(spent, std::chrono::milliseconds(100)) << Utf8(row.command.substr(0, 40)) << " pass " << pass;
      EXPECT_EQ(SubstStatus::Error, status) << Utf8(row.command.substr(0, 40));
      EXPECT_EQ(kExhaustedText, message);
      EXPECT_TRUE(result.empty());
    }
  }
}

}  // namespace
}  // namespace korval::regex
