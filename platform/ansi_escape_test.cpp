#include "platform/ansi_escape.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "testing/temp_folder.h"

namespace korval {
namespace {

std::string Hex(const std::string& bytes) {
  std::string out;
  char part[4];
  for (unsigned char c : bytes) {
    _snprintf(part, sizeof(part), "%02X ", c);
    out += part;
  }
  return out;
}

TEST(AnsiEscape, TheTestsRunUnderTheJapaneseCodePage) { ASSERT_EQ(932u, GetACP()); }

struct WriteCase {
  const wchar_t* wide;
  const char* ansi;
  int result;
};

TEST(AnsiEscape, WritesCharactersOutsideTheCodePageAsLowerCaseEscapes) {
  const WriteCase cases[] = {
      {L"", "", 0},
      {L"abc.txt", "abc.txt", 0},
      {L"あ", "\x82\xA0", 0},                           // Shift-JIS, not escaped
      {L"caf\u00e9.jpg", "caf\\u00e9.jpg", 0},           // no best-fit "e"
      {L"\uD55C\uAE00", "\\ud55c\\uae00", 0},            // Hangul
      {L"a?b", "a?b", 0},                                // a real "?" stays as it is
      {L"?\u00e9?", "?\\u00e9?", 0},
      {L"\u00c9", "\\u00c9", 0},                         // hex digits always lower case
  };
  for (const WriteCase& c : cases) {
    char out[64];
    std::wstring input = c.wide;
    EXPECT_EQ(c.result, WideToAnsiEscaped(input.data(), out, sizeof(out))) << Utf8(c.wide);
    EXPECT_EQ(Hex(c.ansi), Hex(out)) << Utf8(c.wide);
  }
}

TEST(AnsiEscape, RoundTripKeepsEveryCharacter) {
  const std::wstring texts[] = {L"写真 2024-01-01 (1).JPG", L"\u00e9t\u00e9 \u00fc\u00df", L"\uD55C\uAD6D\uC5B4",
                                L"\u2460\u2461 \uFF21\uFF22", L"path\\to\\file?.txt"};
  for (const std::wstring& text : texts) {
    const std::string ansi = ToAnsiEscaped(text, 1024);
    EXPECT_EQ(text, FromAnsiUnescaped(ansi, 1024)) << Utf8(text);
  }
}

TEST(AnsiEscape, ASurrogatePairIsEscapedHalfByHalfAndSurvives) {
  // Windows converts the pair to a single "?"; the count must not decide the fate of the text.
  std::wstring input = L"\u00e9\U0001F600x";
  char out[64];
  EXPECT_EQ(0, WideToAnsiEscaped(input.data(), out, sizeof(out)));
  EXPECT_STREQ("\\u00e9\\ud83d\\ude00x", out);
  wchar_t back[64];
  EXPECT_EQ(0, AnsiToWideUnescaped(back, out, 64));
  EXPECT_EQ(input, back);

  wchar_t inPlace[64] = L"\U0001F600";
  EXPECT_EQ(0, WideToAnsiEscaped(inPlace, nullptr, 64));
  EXPECT_STREQ(L"\\ud83d\\ude00", inPlace);
}

TEST(AnsiEscape, AnEscapeNeedsSixPlacesLeft) {
  // In place, capacity 6: after "a" only five places remain, so the character stays "?".
  wchar_t five[6] = L"a\uD55C";
  EXPECT_EQ(0, WideToAnsiEscaped(five, nullptr, 6));
  EXPECT_STREQ(L"a?", five);
  // Capacity 8: six places remain after "a"; the escape and the terminator fit.
  wchar_t eight[8] = L"a\uD55C";
  EXPECT_EQ(0, WideToAnsiEscaped(eight, nullptr, 8));
  EXPECT_STREQ(L"a\\ud55c", eight);
  // Capacity 7: the escape and the terminator do not both fit; an escape is never cut in half.
  wchar_t seven[7] = L"a\uD55C";
  EXPECT_EQ(0, WideToAnsiEscaped(seven, nullptr, 7));
  EXPECT_STREQ(L"a?", seven);
  // Into ANSI the double-byte "あ" takes two of the capacity - 2 bytes kept.
  struct Case { int capacity; const char* expected; };
  for (const Case& c : {Case{10, "\x82\xa0\\ud55c"}, Case{9, "\x82\xa0?"}}) {
    std::wstring text = L"\u3042\uD55C";
    char out[10];
    WideToAnsiEscaped(text.data(), out, c.capacity);
    EXPECT_STREQ(c.expected, out) << c.capacity;
  }
}

TEST(AnsiEscape, ALongTextIsCutAndFlagged) {
  wchar_t text[8] = L"abcdefg";
  EXPECT_EQ(1, WideToAnsiEscaped(text, nullptr, 7));
  EXPECT_STREQ(L"abcdef", text);
  char out[6];
  std::wstring input = L"abcdefg";
  EXPECT_EQ(1, WideToAnsiEscaped(input.data(), out, sizeof(out)));
  EXPECT_STREQ("abcd", out);  // at most capacity - 2 bytes
  // A double-byte character is never split by the cut.
  std::wstring kana = L"ab\u3042\u3044";
  char four[5];
  EXPECT_EQ(1, WideToAnsiEscaped(kana.data(), four, sizeof(four)));
  EXPECT_STREQ("ab", four);
}

struct ReadCase {
  const char* ansi;
  const wchar_t* wide;
};

TEST(AnsiEscape, ReadsOnlyCompleteLowerCaseEscapes) {
  const ReadCase cases[] = {
      {"", L""},
      {"\\u00e9", L"\u00e9"},
      {"x\\u304ay", L"x\u304Ay"},
      {"\\u00E9", L"\\u00E9"},  // upper-case hex is not an escape
      {"\\U00e9", L"\\U00e9"},
      {"\\u00g9", L"\\u00g9"},
      {"end\\u12", L"end\\u12"},  // fewer than four digits left
      {"\\\\u0041", L"\\A"},
      {"\x82\xA0\\u00e9", L"\u3042\u00e9"},
  };
  for (const ReadCase& c : cases) {
    wchar_t out[64];
    EXPECT_EQ(0, AnsiToWideUnescaped(out, c.ansi, 64)) << c.ansi;
    EXPECT_EQ(std::wstring(c.wide), out) << c.ansi;
  }
}

TEST(AnsiEscape, ReadingStopsWhenTheOutputIsFull) {
  wchar_t out[4];
  EXPECT_EQ(1, AnsiToWideUnescaped(out, "abcdef", 4));
  EXPECT_STREQ(L"abc", out);
  EXPECT_EQ(0, AnsiToWideUnescaped(out, "abc", 4));
  EXPECT_STREQ(L"abc", out);
  EXPECT_EQ(0, AnsiToWideUnescaped(out, "\\u00e9\\u00e9\\u00e9", 4));
  EXPECT_STREQ(L"\u00e9\u00e9\u00e9", out);
}

TEST(AnsiEscape, DecodesInPlace) {
  wchar_t text[32] = L"caf\\u00e9 \\u00E9";
  EXPECT_EQ(0, AnsiToWideUnescaped(text, nullptr, 32));
  EXPECT_STREQ(L"caf\u00e9 \\u00E9", text);
}

TEST(AnsiEscape, RoundTripMarksWhatTheCodePageLacks) {
  EXPECT_EQ(L"日本語ｶﾅ①abc", AnsiRoundTrip(L"日本語ｶﾅ①abc"));
  EXPECT_EQ(L"caf?", AnsiRoundTrip(L"caf\u00e9"));  // no best-fit "e"
  const std::wstring emoji = AnsiRoundTrip(L"a\U0001F600b");
  EXPECT_EQ(L'a', emoji.front());
  EXPECT_EQ(L'b', emoji.back());
  EXPECT_EQ(std::wstring::npos, emoji.find_first_not_of(L"ab?"));
  EXPECT_EQ(L"", AnsiRoundTrip(L""));
}

}  // namespace
}  // namespace korval
