// Merging adjacent replacement steps.
#include "macroedit/reduce_replacements.h"

#include <gtest/gtest.h>

#include "macroedit/step_description.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

StepRow Replace(const std::wstring& from, const std::wstring& to, const char* digits = "002") {
  StepRow row;
  DescribeStep(digits[0], digits[1], digits[2], 8, from, to, row.mode, row.setting, row.setting2);
  return row;
}

StepRow Case() {
  StepRow row;
  DescribeStep('4', '0', '0', 2, L"", L"", row.mode, row.setting, row.setting2);
  return row;
}

TEST(ReduceReplacements, TenRowsWithEightPartsBecomeTwo) {
  StepRows rows;
  for (int i = 0; i < 10; ++i) rows.push_back(Replace(std::wstring(1, L'a' + i), std::wstring(1, L'A' + i)));
  EXPECT_EQ(8u, ReduceReplacements(rows, 8));
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ(Replace(L"a/b/c/d/e/f/g/h", L"A/B/C/D/E/F/G/H"), rows[0]);
  EXPECT_EQ(Replace(L"i/j", L"I/J"), rows[1]);
}

TEST(ReduceReplacements, WhatIsMergedAndWhatIsNot) {
  struct TestCase {
    const char* what;
    StepRows rows;
    int maxParts;
    size_t rowsAfter;
  } cases[] = {
      {"differing regular expression switch", {Replace(L"a", L"b", "002"), Replace(L"c", L"d", "012")}, 8, 2},
      {"differing occurrence", {Replace(L"a", L"b", "002"), Replace(L"c", L"d", "102")}, 8, 2},
      {"a case step between", {Replace(L"a", L"b"), Case(), Replace(L"c", L"d")}, 8, 3},
      {"search texts of 100 and 100", {Replace(std::wstring(100, L'a'), L""), Replace(std::wstring(100, L'b'), L"")}, 8, 2},
      {"search texts of 99 and 100", {Replace(std::wstring(99, L'a'), L""), Replace(std::wstring(100, L'b'), L"")}, 8, 1},
      {"replacements of 100 and 100", {Replace(L"a", std::wstring(100, L'a')), Replace(L"b", std::wstring(100, L'b'))}, 8, 2},
      {"a slash already there, two parts", {Replace(L"a/b", L"c/d"), Replace(L"e", L"f")}, 2, 2},
      {"two parts", {Replace(L"a", L"c"), Replace(L"e", L"f"), Replace(L"g", L"h")}, 2, 2},
      {"one row", {Replace(L"a", L"b")}, 8, 1},
      {"no rows", {}, 8, 0},
      {"two case steps", {Case(), Case()}, 8, 2},
  };
  for (TestCase& c : cases) {
    const size_t before = c.rows.size();
    EXPECT_EQ(before - c.rowsAfter, ReduceReplacements(c.rows, c.maxParts)) << c.what;
    EXPECT_EQ(c.rowsAfter, c.rows.size()) << c.what;
  }
}

TEST(ReduceReplacements, AMergedRowIsComparedWithTheRowThatNowFollows) {
  StepRows rows{Case(), Replace(L"a", L"1", "113"), Replace(L"b", L"2", "113"), Replace(L"c", L"3", "113"), Case(),
                Replace(L"d", L"4", "113")};
  EXPECT_EQ(2u, ReduceReplacements(rows, 8));
  ASSERT_EQ(4u, rows.size());
  EXPECT_EQ(Replace(L"a/b/c", L"1/2/3", "113"), rows[1]);
  EXPECT_EQ(Replace(L"d", L"4", "113"), rows[3]);
}

}  // namespace
}  // namespace korval
