#include "modes/string_helpers.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(StringHelpers, ClampAndItsTestForm) {
  EXPECT_EQ(0, Clamp(0, -5, 255));
  EXPECT_EQ(255, Clamp(0, 999, 255));
  EXPECT_EQ(17, Clamp(0, 17, 255));
  EXPECT_TRUE(InRange(1, 1, 3));
  EXPECT_TRUE(InRange(1, 3, 3));
  EXPECT_FALSE(InRange(1, 0, 3));
  EXPECT_FALSE(InRange(1, 4, 3));
}

TEST(StringHelpers, TruncateReportsTheCut) {
  std::wstring text = L"abcdef";
  EXPECT_FALSE(Truncate(text, 6));
  EXPECT_TRUE(Truncate(text, 3));
  EXPECT_EQ(L"abc", text);
  std::wstring empty;
  EXPECT_FALSE(Truncate(empty, 0));
}

TEST(StringHelpers, DecodesOnlyLowerCaseFourDigitEscapes) {
  struct Case { const wchar_t* in; const wchar_t* out; };
  const Case cases[] = {
      {L"\\u3042", L"\u3042"},          {L"x\\u3042y", L"x\u3042y"}, {L"\\u30A2", L"\\u30A2"},
      {L"\\u30a2\\u30a4", L"\u30a2\u30a4"}, {L"\\u304", L"\\u304"},    {L"\\u30g2", L"\\u30g2"},
      {L"\\U3042", L"\\U3042"},         {L"", L""},                 {L"\\\\u0041", L"\\A"},
  };
  for (const Case& c : cases) {
    std::wstring text = c.in;
    EXPECT_FALSE(DecodeUnicodeEscapes(text, 260));
    EXPECT_EQ(std::wstring(c.out), text);
  }
  std::wstring longText(300, L'a');
  EXPECT_TRUE(DecodeUnicodeEscapes(longText, 260));
  EXPECT_EQ(259u, longText.size());
}

TEST(StringHelpers, ReplaceTextNeverSearchesInsertedText) {
  struct Case { const wchar_t* text; const wchar_t* search; const wchar_t* replacement; int mode; const wchar_t* out; };
  const Case cases[] = {
      {L"aaa", L"a", L"aa", 1, L"aaaaaa"},
      {L"aaa", L"a", L"aa", 0, L"aaaa"},
      {L"abcabc", L"bc", L"", 1, L"aa"},
      {L"abc", L"x", L"y", 1, L"abc"},
      {L"abab", L"ab", L"ba", 1, L"baba"},
  };
  for (const Case& c : cases) {
    std::wstring text = c.text;
    ReplaceText(text, 260, c.search, c.replacement, c.mode);
    EXPECT_EQ(std::wstring(c.out), text) << c.mode;
  }
  std::wstring cut = L"ab";
  ReplaceText(cut, 5, L"b", L"bbbbbb", 1);
  EXPECT_EQ(L"abbb", cut);
  std::wstring untouched = L"ab";
  ReplaceText(untouched, 204801, L"a", L"x", 1);
  EXPECT_EQ(L"ab", untouched);
}

TEST(StringHelpers, WildcardMatchIsCaseSensitiveAndWhole) {
  struct Case { const wchar_t* pattern; const wchar_t* name; bool match; };
  const Case cases[] = {
      {L"*.txt", L"a.txt", true},   {L"*.txt", L"a.TXT", false}, {L"*.txt", L".txt", true},
      {L"*.txt", L"a.txt.bak", false}, {L"a?c", L"abc", true},   {L"a?c", L"ac", false},
      {L"*", L"", true},            {L"", L"", true},            {L"", L"a", false},
      {L"a*b*c", L"axxbyyc", true}, {L"a*b*c", L"axxbyy", false}, {L"*a*a*a*", L"aaa", true},
      {L"写真*", L"写真001.JPG", true}, {L"?", L"\uFF21", true},
  };
  for (const Case& c : cases) EXPECT_EQ(c.match, WildcardMatch(c.pattern, c.name));
}

TEST(StringHelpers, PathSplitPlainAndFolderAware) {
  struct Case { const wchar_t* path; const wchar_t* drive; const wchar_t* folder; const wchar_t* stem; const wchar_t* ext; };
  const Case cases[] = {
      {L"C:\\photos\\img.jpg", L"C:", L"\\photos\\", L"img", L".jpg"},
      {L"C:\\a.b\\c.tar.gz", L"C:", L"\\a.b\\", L"c.tar", L".gz"},
      {L"C:\\a.b\\noext", L"C:", L"\\a.b\\", L"noext", L""},
      {L"C:\\dir\\.hidden", L"C:", L"\\dir\\", L"", L".hidden"},
      {L"C:\\dir\\", L"C:", L"\\dir\\", L"", L""},
      {L"name.txt", L"", L"", L"name", L".txt"},
      {L"\\\\server\\share\\x\\y.z", L"\\\\server\\share", L"\\x\\", L"y", L".z"},
  };
  for (const Case& c : cases) {
    const PathParts p = SplitPath(c.path);
    EXPECT_EQ(std::wstring(c.drive), p.drive);
    EXPECT_EQ(std::wstring(c.folder), p.folder);
    EXPECT_EQ(std::wstring(c.stem), p.stem);
    EXPECT_EQ(std::wstring(c.ext), p.extension);
    EXPECT_EQ(std::wstring(c.path), p.Joined());
  }
  const PathParts folder = SplitPathForMode(L"C:\\x\\My.Folder", 1);
  EXPECT_EQ(L"My.Folder", folder.stem);
  EXPECT_EQ(L"", folder.extension);
  EXPECT_EQ(L".Folder", SplitPathForMode(L"C:\\x\\My.Folder", 0).extension);
}

}  // namespace
}  // namespace korval
