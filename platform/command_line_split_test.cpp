// The command line split as the system splits it: the rules case by case, and random lines against
// the system's own function.
#include "platform/command_line_split.h"

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <random>

namespace korval {
namespace {

std::vector<std::wstring> SystemSplit(const std::wstring& line) {
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 0; list && i < count; ++i) arguments.emplace_back(list[i]);
  if (list) LocalFree(list);
  return arguments;
}

struct SplitCase {
  std::wstring line;
  std::vector<std::wstring> arguments;
};

TEST(SplitCommandLine, QuotesAndBackslashesFollowTheSystemRules) {
  const SplitCase cases[] = {
      {L"p.exe", {L"p.exe"}},
      {L"p.exe   ", {L"p.exe"}},
      {L"\"C:\\My Tools\\p.exe\" a b", {L"C:\\My Tools\\p.exe", L"a", L"b"}},
      {L"\"C:\\p.exe\"next", {L"C:\\p.exe", L"next"}},   // the path ends at its closing quote
      {L"\"C:\\p.exe", {L"C:\\p.exe"}},                  // an unclosed path takes the rest
      {L"C:\\a\"b.exe x", {L"C:\\a\"b.exe", L"x"}},      // no quotes in an unquoted path
      {L"p.exe \t a\t\tb ", {L"p.exe", L"a", L"b"}},
      {L"p.exe \"a b\" c", {L"p.exe", L"a b", L"c"}},
      {L"p.exe \"\"", {L"p.exe", L""}},                  // an empty argument
      {L"p.exe a\"b c\"d", {L"p.exe", L"ab cd"}},
      {L"p.exe a\\b a\\\\b", {L"p.exe", L"a\\b", L"a\\\\b"}},
      {L"p.exe a\\\"b", {L"p.exe", L"a\"b"}},
      {L"p.exe a\\\\\"b c\"", {L"p.exe", L"a\\b c"}},
      {L"p.exe a\\\\\\\"b", {L"p.exe", L"a\\\"b"}},
      {L"p.exe \"C:\\Folder\\\\\" x", {L"p.exe", L"C:\\Folder\\", L"x"}},
      {L"p.exe \"a\"\"b\"", {L"p.exe", L"a\"b"}},
      {L"p.exe \"\"\"a\"\"\"", {L"p.exe", L"\"a\""}},
      {L"p.exe \"s/a b/c/\" /file", {L"p.exe", L"s/a b/c/", L"/file"}},
      {L"p.exe 日本 \"フォルダ 名\"", {L"p.exe", L"日本", L"フォルダ 名"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(c.arguments, SplitCommandLine(c.line)) << c.line.size();
    EXPECT_EQ(SystemSplit(c.line), SplitCommandLine(c.line)) << c.line.size();
  }
}

TEST(SplitCommandLine, EmptyLineGivesTheProgramPath) {
  const std::vector<std::wstring> arguments = SplitCommandLine(L"");
  ASSERT_EQ(1u, arguments.size());
  EXPECT_EQ(SystemSplit(L"").front(), arguments.front());
  EXPECT_NE(std::wstring::npos, arguments.front().find(L"platform_test.exe"));
}

TEST(SplitCommandLine, RandomLinesSplitAsTheSystemSplitsThem) {
  const wchar_t alphabet[] = L"ab \t\"\\\\\"\n\x3000\xa0";
  std::mt19937 random(20241208);
  for (int round = 0; round < 20000; ++round) {
    std::wstring line;
    const int length = static_cast<int>(random() % 16);
    for (int i = 0; i < length; ++i) line += alphabet[random() % (sizeof(alphabet) / sizeof(wchar_t) - 1)];
    if (line.empty()) continue;
    ASSERT_EQ(SystemSplit(line), SplitCommandLine(line)) << "round " << round << ", length " << line.size();
  }
}

}  // namespace
}  // namespace korval
