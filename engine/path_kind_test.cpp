#include "engine/path_kind.h"

#include <gtest/gtest.h>

#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(PathKind, TellsFoldersFilesAndNothing) {
  TempFolder dir;
  dir.WriteFile(L"a.txt", "a");
  ASSERT_TRUE(CreateDirectoryW((dir / L"sub").c_str(), nullptr));
  const std::wstring missing259 = dir.Path() + std::wstring(259 - dir.Path().size(), L'x');
  const struct {
    std::wstring path;
    int kind;
  } cases[] = {
      {dir / L"A.TXT", kPathIsFile},          {dir / L"sub", kPathIsFolder},  {dir / L"sub\\", kPathIsFolder},
      {L"C:\\", kPathIsFolder},               {dir / L"missing", kPathIsMissing},
      {dir / L"*.txt", kPathIsMissing},  // a pattern matches nothing
      {L"", kPathIsMissing},                  {missing259, kPathIsMissing},   {missing259 + L"y", kPathIsMissing},
  };
  for (const auto& c : cases) EXPECT_EQ(c.kind, PathKind(c.path)) << Utf8(c.path);
}

TEST(PathKind, DeleteFileForceRemovesProtectedFilesOnly) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"locked.log", "x");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_TRUE(DeleteFileForce(path));
  EXPECT_FALSE(dir.Exists(L"locked.log"));

  ASSERT_TRUE(CreateDirectoryW((dir / L"keep").c_str(), nullptr));
  FaultyFileSystem fs;
  EXPECT_FALSE(DeleteFileForce(dir / L"keep", fs));
  EXPECT_FALSE(DeleteFileForce(dir / L"missing.log", fs));
  EXPECT_FALSE(DeleteFileForce(L"", fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetAttributes) + fs.CountOf(FsCall::Delete));
  EXPECT_EQ(kPathIsFolder, PathKind(dir / L"keep"));
}

}  // namespace
}  // namespace korval
