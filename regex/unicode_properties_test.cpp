// Every property value the Unicode data files list, and every case of Unicode's own grapheme break
// test file, read from the data package at test time and matched through the pattern library; and
// the names of properties as Perl reads them, each row Perl's answer.
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "regex/substitute.h"
#include "regex/substitution_rows.h"

namespace korval::regex {
namespace {

std::wstring Utf16(char32_t c) {
  if (c < 0x10000) return std::wstring(1, static_cast<wchar_t>(c));
  c -= 0x10000;
  return {static_cast<wchar_t>(0xD800 + (c >> 10)), static_cast<wchar_t>(0xDC00 + (c & 0x3FF))};
}

std::wstring Replaced(const std::wstring& command, const std::wstring& text) {
  std::wstring result, message;
  int replaced = 0;
  const SubstStatus status = Substitute(command, text, result, message, replaced);
  if (status == SubstStatus::NoMatch) return L"(no match)";
  return status == SubstStatus::Replaced ? result : L"(error) " + message;
}

// The lines "XXXX..YYYY ; field ; ..." of a data file, @missing lines left out.
struct DataLine {
  char32_t first, last;
  std::vector<std::string> fields;
};
std::vector<DataLine> ReadData(const std::string& name) {
  std::ifstream in(std::string(KORVAL_UNICODE_DATA) + "/" + name);
  EXPECT_TRUE(in.good()) << name;
  std::vector<DataLine> lines;
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream parts(line);
    std::string range, field;
    if (!std::getline(parts, range, ';') || range.find_first_not_of(" \t") == std::string::npos) continue;
    DataLine data;
    const size_t dots = range.find("..");
    data.first = static_cast<char32_t>(std::stoul(range, nullptr, 16));
    data.last = dots == std::string::npos ? data.first : static_cast<char32_t>(std::stoul(range.substr(dots + 2), nullptr, 16));
    while (std::getline(parts, field, ';')) {
      field.erase(0, field.find_first_not_of(" \t"));
      field.erase(field.find_last_not_of(" \t\r") + 1);
      data.fields.push_back(field);
    }
    if (!data.fields.empty()) lines.push_back(data);
  }
  return lines;
}

bool Surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Whether \p{name} and \P{name} hold the code point as they should.
void ExpectClass(const std::string& name, char32_t c, bool in, int& failures) {
  if (Surrogate(c) || failures > 20) return;
  const std::wstring wide(name.begin(), name.end());
  const bool matched = Replaced(L"s/^\\p{" + wide + L"}$/y/", Utf16(c)) == L"y";
  const bool outside = Replaced(L"s/^\\P{" + wide + L"}$/y/", Utf16(c)) == L"y";
  if (matched != in || outside == in) {
    ++failures;
    ADD_FAILURE() << "\\p{" << name << "} on U+" << std::hex << static_cast<uint32_t>(c) << (in ? " should" : " should not")
                  << " match";
  }
}

TEST(UnicodeProperties, EveryValueOfTheDataFilesHoldsItsFirstAndLastCodePointAndNoOther) {
  const std::pair<const char*, const char*> enumerated[] = {
      {"Scripts.txt", "sc"}, {"Blocks.txt", "blk"}, {"auxiliary/GraphemeBreakProperty.txt", "GCB"},
      {"auxiliary/WordBreakProperty.txt", "WB"}, {"auxiliary/SentenceBreakProperty.txt", "SB"},
      {"LineBreak.txt", "lb"}, {"EastAsianWidth.txt", "ea"}, {"extracted/DerivedBidiClass.txt", "bc"},
      {"HangulSyllableType.txt", "hst"}, {"DerivedAge.txt", "age"}, {"extracted/DerivedJoiningType.txt", "jt"},
      {"extracted/DerivedNumericType.txt", "nt"}, {"extracted/DerivedCombiningClass.txt", "ccc"},
      {"IndicSyllabicCategory.txt", "InSC"}, {"VerticalOrientation.txt", "vo"},
  };
  int failures = 0;
  for (const auto& [file, property] : enumerated) {
    std::map<std::string, std::pair<char32_t, char32_t>> values;  // first and last code point of each value
    for (const DataLine& line : ReadData(file)) {
      auto [at, made] = values.try_emplace(line.fields[0], line.first, line.last);
      if (!made) at->second.second = line.last;
    }
    EXPECT_GT(values.size(), 1u) << file;
    const std::pair<char32_t, char32_t>* previous = &values.rbegin()->second;
    for (const auto& [value, ends] : values) {
      const std::string name = std::string(property) + "=" + value;
      ExpectClass(name, ends.first, true, failures);
      ExpectClass(name, ends.second, true, failures);
      ExpectClass(name, previous->first, previous == &ends, failures);  // another value's code point
      previous = &ends;
    }
  }
  for (const char* file : {"PropList.txt", "DerivedCoreProperties.txt", "emoji/emoji-data.txt"}) {
    std::map<std::string, std::pair<char32_t, char32_t>> properties;
    for (const DataLine& line : ReadData(file)) {
      if (line.fields.size() != 1) continue;
      auto [at, made] = properties.try_emplace(line.fields[0], line.first, line.last);
      if (!made) at->second.second = line.last;
    }
    for (const auto& [property, ends] : properties) {
      ExpectClass(property, ends.first, true, failures);
      ExpectClass(property + "=Yes", ends.second, true, failures);
      ExpectClass(property + "=No", ends.second, false, failures);
    }
  }
}

// Each line of the file: the code points with "÷" (a break) or "×" (none) between them.
TEST(UnicodeProperties, BackslashXTakesTheClustersOfUnicodesGraphemeBreakTest) {
  std::ifstream in(std::string(KORVAL_UNICODE_DATA) + "/auxiliary/GraphemeBreakTest.txt");
  ASSERT_TRUE(in.good());
  const std::wstring mark = L"\uE000";  // a private character, in no case of the file
  std::string line;
  int cases = 0, failures = 0;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    if (line.find("\xC3\xB7") == std::string::npos) continue;  // "÷"
    std::istringstream tokens(line);
    std::wstring text, clusters;
    std::string token;
    while (tokens >> token) {
      if (token == "\xC3\xB7") {  // a break after what came before
        if (!text.empty()) clusters += mark;
      } else if (token != "\xC3\x97") {  // "×": none
        const std::wstring c = Utf16(static_cast<char32_t>(std::stoul(token, nullptr, 16)));
        text += c;
        clusters += c;
      }
    }
    ++cases;
    const std::wstring got = Replaced(L"s/\\X/$&" + mark + L"/g", text);
    if (got != clusters && ++failures <= 10) ADD_FAILURE() << "case " << cases << ": " << line;
  }
  EXPECT_GT(cases, 500);
  EXPECT_EQ(0, failures) << "of " << cases;
}

// Perl 5.36's answer in each row.
TEST(UnicodeProperties, NamesAreReadAsPerlReadsThem) {
  const Row rows[] = {
      // A script named alone is its script extensions; sc= is the script itself.
      {L"s/\\p{Katakana}/K/g", L"ーア・", L"KKK"},
      {L"s/\\p{Katakana}/K/g", L"ーア", L"KK"},
      {L"s/\\p{sc=Katakana}/K/g", L"ーア", L"ーK"},
      {L"s/\\p{Script=Kana}/K/g", L"ーア", L"ーK"},
      {L"s/\\p{scx=Hira}/H/g", L"ーか", L"HH"},
      {L"s/\\p{Han}/H/g", L"・漢", L"HH"},
      {L"s/\\p{Arabic}+/A/", L"aعربي", L"aA"},
      {L"s/\\p{sc=Deva}+/D/", L"aहिन्दी", L"aD"},
      // Blocks with In, binary properties alone or with a value, other enumerated properties.
      {L"s/\\p{InKatakana}+/K/", L"aーア", L"aK"},
      {L"s/\\p{Block=Hiragana}/H/", L"aか", L"aH"},
      {L"s/\\p{blk: CJK Unified Ideographs}/H/", L"a漢", L"aH"},
      {L"s/\\p{Dash}/-/g", L"a‐b–c", L"a-b-c"},
      {L"s/\\p{Alpha=No}/_/g", L"a1b", L"a_b"},
      {L"s/\\p{Emoji_Presentation}/E/", L"a😀", L"aE"},
      {L"s/\\p{Extended_Pictographic}/E/", L"a©", L"aE"},
      {L"s/\\p{ea=W}+/W/", L"ab漢字", L"abW"},
      {L"s/\\p{East_Asian_Width=Fullwidth}/F/", L"aＡ", L"aF"},
      {L"s/\\p{bc=R}/R/", L"aא", L"aR"},
      {L"s/\\p{Hangul_Syllable_Type=LV}/V/", L"가각", L"V각"},
      {L"s/\\p{Age=V1_1}/o/g", L"a€", L"o€"},
      {L"s/\\p{Ideographic}+/I/", L"a漢字", L"aI"},
      {L"s/[\\p{Greek}\\p{Arabic}]+/X/", L"aαع", L"aX"},
      {L"s/[^\\p{Cyrillic}]+/_/", L"abжд", L"_жд"},
      {L"s/\\p{Is_Emoji}/E/", L"a😀", L"aE"},
      {L"s/\\p{Age=6.0}/6/", L"a😀😁", L"a😀6"},  // 😀 came in 6.1
      {L"s/\\p{blk=Kana_Ext_A}/K/", L"a\U0001B100", L"aK"},
      {L"s/\\p{WB=Katakana}+/K/", L"aーア", L"aK"},
      {L"s/\\p{Dash=Y}/-/", L"a‐", L"a-"},
      {L"s/\\p{Script_Extensions=Hiragana}+/H/", L"aーか", L"aH"},
      // Under i, [[:lower:]] and [[:upper:]] are the cased characters: no ideograph, no other letter.
      {L"s/[[:lower:]]/x/gi", L"A㐀ƻª", L"x㐀ƻx"},
      {L"s/[[:upper:]]+/x/i", L"ƻab", L"ƻx"},
      {L"s/\\p{No_Such_Property}/x/", L"a", L"(error) 正規表現の誤り: 文字クラスの名前が正しくありません"},
      // \X: a flag, a skin tone, a family joined by ZWJ, a Hangul syllable of jamo, CR LF.
      {L"s/\\X/[$&]/g", L"🇯🇵👍🏽a", L"[🇯🇵][👍🏽][a]"},
      {L"s/^\\X//", L"👨‍👩‍👧x", L"x"},
      {L"s/\\X/./g", L"\u1100\u1161\u11A8가", L".."},
      {L"s/\\X/./g", L"e\u0301\r\n", L".."},
      {L"s/\\X/./gi", L"α\u0345", L"."},
  };
  ExpectRows(rows);
}

// Perl's extended bracketed classes, each row Perl 5.36's answer.
TEST(UnicodeProperties, ExtendedBracketedClassesCombineClassesAsPerlDoes) {
  const Row rows[] = {
      {L"s/(?[ \\p{Han} & \\p{Block=CJK Unified Ideographs} ])+/H/g", L"漢字𠮟a", L"H𠮟a"},
      {L"s/(?[ [a-z] - [aeiou] ])/_/g", L"banana", L"_a_a_a"},
      {L"s/(?[ [a-f] ^ [d-k] ])/_/g", L"abcdefghijk", L"___def_____"},
      {L"s/(?[ !\\d & [\\x00-\\x7F] ])/_/g", L"a1b2あ", L"_1_2あ"},
      {L"s/(?[ ( \\p{Hiragana} | \\p{Katakana} ) - [ー] ])+/K/", L"漢かなカナー", L"漢Kー"},
      {L"s/(?[ \\w - [_] ])+/W/", L"a_b", L"W_b"},
      {L"s/(?[ [:digit:] + [x] ])+/D/", L"a1x2", L"aD"},
      {L"s/(?[ \\p{L} & \\p{Greek} ])/G/gi", L"aΩβ", L"aGG"},
      {L"s/(?[ [\\x{3041}-\\x{3096}] ])+/H/", L"aかな", L"aH"},
      {L"s/(?[ a ])/x/", L"a", L"(error) 正規表現の誤り: (?[ ]) の中の書き方が正しくありません"},
      {L"s/(?[ [a] & \\X ])/x/", L"a", L"(error) 正規表現の誤り: (?[ ]) の中の書き方が正しくありません"},
      {L"s/(?[ [a] + [b] )/x/", L"a", L"(error) 正規表現の誤り: (?[ ]) の中の書き方が正しくありません"},
  };
  ExpectRows(rows);
}

}  // namespace
}  // namespace korval::regex
