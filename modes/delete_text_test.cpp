#include "modes/delete_text.h"

#include <gtest/gtest.h>

#include <iterator>

#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct DeleteCase {
  int rule;
  const wchar_t* name;
  const wchar_t* result;
  int dellen = 0;
  int dellen2 = 255;
  int fileDir = 0;
};

std::wstring Deleted(const std::wstring& source, int rule, int dellen = 0, int dellen2 = 255, int fileDir = 0) {
  ModeParams params;
  params.deltype = rule;
  params.dellen = dellen;
  params.dellen2 = dellen2;
  TransformContext ctx;
  ctx.params = &params;
  ctx.fileDir = fileDir;
  std::wstring target = L"junk";
  DeleteTextTransform(ctx, source, target);
  return target;
}

void Check(const DeleteCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const DeleteCase& c = cases[i];
    const std::wstring folder = L"C:\\d\\";
    EXPECT_EQ(folder + c.result, Deleted(folder + c.name, c.rule, c.dellen, c.dellen2, c.fileDir))
        << "rule " << c.rule << " on " << Utf8(c.name);
  }
}

TEST(DeleteText, RemovesShortcutAndCopyMarks) {
  const DeleteCase cases[] = {
      {0, L"abc - ショートカット.lnk", L"abc.lnk"},
      {0, L"abc へのショートカット.lnk", L"abc.lnk"},
      {0, L"a へのショートカット - ショートカット.lnk", L"a.lnk"},
      {0, L"a - ショートカット - ショートカット.lnk", L"a - ショートカット.lnk"},
      {1, L"コピー ～ abc.txt", L"abc.txt"},
      {1, L"コピー (2) ～ abc.txt", L"abc.txt"},
      {1, L"コピー (123) ～ abc.txt", L"abc.txt"},
      {1, L"コピー (1234) ～ abc.txt", L"コピー (1234) ～ abc.txt"},
      {1, L"x ～ コピー ～ a.txt", L"x ～ コピー ～ a.txt"},
      {1, L"abc - コピー.txt", L"abc.txt"},
      {1, L"abc - コピー (2).txt", L"abc.txt"},
      {1, L"abc - コピー (12).txt", L"abc - コピー (12).txt"},
      {1, L"abc - コピー", L"abc - コピー", 0, 255, 1},
      {1, L"abc - コピー (", L"abc - コピー ("},
      {1, L"コピー ～ abc - コピー.txt", L"abc.txt"},
  };
  Check(cases, std::size(cases));
}

TEST(DeleteText, RemovesBracketedParts) {
  const DeleteCase cases[] = {
      {2, L"abc[12][x3].txt", L"abc[x3].txt"},
      {4, L"abc[12][x3].txt", L"abc.txt"},
      {2, L"abc［12］.txt", L"abc.txt"},
      {2, L"a[1］b[2].txt", L"ab.txt"},
      {2, L"a[].txt", L"a.txt"},
      {2, L"a[12.txt", L"a[12.txt"},
      {2, L"a[１２].txt", L"a[１２].txt"},
      {2, L"[x[1]y].txt", L"[xy].txt"},
      {3, L" (1) abc.txt", L"abc.txt"},
      {3, L"abc(1)(2)（3）.txt", L"abc.txt"},
      {3, L"a(b)(2).txt", L"a(b).txt"},
      {5, L"a(x)b（yy）.txt", L"ab.txt"},
      {5, L"a(b(c)d).txt", L"ad).txt"},
      {6, L"｢x｣a「y」.txt", L"a.txt"},
      {6, L"a(x).txt", L"a(x).txt"},
      {7, L"【新作】 abc.txt", L"abc.txt"},
      {7, L"[x]abc.txt", L"[x]abc.txt"},
      {4, L"abc.t[x]t", L"abc.tt"},
  };
  Check(cases, std::size(cases));
}

TEST(DeleteText, RemovesCountedCharactersOfTheStem) {
  const DeleteCase cases[] = {
      {8, L"abcdefg.txt", L"cdefg.txt", 2},
      {8, L"abcdefg.txt", L"abcdefg.txt", 7},
      {8, L"abcdefg.txt", L"g.txt", 6},
      {9, L"abcdefg.txt", L"abcde.txt", 2},
      {9, L"abcdefg.txt", L"abcdefg.txt", 0},
      {10, L"abcdefg.txt", L"abfg.txt", 2, 3},
      {10, L"abcdefg.txt", L"abcde.txt", 5, 255},
      {10, L"abcdefg.txt", L"abcdefg.txt", 0, 3},
      {10, L"abcdefg.txt", L"abcdefg.txt", 2, 0},
      {8, L"ab.cd", L"ab.cd", 3},
      {8, L"ab.cd", L"cd", 3, 255, 1},
      {9, L"ab.cd", L"a", 4, 255, 1},
  };
  Check(cases, std::size(cases));
}

TEST(DeleteText, RemovesWhatTheAnsiCodePageLacks) {
  const DeleteCase cases[] = {
      {11, L"a\U0001F600b.txt", L"ab.txt"},
      {11, L"日本語①ｶﾅ.txt", L"日本語①ｶﾅ.txt"},
      {11, L"caf\u00e9\u4e02.txt", L"caf.txt"},
  };
  Check(cases, std::size(cases));
}

TEST(DeleteText, UnknownRulesAndOddPathsChangeNothing) {
  EXPECT_EQ(L"C:\\d\\a[1].txt", Deleted(L"C:\\d\\a[1].txt", 12));
  EXPECT_EQ(L"C:\\d\\a[1].txt", Deleted(L"C:\\d\\a[1].txt", -1));
  for (int rule = 0; rule <= 11; ++rule) {
    EXPECT_EQ(L"", Deleted(L"", rule, 3, 3)) << rule;
    const std::wstring full = L"C:\\" + std::wstring(250, L'x') + L"[1].t";  // 259 characters
    const std::wstring target = Deleted(full, rule, 1, 1);
    EXPECT_LE(target.size(), kMaxPathChars) << rule;
  }
}

}  // namespace
}  // namespace korval
