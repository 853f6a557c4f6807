#include "modes/short_name.h"

#include <gtest/gtest.h>

#include "platform/path_limits.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

std::wstring Shorten(int real8_3, const std::wstring& source, FileSystem* fs = &SystemFileSystem()) {
  ModeParams params;
  params.real8_3 = real8_3;
  TransformContext ctx;
  ctx.params = &params;
  ctx.fs = fs;
  std::wstring target;
  ShortNameTransform(ctx, source, target);
  return target;
}

bool HasAscii(const std::wstring& text, wchar_t low, wchar_t high) {
  for (wchar_t c : text) {
    if (c >= low && c <= high) return true;
  }
  return false;
}

TEST(ShortName, LongNamesBecomeAnAliasOfTheSameFile) {
  TempFolder dir;
  CreateDirectoryW((dir / L"Long Folder Name").c_str(), nullptr);
  const std::wstring folder = dir / L"Long Folder Name\\";
  for (const wchar_t* name : {L"Program Files Long Name.txt", L"日本語の長いファイル名です.jpeg"}) {
    const std::wstring source = dir.WriteFile(std::wstring(L"Long Folder Name\\") + name, "content");
    const std::wstring target = Shorten(0, source);
    ASSERT_EQ(folder, target.substr(0, folder.size())) << Utf8(target);
    const std::wstring alias = target.substr(folder.size());
    EXPECT_NE(std::wstring::npos, alias.find(L'~')) << Utf8(alias);
    EXPECT_LE(alias.size(), 12u) << Utf8(alias);
    EXPECT_EQ("content", dir.ReadFile(target)) << Utf8(alias);

    const std::wstring lower = Shorten(2, source);
    EXPECT_FALSE(HasAscii(lower, L'A', L'Z')) << Utf8(lower);
    EXPECT_EQ(0, _wcsicmp(target.c_str(), lower.c_str()));
    const std::wstring upper = Shorten(1, source);
    EXPECT_FALSE(HasAscii(upper, L'a', L'z')) << Utf8(upper);
    EXPECT_EQ(0, _wcsicmp(target.c_str(), upper.c_str()));
  }
}

TEST(ShortName, NamesAlreadyShortStayAndOnlyTheirCaseChanges) {
  TempFolder dir;
  const std::wstring source = dir.WriteFile(L"Ab.txt", "x");
  EXPECT_EQ(source, Shorten(0, source));
  const std::wstring upper = Shorten(1, source);
  EXPECT_EQ(L"AB.TXT", upper.substr(upper.size() - 6));
  EXPECT_FALSE(HasAscii(upper, L'a', L'z'));
}

TEST(ShortName, WithoutAShortFormTheNameStays) {
  TempFolder dir;
  const std::wstring source = dir.WriteFile(L"Program Files Long Name.txt", "x");
  FaultyFileSystem fs;
  fs.FailNth(FsCall::ShortPath, 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(source, Shorten(0, source, &fs));
  EXPECT_EQ(1, fs.CountOf(FsCall::ShortPath));

  const std::wstring missing = dir / L"Not There At All.txt";
  EXPECT_EQ(missing, Shorten(0, missing));
  const std::wstring lower = Shorten(2, missing);
  EXPECT_EQ(0, _wcsicmp(missing.c_str(), lower.c_str()));
  EXPECT_FALSE(HasAscii(lower, L'A', L'Z'));
}

TEST(ShortName, OverlongAndEmptySourcesAreBounded) {
  const std::wstring source = L"C:\\" + std::wstring(kMaxLongPathChars, L'n') + L".txt";
  const std::wstring target = Shorten(1, source);
  EXPECT_EQ(kMaxLongPathChars, target.size());
  EXPECT_EQ(L"", Shorten(0, L""));
}

}  // namespace
}  // namespace korval
