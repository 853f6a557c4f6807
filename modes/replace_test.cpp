#include "modes/replace.h"

#include <gtest/gtest.h>

#include "modes/read_mode_params.h"
#include "modes/regex_binding.h"
#include "modes/regex_command.h"
#include "platform/format_text.h"
#include "testing/temp_folder.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

ModeParams Params(const std::wstring& from, const std::wstring& to, int repmode = 0, int repcase = 1,
                  int repwithext = 0, int regexp = 0) {
  PanelValues panel;
  panel.replaceFrom = from;
  panel.replaceTo = to;
  panel.repmode = repmode;
  panel.repcase = repcase;
  panel.repwithext = repwithext;
  panel.regexp = regexp;
  ModeParams params;
  InputHistories none;
  none.switches = 0;
  ReadModeParams(panel, params, none);
  return params;
}

std::wstring Replace(const ModeParams& params, const std::wstring& name, RegexBinding* binding = nullptr,
                     const std::wstring& folder = L"C:\\photos\\") {
  TransformContext ctx;
  ctx.params = &params;
  ctx.regex = binding;
  std::wstring target;
  ReplaceTransform(ctx, folder + name, target);
  return target.substr(folder.size());
}

struct PlainCase {
  const wchar_t* from;
  const wchar_t* to;
  int repmode;
  int repcase;
  int repwithext;
  const wchar_t* name;
  const wchar_t* result;
};

TEST(ReplacePlain, ItemsOccurrencesCaseAndExtension) {
  const PlainCase cases[] = {
      {L"a/b", L"x", 0, 1, 0, L"abcab.txt", L"xcx.txt"},          // b has no replacement: deleted
      {L"a//b", L"x", 0, 1, 0, L"abcab.txt", L"xbcxb.txt"},        // the empty item ends the list
      {L"ab", L"X", 2, 1, 0, L"ababab.txt", L"ababX.txt"},         // last occurrence only
      {L"ab", L"X", 1, 1, 0, L"ababab.txt", L"Xabab.txt"},
      {L"a", L"aa", 0, 1, 0, L"aaa.txt", L"aaaaaa.txt"},           // inserted text is not searched again
      {L"ab", L"x", 0, 0, 0, L"AB.txt", L"x.txt"},
      {L"ab", L"x", 0, 1, 0, L"AB.txt", L"AB.txt"},
      {L"\uFF41\uFF42", L"x", 0, 0, 0, L"\uFF21\uFF22.txt", L"x.txt"},  // full-width letters fold too
      {L"\uFF41\uFF42", L"x", 0, 1, 0, L"\uFF21\uFF22.txt", L"\uFF21\uFF22.txt"},
      {L"txt", L"doc", 0, 1, 0, L"txt.txt", L"doc.txt"},           // the extension is not touched
      {L"txt", L"doc", 0, 1, 1, L"txt.txt", L"doc.doc"},
      {L".txt", L"", 0, 1, 1, L"a.txt", L"a"},
      {L"1/2/3", L"one/two/three", 0, 1, 0, L"123.jpg", L"onetwothree.jpg"},
      {L"写真", L"photo_", 0, 1, 0, L"写真001.jpg", L"photo_001.jpg"},
      {L"", L"x", 0, 1, 0, L"abc.txt", L"abc.txt"},
  };
  for (const PlainCase& c : cases) {
    EXPECT_EQ(std::wstring(c.result), Replace(Params(c.from, c.to, c.repmode, c.repcase, c.repwithext), c.name))
        << Utf8(c.from) << " -> " << Utf8(c.to) << " on " << Utf8(c.name);
  }
}

TEST(ReplacePlain, SpecialSequencesAndTheLengthLimit) {
  TempFolder dir;
  dir.WriteFile(L"img.jpg", "12345");
  CreateDirectoryW((dir / L"trip").c_str(), nullptr);
  EXPECT_EQ(L"img_trip.jpg", Replace(Params(L"img", L"img_\\f"), L"img.jpg", nullptr, dir / L"trip\\"));
  EXPECT_EQ(L"img (jpg).jpg", Replace(Params(L"img", L"img (\\e)"), L"img.jpg", nullptr, dir.Path()));
  // A name too long for a path is built whole, extension included; validation refuses it as it
  // stands. Only a runaway replacement is cut, at the bound of built names.
  const std::wstring longName = std::wstring(200, L'a') + L".txt";
  EXPECT_EQ(std::wstring(400, L'b') + L".txt", Replace(Params(L"a", L"bb"), longName, nullptr, L"C:\\"));
  const std::wstring runaway =
      Replace(Params(L"a", std::wstring(10, L'b')), std::wstring(4000, L'a') + L".txt", nullptr, L"C:\\");
  EXPECT_EQ(kMaxBuiltPath - 3, runaway.size());  // behind "C:\\"
}

struct CommandCase {
  const wchar_t* search;
  const wchar_t* replacement;
  int repmode;
  int repcase;
  const wchar_t* command;
};

TEST(RegexCommand, BackslashRulesAndOptions) {
  const CommandCase cases[] = {
      {L"(\\d+)", L"n$1", 0, 1, L"s/(\\d+)/n$1/kg"},
      {L"a", L"b", 1, 1, L"s/a/b/k"},
      {L"a", L"b", 2, 0, L"s/a/b/ki"},                   // "last" replaces the first match, like "first"
      {L"\\t\\n\\a\\c\\r", L"x", 0, 1, L"s/tnacr/x/kg"},  // dropped backslashes
      {L"\\f\\s\\e\\:", L"\\f_\\s_\\e_\\:", 0, 1,
       L"s/\\f\\s\\e\\:/\\\\\\\\f_\\\\\\\\s_\\\\\\\\e_\\\\\\\\:/kg"},  // four backslashes in the replacement only
      {L"a\\\\f", L"\\\\f", 0, 1, L"s/a\\\\f/\\\\f/kg"},   // an escaped backslash stays ordinary
      {L"\\.", L"_", 0, 0, L"s/\\./_/kgi"},
  };
  for (const CommandCase& c : cases) {
    EXPECT_EQ(std::wstring(c.command), BuildRegexCommand(c.search, c.replacement, c.repmode, c.repcase))
        << Utf8(c.search) << " / " << Utf8(c.replacement);
  }
}

TEST(ReplaceRegex, WideLibraryReplacesAndExpandsDoubledSequences) {
  RegexBinding binding;
  ASSERT_TRUE(binding.Load());
  EXPECT_TRUE(binding.Wide());
  struct Case { const wchar_t* from; const wchar_t* to; int repmode; int repcase; const wchar_t* name; const wchar_t* result; };
  const Case cases[] = {
      {L"(\\d+)", L"n$1", 0, 1, L"a1b22.txt", L"an1bn22.txt"},
      {L"(\\d+)", L"n$1", 1, 1, L"a1b22.txt", L"an1b22.txt"},
      {L"(\\d+)", L"n$1", 2, 1, L"a1b22.txt", L"an1b22.txt"},  // "last" replaces the first match
      {L"ab", L"x", 0, 0, L"ABab.txt", L"xx.txt"},
      {L"\uff41", L"x", 0, 0, L"\uFF21.txt", L"x.txt"},         // full-width letters fold
      {L"^", L"\\f_", 0, 1, L"img.jpg", L"photos_img.jpg"},     // "\f" survives the library
      {L"^(.*)$", L"$0_\\e", 0, 1, L"img.jpg", L"img_jpg.jpg"},
      {L"a/b", L"1/2", 0, 1, L"ab.txt", L"12.txt"},
      {L"z", L"y", 0, 1, L"abc.txt", L"abc.txt"},                // nothing replaced
      {L"(", L"y", 0, 1, L"abc.txt", L"abc.txt"},                // an invalid pattern changes nothing
      {L"写(真)", L"$1", 0, 1, L"写真.jpg", L"真.jpg"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::wstring(c.result), Replace(Params(c.from, c.to, c.repmode, c.repcase, 0, 1), c.name, &binding))
        << Utf8(c.from) << " -> " << Utf8(c.to);
  }
  EXPECT_FALSE(binding.nonSjisFound);
}

TEST(ReplaceRegex, AnsiLibraryIsTheFallbackAndRefusesWhatShiftJisCannotHold) {
  RegexBinding binding;
  ASSERT_TRUE(binding.Load(L"NO_SUCH_REGEX_LIBRARY.DLL"));
  EXPECT_FALSE(binding.Wide());
  EXPECT_EQ(L"an1bn22.txt", Replace(Params(L"(\\d+)", L"n$1", 0, 1, 0, 1), L"a1b22.txt", &binding));
  EXPECT_EQ(L"写_真.jpg", Replace(Params(L"写", L"写_", 0, 1, 0, 1), L"写真.jpg", &binding));
  EXPECT_EQ(L"photos_表.jpg", Replace(Params(L"^", L"\\f_", 0, 1, 0, 1), L"表.jpg", &binding));
  EXPECT_FALSE(binding.nonSjisFound);
  // A name the code page cannot hold: the row shows the error, without its extension.
  EXPECT_EQ(L"** DLL ERROR ** 非S-JIS文字検出", Replace(Params(L"a", L"b", 0, 1, 0, 1), L"caf\u00e9a.txt", &binding));
  EXPECT_TRUE(binding.nonSjisFound);
}

// A match that uses up the library's budget leaves the row as it was before its first item, and
// from then on the run leaves every name alone instead of spending the budget again on each.
TEST(ReplaceRegex, ACutOffMatchEndsThePatternsWorkForTheRun) {
  for (const wchar_t* ansi : {L"", L"NO_SUCH_REGEX_LIBRARY.DLL"}) {
    RegexBinding binding;
    ASSERT_TRUE(*ansi ? binding.Load(ansi) : binding.Load());
    const std::wstring stall = L"(a+)+b(?#" + std::wstring(200, L'c') + L")";
    const ModeParams params = Params(L"^/" + stall, L"<</x", 0, 1, 0, 1);
    const std::wstring name = std::wstring(40, L'a') + L".txt";
    EXPECT_EQ(name, Replace(params, name, &binding));
    EXPECT_TRUE(binding.cutOff);
    EXPECT_EQ(std::wstring(40, L'a'), binding.cutOffName);
    EXPECT_EQ(L"ab.txt", Replace(params, L"ab.txt", &binding));  // would match, but the run is cut off
  }
}

TEST(ReplaceRegex, NoLibraryLoadsWhenNeitherExists) {
  RegexBinding binding;
  EXPECT_FALSE(binding.Load(L"NO_SUCH_REGEX_LIBRARY.DLL", L"NO_SUCH_ANSI_LIBRARY.DLL"));
  EXPECT_FALSE(binding.Loaded());
  EXPECT_EQ(L"正規表現に必要な BREGEXP.DLL が正しく読み込めませんでした。",
            FormatText(kRegexLibraryMissingText, L"BREGEXP.DLL"));
}

TEST(ReplaceRegex, WithoutABoundLibraryTheRowShowsTheFailure) {
  EXPECT_EQ(L"*** DLL ERROR *** BSubstW関数呼び出しに失敗.txt", Replace(Params(L"a", L"b", 0, 1, 0, 1), L"abc.txt"));
}

}  // namespace
}  // namespace korval
