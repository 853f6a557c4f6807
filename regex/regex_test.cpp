// Tests of the regular expression libraries: the shared core through its functions, then the built
// bregonig.dll and bregexp.dll loaded and called the way the renamer calls them.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/data_files.h"
#include "testing/temp_folder.h"
#include "regex/ansi_code_page.h"
#include "regex/case_fold.h"
#include "regex/pattern_cache.h"
#include "regex/regex_api.h"
#include "regex/substitute.h"

namespace korval::regex {
namespace {

struct Outcome {
  SubstStatus status;
  std::wstring result;
  std::wstring message;
  int count;
};

Outcome Apply(const std::wstring& command, const std::wstring& text) {
  Outcome outcome{};
  outcome.status = Substitute(command, text, outcome.result, outcome.message, outcome.count);
  return outcome;
}

struct ReplaceCase {
  const wchar_t* command;
  const wchar_t* text;
  const wchar_t* expected;
};

TEST(RegexLibrarySubstitute, ReplacesAsTheCommandSays) {
  const ReplaceCase cases[] = {
      // First match, or every match with "g"; "k" changes nothing.
      {L"s/a/x/", L"banana", L"bxnana"},
      {L"s/a/x/g", L"banana", L"bxnxnx"},
      {L"s/a/x/kg", L"banana", L"bxnxnx"},
      {L"s/an/ANA/g", L"banana", L"bANAANAa"},
      // The replacement notation.
      {L"s/b(an)/[$0|$&|$1|${1}]/", L"banana", L"[ban|ban|an|an]ana"},
      {L"s/(\\w+)-(\\w+)/$2-$1/", L"abc-def", L"def-abc"},
      {L"s/(a)/$10/", L"banana", L"ba0nana"},
      {L"s/(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)/${10}${1}/", L"abcdefghij", L"ja"},
      {L"s/(a)/$2/", L"banana", L"bnana"},
      {L"s/(x)?a/[$1]/", L"banana", L"b[]nana"},
      {L"s/a/$/", L"banana", L"b$nana"},
      {L"s/a/$x${y}${1/", L"ba", L"b$x${y}${1"},
      {L"s/a/\\$1/", L"ba", L"b$1"},
      {L"s/a/\\\\/g", L"banana", L"b\\n\\n\\"},
      {L"s/a/\\\\\\\\f/", L"ba", L"b\\\\f"},
      {L"s/a/\\n\\t/", L"ba", L"b\n\t"},
      {L"s/a/\\q\\-/", L"ba", L"bq-"},
      // "/" escaped inside the pattern and the replacement.
      {L"s/\\//-/g", L"a/b/c", L"a-b-c"},
      {L"s/-/\\//g", L"a-b", L"a/b"},
      {L"s/\\\\/Y/", L"a\\b", L"aYb"},
      // Perl syntax: look-behind, named groups (also in the replacement), word boundaries, lazy
      // repeats, atomic groups, inline options.
      {L"s/(?<=a)b/x/g", L"abcb", L"axcb"},
      {L"s/(?<!a)b/x/g", L"abcb", L"abcx"},
      {L"s/(?<y>\\d{4})-(?<m>\\d\\d)/$+{m}.$+{y}/", L"2024-07", L"07.2024"},
      {L"s/(?<c>.)\\k<c>/[$+{c}]/g", L"aabbc", L"[a][b]c"},
      {L"s/(?<c>a)/$+{nothing}|$+{c}|$+{/", L"a", L"|a|$+{"},
      {L"s/\\bcat\\b/dog/g", L"cat concat cat", L"dog concat dog"},
      {L"s/<.+?>/[]/", L"<a><b>", L"[]<b>"},
      {L"s/(?>a+)b/x/", L"aaab", L"x"},
      {L"s/(?i)abc/x/", L"ABC", L"x"},
      // Leftmost alternative, lazy repeats, look-ahead, back-references, anchors.
      {L"s/a|ab/x/", L"ab", L"xb"},
      {L"s/a+?/x/", L"aaa", L"xaa"},
      {L"s/(?=b)/^/g", L"abab", L"a^ba^b"},
      {L"s/(.)\\1/[$1]/g", L"aabbc", L"[a][b]c"},
      {L"s/^/>/g", L"abc", L">abc"},
      {L"s/$/</g", L"abc", L"abc<"},
      {L"s/(?:)/-/g", L"ab", L"-a-b-"},
      {L"s/b*/-/g", L"abc", L"-a--c-"},
      {L"s/\\d+/#/g", L"a12b3", L"a#b#"},
      {L"s/\\s/_/g", L"a b\tc", L"a_b_c"},
      {L"s/[^a]/./g", L"abca", L"a..a"},
      {L"s/a{1,2}?/x/", L"aa", L"xa"},
      {L"s/a(?!b)/x/g", L"abac", L"abxc"},
      {L"s/\\B/-/g", L"abc", L"a-b-c"},
      {L"s/[[:digit:]]+/#/", L"a12", L"a#"},
      // Letters and digits of every width and script belong to \w and \d, as the help page says.
      {L"s/\\w+/#/", L"漢字かなＡ1 x", L"# x"},
      {L"s/\\d/#/g", L"１2", L"##"},
      {L"s/\\s/#/g", L"a　b", L"a#b"},
      // An empty result is still a result.
      {L"s/.*//", L"abc", L""},
      {L"s/^$/x/", L"", L"x"},
      // Japanese text is ordinary text.
      {L"s/テスト/試験/", L"これはテストです", L"これは試験です"},
      {L"s/[ァ-ヶ]+/[$&]/g", L"写真テスト01", L"写真[テスト]01"},
      {L"s/(.+)_(\\d+)/$2_$1/", L"旅行_2024", L"2024_旅行"},
      {L"s/(\\d+)-(\\d+)/$2-$1/", L"写真 12-34", L"写真 34-12"},
  };
  for (const ReplaceCase& c : cases) {
    const Outcome outcome = Apply(c.command, c.text);
    EXPECT_EQ(SubstStatus::Replaced, outcome.status) << Utf8(c.command) << " " << Utf8(outcome.message);
    EXPECT_EQ(c.expected, outcome.result) << Utf8(c.command) << " on " << Utf8(c.text);
  }
}

TEST(RegexLibrarySubstitute, IgnoresCaseWithIAsTheJapaneseLocaleFolds) {
  const ReplaceCase cases[] = {
      {L"s/abc/x/i", L"xAbCx", L"xxx"},
      {L"s/ＡＢ/x/i", L"ａｂ", L"x"},
      {L"s/ａｂ/x/i", L"ＡＢ", L"x"},
      {L"s/[ａ-ｃ]+/x/gi", L"ＡＢＣｄ", L"xｄ"},
      {L"s/[A-C]+/x/i", L"abcd", L"xd"},
      {L"s/(a)\\1/x/i", L"aA", L"x"},
      {L"s/ä/x/i", L"Ä", L"x"},
      {L"s/α/x/i", L"Α", L"x"},
      {L"s/ｖｅｒ(\\d)/版$1/i", L"資料ＶＥＲ2", L"資料版2"},
  };
  for (const ReplaceCase& c : cases) {
    const Outcome outcome = Apply(c.command, c.text);
    EXPECT_EQ(SubstStatus::Replaced, outcome.status) << Utf8(c.command) << " " << Utf8(outcome.message);
    EXPECT_EQ(c.expected, outcome.result) << Utf8(c.command) << " on " << Utf8(c.text);
    // Without "i" the same command must not match: case matters by default.
    std::wstring plain = c.command;
    plain.pop_back();
    EXPECT_EQ(SubstStatus::NoMatch, Apply(plain, c.text).status) << Utf8(plain);
  }
}

TEST(RegexLibrarySubstitute, NoMatchLeavesNothing) {
  const ReplaceCase cases[] = {
      {L"s/z/x/g", L"banana", nullptr},
      {L"s/a/x/", L"", nullptr},
      {L"s/^a/x/g", L"banana", nullptr},
      {L"s/ａ/x/", L"a", nullptr},  // full-width and half-width stay different letters
      {L"s/a++a/x/", L"aaa", nullptr},  // a possessive repeat gives nothing back
      {L"s/(?>a+)a/x/", L"aaa", nullptr},
  };
  for (const ReplaceCase& c : cases) {
    const Outcome outcome = Apply(c.command, c.text);
    EXPECT_EQ(SubstStatus::NoMatch, outcome.status) << Utf8(c.command);
    EXPECT_TRUE(outcome.result.empty());
    EXPECT_EQ(0, outcome.count);
  }
}

TEST(RegexLibrarySubstitute, CountsReplacements) {
  EXPECT_EQ(3, Apply(L"s/a/x/g", L"banana").count);
  EXPECT_EQ(1, Apply(L"s/a/x/", L"banana").count);
  EXPECT_EQ(4, Apply(L"s/b*/-/g", L"abc").count);
}

TEST(RegexLibrarySubstitute, TextsAtTheNameLimit) {
  const std::wstring name259(259, L'a');
  const std::wstring name260(260, L'a');
  EXPECT_EQ(name259 + L"b", Apply(L"s/a$/b/", name260).result);
  EXPECT_EQ(std::wstring(260, L'x'), Apply(L"s/./x/g", name260).result);
  EXPECT_EQ(L"x" + name259, Apply(L"s/^/x/", name259).result);
  const Outcome swapped = Apply(L"s/^(a+)(a)$/$2$1/", name260);
  EXPECT_EQ(name260, swapped.result);
  EXPECT_EQ(1, swapped.count);
}

struct ErrorCase {
  const wchar_t* command;
  const wchar_t* messageStart;
};

TEST(RegexLibraryErrors, WrongCommandsGiveAMessageAndNoResult) {
  const ErrorCase cases[] = {
      {L"s/(a/x/", L"正規表現の誤り: ( )"},
      {L"s/a)/x/", L"正規表現の誤り: ( )"},
      {L"s/[a/x/", L"正規表現の誤り: [ ]"},
      {L"s/(?<n>a)(?<n>b/x/", L"正規表現の誤り: ( )"},
      {L"s/(?<1a>b)/x/", L"正規表現の誤り: グループの名前"},
      {L"s/x(?#/x/", L"正規表現の誤り: (?# の後ろに ) がありません"},
      {L"s/\\N{U+4AG3}/x/", L"正規表現の誤り: \\N{U+...} の16進数"},
      {L"s/[[:nothing:]]/x/", L"正規表現の誤り: 文字クラス"},
      {L"s/(?z)/x/", L"正規表現の誤り: (? の後ろ"},
      {L"s/[b-a]/x/", L"正規表現の誤り: "},
      {L"s/(?<=a+)b/x/", L"正規表現の誤り: "},  // a look-behind has a fixed length
      {L"s/\\2(a)/x/", L"正規表現の誤り: 後方参照"},
      {L"s/\\p{Nope}/x/", L"正規表現の誤り: 文字クラス"},
      {L"s/\\N{LATIN SMALL LETTER A}/x/", L"正規表現の誤り: \\N{文字の名前} は使えません"},
      {L"s/a(?{ 1 })/x/", L"正規表現の誤り: (?{...}) は使えません"},
      {L"s/(*MARK:x)a(*SKIP:x)b/x/", L"正規表現の誤り: 印へ戻る (*SKIP:名前) は使えません"},
      {L"s/\\x{110000}/x/", L"正規表現の誤り: U+10FFFF を超える文字コード は使えません"},
      {L"", L"コマンドが s/"},
      {L"x/a/b/", L"コマンドが s/"},
      {L"s", L"コマンドが s/"},
      {L"s/a/b", L"コマンドの区切り"},
      {L"s/a", L"コマンドの区切り"},
      {L"s/a\\/b/", L"コマンドの区切り"},
      {L"s/a/b/q", L"不明なオプションです: q"},
  };
  for (const ErrorCase& c : cases) {
    // Twice: the second answer comes from the cache and must say the same.
    for (int round = 0; round < 2; ++round) {
      const Outcome outcome = Apply(c.command, L"banana");
      EXPECT_EQ(SubstStatus::Error, outcome.status) << Utf8(c.command);
      EXPECT_TRUE(outcome.result.empty());
      EXPECT_EQ(0u, outcome.message.find(c.messageStart))
          << Utf8(c.command) << " gave " << Utf8(outcome.message);
      EXPECT_LT(outcome.message.size(), static_cast<size_t>(kRegexMessageSize));
    }
  }
}

TEST(RegexLibraryErrors, OversizedInputsAreRefused) {
  const std::wstring longPattern(kMaxPatternChars + 1, L'a');
  EXPECT_EQ(L"正規表現の誤り: パターンが長すぎます", Apply(L"s/" + longPattern + L"/x/", L"a").message);
  EXPECT_EQ(SubstStatus::NoMatch, Apply(L"s/" + longPattern.substr(1) + L"/x/", L"a").status);

  const std::wstring longCommand = L"s/a/" + std::wstring(kMaxCommandChars, L'x') + L"/";
  EXPECT_EQ(L"コマンドが長すぎます", Apply(longCommand, L"a").message);

  const std::wstring longText(kMaxTextChars + 1, L'a');
  EXPECT_EQ(L"対象の文字列が長すぎます", Apply(L"s/a/x/", longText).message);
  EXPECT_EQ(SubstStatus::Replaced, Apply(L"s/a/x/", longText.substr(1)).status);

  // 8,192 matches of a 200-character replacement would pass the result bound.
  const std::wstring wide(200, L'w');
  const Outcome huge = Apply(L"s/a/" + wide + L"/g", longText.substr(1));
  EXPECT_EQ(SubstStatus::Error, huge.status);
  EXPECT_EQ(L"置換結果が長すぎます", huge.message);
  EXPECT_TRUE(huge.result.empty());
}

// Nested repeats that can split a text in exponentially many ways: the matcher stops at its bounds
// and says so, quickly, instead of running for ever or overflowing a stack.
TEST(RegexLibraryErrors, AnExhaustedMatcherGivesAClearError) {
  const std::wstring text = std::wstring(40, L'a') + L"!";
  for (const wchar_t* command : {L"s/(a*)*$/x/", L"s/(a|aa)+$/x/", L"s/(\\w+\\s?)+$/x/"}) {
    const auto start = GetTickCount64();
    const Outcome outcome = Apply(command, text);
    EXPECT_LT(GetTickCount64() - start, 10000u) << Utf8(command);
    if (outcome.status == SubstStatus::Error) {
      EXPECT_EQ(kExhaustedText, outcome.message) << Utf8(command);
    } else {
      EXPECT_EQ(SubstStatus::Replaced, outcome.status) << Utf8(command);  // a matcher that found the way
    }
  }
  const Outcome exhausted = Apply(L"s/(x+x+)+y/z/", std::wstring(60, L'x'));
  EXPECT_EQ(SubstStatus::Error, exhausted.status);
  EXPECT_EQ(kExhaustedText, exhausted.message);
  EXPECT_TRUE(exhausted.result.empty());
}

TEST(RegexLibraryErrors, DeepGroupNestingIsRefused) {
  const auto nested = [](int depth) {
    return L"s/" + std::wstring(static_cast<size_t>(depth), L'(') + L"a" +
           std::wstring(static_cast<size_t>(depth), L')') + L"/x/";
  };
  EXPECT_EQ(SubstStatus::Replaced, Apply(nested(kMaxGroupNesting), L"a").status);
  EXPECT_EQ(L"正規表現の誤り: ( ) の入れ子が深すぎます", Apply(nested(kMaxGroupNesting + 1), L"a").message);
}

TEST(RegexLibraryErrors, GroupNestingIgnoresEscapedAndBracketedParentheses) {
  EXPECT_EQ(0, GroupNesting(L""));
  EXPECT_EQ(2, GroupNesting(L"((a))(b)"));
  EXPECT_EQ(1, GroupNesting(L"(\\(\\()"));
  EXPECT_EQ(1, GroupNesting(L"([(((])"));
  EXPECT_EQ(1, GroupNesting(L"([\\]((])"));
  EXPECT_EQ(0, GroupNesting(L")))"));
}

DWORD WINAPI SubstituteOnSmallStack(void* context) {
  auto* outcome = static_cast<Outcome*>(context);
  const std::wstring text(kMaxTextChars, L'a');
  outcome->status = Substitute(L"s/((((a|b)|c)|d)|e)*/x/", text, outcome->result, outcome->message,
                               outcome->count);
  return 0;
}

// The matcher recurses once per character: on a thread of 256 KB this text would overflow the stack
// (a crash) unless the work runs on the library's own large stack.
TEST(RegexLibraryStack, LongTextsMatchFromASmallStack) {
  Outcome outcome{SubstStatus::Error, L"", L"not run", 0};
  HANDLE thread = CreateThread(nullptr, 256 * 1024, SubstituteOnSmallStack, &outcome,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(nullptr, thread);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 60000));
  DWORD exitCode = 1;
  GetExitCodeThread(thread, &exitCode);
  CloseHandle(thread);
  EXPECT_EQ(0u, exitCode);
  EXPECT_EQ(SubstStatus::Replaced, outcome.status) << Utf8(outcome.message);
  EXPECT_EQ(L"x", outcome.result);
}

TEST(RegexLibraryStack, CallerThatIsAFiberStaysOne) {
  void* fiber = ConvertThreadToFiber(nullptr);
  ASSERT_NE(nullptr, fiber);
  EXPECT_EQ(L"bxnana", Apply(L"s/a/x/", L"banana").result);
  EXPECT_TRUE(IsThreadAFiber());
  EXPECT_TRUE(ConvertFiberToThread());
  EXPECT_EQ(L"bxnana", Apply(L"s/a/x/", L"banana").result);
  EXPECT_FALSE(IsThreadAFiber());
}

TEST(RegexLibraryCache, StaysBoundedAndRecompilesWhatItDropped) {
  for (int i = 0; i < 100; ++i) {
    const std::wstring number = std::to_wstring(i);
    EXPECT_EQ(L"<" + number + L">", Apply(L"s/n/" + number + L"/", L"<n>").result);
    EXPECT_LE(CachedCommandCount(), kCacheEntries);
  }
  EXPECT_EQ(kCacheEntries, CachedCommandCount());
  // The first commands were dropped long ago; they still work.
  EXPECT_EQ(L"<0>", Apply(L"s/n/0/", L"<n>").result);
  const size_t before = CachedCommandCount();
  Apply(L"s/n/0/", L"<n>");
  EXPECT_EQ(before, CachedCommandCount());
}

TEST(RegexLibraryCaseFold, FoldsLatinFullWidthAndOtherScripts) {
  const struct {
    wchar_t upper;
    wchar_t lower;
  } pairs[] = {{L'A', L'a'}, {L'Z', L'z'}, {L'Ａ', L'ａ'}, {L'Ｚ', L'ｚ'}, {L'Ä', L'ä'}, {L'Ω', L'ω'}};
  for (const auto& pair : pairs) {
    EXPECT_EQ(pair.lower, FoldLower(pair.upper));
    EXPECT_EQ(pair.upper, FoldUpper(pair.lower));
  }
  for (wchar_t same : {L'1', L'_', L'あ', L'漢', L'ｱ', wchar_t{0xD800}, wchar_t{0xDC00}, wchar_t{0}}) {
    EXPECT_EQ(same, FoldLower(same));
    EXPECT_EQ(same, FoldUpper(same));
  }
}

TEST(RegexLibraryAnsi, ConvertsWithoutBestFit) {
  ASSERT_EQ(932u, GetACP());
  EXPECT_EQ(L"表紙", AnsiToWide("\x95\x5C\x8E\x86"));
  EXPECT_EQ("\x95\x5C\x8E\x86", WideToAnsi(L"表紙"));
  // Best fit would turn the yen sign into a backslash, a path separator.
  EXPECT_EQ("?", WideToAnsi(L"\u00A5"));
  EXPECT_EQ("", WideToAnsi(L""));
  EXPECT_EQ(L"", AnsiToWide(""));
  // A cut never leaves half of a double-byte character.
  EXPECT_EQ("\x90\xB3\x8B\x4B\x95\x5C", WideToAnsiCut(L"正規表現", 7));
  EXPECT_EQ("a\x90\xB3", WideToAnsiCut(L"a正規", 4));
  EXPECT_EQ("", WideToAnsiCut(L"正", 1));
}

// The built libraries, loaded from the folder of this test program as the renamer loads them.
class Library {
 public:
  explicit Library(const wchar_t* name) : module_(LoadLibraryW((ProgramFolder() + name).c_str())) {}
  ~Library() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  template <typename Proc>
  Proc Find(const char* name) const {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

class RegexLibraryWide : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.Loaded());
    subst_ = library_.Find<BSubstWProc>("BSubstW");
    free_ = library_.Find<BRegfreeWProc>("BRegfreeW");
    ASSERT_NE(nullptr, subst_);
    ASSERT_NE(nullptr, free_);
  }

  // Calls as the renamer does: the working text, its end without the terminating zero.
  int Call(const wchar_t* command, std::wstring& text) {
    message_.assign(100, L'Z');
    return subst_(command, text.data(), text.data() + text.size(), &handle_, message_.data());
  }
  std::wstring Message() const { return message_.c_str(); }

  Library library_{L"bregonig.dll"};
  BSubstWProc subst_ = nullptr;
  BRegfreeWProc free_ = nullptr;
  RegexRecordW* handle_ = nullptr;
  std::wstring message_;
};

TEST_F(RegexLibraryWide, OneHandleServesTheItemsOfARow) {
  std::wstring working = L"banana";
  const wchar_t* items[] = {L"s/a/x/kg", L"s/nothing/y/k", L"s/(x)n/$1N/k", L"s/^/テスト_/k"};
  const wchar_t* expected[] = {L"bxnxnx", nullptr, L"bxNxnx", L"テスト_bxNxnx"};
  RegexRecordW* first = nullptr;
  for (size_t i = 0; i < 4; ++i) {
    Call(items[i], working);
    ASSERT_NE(nullptr, handle_);
    if (first == nullptr) first = handle_;
    EXPECT_EQ(first, handle_) << "the record is reused, not made anew";
    EXPECT_EQ(L"", Message());
    if (expected[i] == nullptr) {
      EXPECT_EQ(nullptr, handle_->result) << "nothing replaced";
      EXPECT_EQ(0, handle_->replaced);
      continue;
    }
    ASSERT_NE(nullptr, handle_->result);
    EXPECT_EQ(std::wstring(expected[i]), handle_->result);
    EXPECT_EQ(handle_->result + wcslen(handle_->result), handle_->resultEnd);
    working = handle_->result;
  }
  free_(handle_);
}

TEST_F(RegexLibraryWide, NoMatchOnTheFirstCallStillGivesARecord) {
  std::wstring working = L"banana";
  EXPECT_EQ(0, Call(L"s/z/x/k", working));
  ASSERT_NE(nullptr, handle_);
  EXPECT_EQ(nullptr, handle_->result);
  EXPECT_EQ(nullptr, handle_->resultEnd);
  free_(handle_);
  free_(nullptr);
}

TEST_F(RegexLibraryWide, InvalidPatternWritesAMessageAndNoResult) {
  std::wstring working = L"banana";
  EXPECT_EQ(3, Call(L"s/a/x/kg", working));
  EXPECT_EQ(-1, Call(L"s/(a/x/k", working));
  ASSERT_NE(nullptr, handle_);
  EXPECT_EQ(nullptr, handle_->result) << "the earlier result must not look like this call's";
  EXPECT_EQ(-1, handle_->replaced);
  EXPECT_EQ(L"正規表現の誤り: ( ) の対応が取れていません", Message());
  EXPECT_EQ(std::wstring(20, L'Z'), message_.substr(80)) << "wrote past the 80 characters";
  EXPECT_EQ(L"banana", working);
  free_(handle_);
}

TEST_F(RegexLibraryWide, ThePreviousResultMayBeTheNextText) {
  std::wstring working = L"aaaa";
  Call(L"s/a/bb/g", working);
  ASSERT_NE(nullptr, handle_->result);
  wchar_t* previous = handle_->result;
  EXPECT_EQ(1, subst_(L"s/b/c/", previous, handle_->resultEnd, &handle_, nullptr));
  ASSERT_NE(nullptr, handle_->result);
  EXPECT_EQ(std::wstring(L"cbbbbbbb"), handle_->result);
  free_(handle_);
}

TEST_F(RegexLibraryWide, BadArgumentsNeverCrash) {
  wchar_t text[] = L"abc";
  wchar_t message[kRegexMessageSize];
  EXPECT_EQ(-1, subst_(L"s/a/x/", text, text + 3, nullptr, message));
  EXPECT_STREQ(L"結果ハンドルがありません", message);
  EXPECT_EQ(-1, subst_(nullptr, text, text + 3, &handle_, message));
  EXPECT_STREQ(L"コマンドがありません", message);
  EXPECT_EQ(-1, subst_(L"s/a/x/", text + 3, text, &handle_, message));
  EXPECT_STREQ(L"対象の文字列の範囲が正しくありません", message);
  EXPECT_EQ(-1, subst_(L"s/a/x/", nullptr, text + 3, &handle_, message));
  EXPECT_EQ(-1, subst_(L"s/a/x/", text, nullptr, &handle_, nullptr));
  ASSERT_NE(nullptr, handle_);
  EXPECT_EQ(nullptr, handle_->result);
  // No text at all is the empty text.
  EXPECT_EQ(1, subst_(L"s/^/x/", nullptr, nullptr, &handle_, message));
  EXPECT_STREQ(L"x", handle_->result);
  EXPECT_STREQ(L"", message);
  // An empty range inside a text is empty too.
  EXPECT_EQ(0, subst_(L"s/a/x/", text, text, &handle_, message));
  EXPECT_EQ(nullptr, handle_->result);
  free_(handle_);
}

TEST_F(RegexLibraryWide, OversizedInputsAreRefused) {
  std::wstring text(kMaxTextChars + 1, L'a');
  EXPECT_EQ(-1, Call(L"s/a/x/", text));
  EXPECT_EQ(L"対象の文字列が長すぎます", Message());
  std::wstring command = L"s/a/" + std::wstring(kMaxCommandChars * 2, L'x') + L"/";
  std::wstring small = L"a";
  EXPECT_EQ(-1, Call(command.c_str(), small));
  EXPECT_EQ(L"コマンドが長すぎます", Message());
  free_(handle_);
}

class RegexLibraryAnsiDll : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(932u, GetACP());
    ASSERT_TRUE(library_.Loaded());
    subst_ = library_.Find<BSubstProc>("BSubst");
    free_ = library_.Find<BRegfreeProc>("BRegfree");
    ASSERT_NE(nullptr, subst_);
    ASSERT_NE(nullptr, free_);
  }

  int Call(const char* command, std::string& text) {
    message_.assign(100, 'Z');
    return subst_(command, text.data(), text.data() + text.size(), &handle_, message_.data());
  }
  std::string Result() const { return handle_ && handle_->result ? handle_->result : "(null)"; }

  Library library_{L"bregexp.dll"};
  BSubstProc subst_ = nullptr;
  BRegfreeProc free_ = nullptr;
  RegexRecordA* handle_ = nullptr;
  std::string message_;
};

TEST_F(RegexLibraryAnsiDll, ReplacesShiftJisText) {
  struct {
    const char* command;
    const char* text;
    const char* expected;
  } cases[] = {
      // 表 (95 5C) to 裏 (97 A0): the second byte of 表 is a backslash.
      {"s/\x95\x5C/\x97\xA0/k", "\x95\x5C\x8E\x86", "\x97\xA0\x8E\x86"},
      // Only the real backslash is replaced, not the second byte of 能 (94 5C).
      {"s/\\\\/Y/kg", "\x94\x5C" "a\\b", "\x94\x5C" "aYb"},
      // テスト to 試験 in the middle of ASCII.
      {"s/\x83\x65\x83\x58\x83\x67/\x8E\x8E\x8C\xB1/k", "a\x83\x65\x83\x58\x83\x67z", "a\x8E\x8E\x8C\xB1z"},
      // "." is one character, not one byte: ソ (83 5C) stays whole.
      {"s/^./[$&]/k", "\x83\x5C" "x", "[\x83\x5C]x"},
      // Full-width ａ (82 81) matches Ａ (82 60) with "i".
      {"s/\x82\x81/\x82\x98/ki", "\x82\x60", "\x82\x98"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(1, Call(c.command, text)) << message_.c_str();
    EXPECT_EQ(c.expected, Result()) << c.command;
  }
  free_(handle_);
}

// What the match leaves alone comes back byte for byte: the NEC and IBM codes of one character stay
// the codes they were, and a lead byte without its second byte neither swallows the next byte nor
// turns into another character.
TEST_F(RegexLibraryAnsiDll, BytesOutsideTheMatchComeBackAsTheyWent) {
  struct {
    const char* command;
    const char* text;
    const char* expected;
  } cases[] = {
      {"s/a/b/k", "\xED\x40" "a\xFA\x5C", "\xED\x40" "b\xFA\x5C"},  // 纊 twice: NEC-selected and IBM
      {"s/a/b/k", "\x87\x90" "a\x81\xE0", "\x87\x90" "b\x81\xE0"},  // ≒ twice: NEC and JIS
      {"s/x(.)x/[$1]/k", "x\xED\x40x", "[\xED\x40]"},                 // a group gives its own bytes
      {"s/ /_/kg", "\x81 a \x81", "\x81_a_\x81"},                     // lone lead bytes
      {"s/^(.)/<$1>/k", "\x81 a", "<\x81> a"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_LE(1, Call(c.command, text)) << message_.c_str();
    EXPECT_EQ(c.expected, Result()) << c.command;
  }
  free_(handle_);
}

TEST_F(RegexLibraryAnsiDll, NothingReplacedAndReuseAndFree) {
  std::string text = "banana";
  EXPECT_EQ(3, Call("s/a/o/kg", text));
  RegexRecordA* record = handle_;
  EXPECT_EQ("bonono", Result());
  EXPECT_EQ(handle_->result + 6, handle_->resultEnd);
  text = Result();
  EXPECT_EQ(0, Call("s/a/o/kg", text));
  EXPECT_EQ(record, handle_);
  EXPECT_EQ(nullptr, handle_->result);
  EXPECT_STREQ("", message_.c_str());
  free_(handle_);
}

TEST_F(RegexLibraryAnsiDll, InvalidPatternGivesAShiftJisMessage) {
  std::string text = "banana";
  EXPECT_EQ(-1, Call("s/[a/x/k", text));
  ASSERT_NE(nullptr, handle_);
  EXPECT_EQ(nullptr, handle_->result);
  const std::string message = message_.c_str();
  EXPECT_EQ(WideToAnsi(L"正規表現の誤り: [ ] の対応が取れていません"), message);
  EXPECT_LT(message.size(), static_cast<size_t>(kRegexMessageSize));
  EXPECT_EQ(std::string(20, 'Z'), message_.substr(80));
  free_(handle_);
}

TEST_F(RegexLibraryAnsiDll, BadArgumentsNeverCrash) {
  char text[] = "abc";
  char message[kRegexMessageSize];
  EXPECT_EQ(-1, subst_("s/a/x/", text, text + 3, nullptr, message));
  EXPECT_EQ(WideToAnsi(L"結果ハンドルがありません"), message);
  EXPECT_EQ(-1, subst_(nullptr, text, text + 3, &handle_, message));
  EXPECT_EQ(-1, subst_("s/a/x/", text + 2, text + 1, &handle_, message));
  EXPECT_EQ(-1, subst_("s/a/x/", text, nullptr, &handle_, nullptr));
  std::string huge(kMaxTextChars + 1, 'a');
  EXPECT_EQ(-1, Call("s/a/x/", huge));
  EXPECT_EQ(WideToAnsi(L"対象の文字列が長すぎます"), message_.c_str());
  EXPECT_EQ(1, subst_("s/$/x/", nullptr, nullptr, &handle_, message));
  EXPECT_EQ("x", Result());
  free_(handle_);
}

}  // namespace
}  // namespace korval::regex
