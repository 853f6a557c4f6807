#include "engine/path_kind.h"

#include <gtest/gtest.h>

#include "platform/faulty_file_system.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

TEST(PathKind, TellsFoldersFilesAndNothing) {
  TempFolder dir;
  dir.WriteFile(L"a.txt", "a");
  ASSERT_TRUE(CreateDirectoryW((dir / L"sub").c_str(), nullptr));
  const std::wstring longMissing = dir.Path() + std::wstring(259 - dir.Path().size(), L'x');
  const std::wstring tooLongMissing = longMissing + L"y";
  const struct {
    std::wstring path;
    int kind;
  } cases[] = {
      {dir / L"a.txt", kPathIsFile},       {dir / L"A.TXT", kPathIsFile},
      {dir / L"sub", kPathIsFolder},       {dir / L"sub\\", kPathIsFolder},
      {dir.Path(), kPathIsFolder},         {L"C:\\", kPathIsFolder},
      {dir / L"missing.txt", kPathIsMissing}, {dir / L"*.txt", kPathIsMissing},  // no pattern matching
      {dir / L"a.tx?", kPathIsMissing},    {L"", kPathIsMissing},
      {longMissing, kPathIsMissing},       {tooLongMissing, kPathIsMissing},
  };
  for (const auto& c : cases) EXPECT_EQ(c.kind, PathKind(c.path)) << Utf8(c.path);
}

TEST(PathKind, DeleteFileForceRemovesProtectedFiles) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"locked.log", "x");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_TRUE(DeleteFileForce(path));
  EXPECT_FALSE(dir.Exists(L"locked.log"));

  const std::wstring plain = dir.WriteFile(L"plain.ini", "x");
  EXPECT_TRUE(DeleteFileForce(plain));
  EXPECT_FALSE(dir.Exists(L"plain.ini"));
}

TEST(PathKind, DeleteFileForceLeavesFoldersAndMissingPathsAlone) {
  TempFolder dir;
  ASSERT_TRUE(CreateDirectoryW((dir / L"keep").c_str(), nullptr));
  FaultyFileSystem fs;
  EXPECT_FALSE(DeleteFileForce(dir / L"keep", fs));
  EXPECT_EQ(kPathIsFolder, PathKind(dir / L"keep"));
  EXPECT_FALSE(DeleteFileForce(dir / L"missing.log", fs));
  EXPECT_FALSE(DeleteFileForce(L"", fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetAttributes));
  EXPECT_EQ(0, fs.CountOf(FsCall::Delete));
}

TEST(PathKind, DeleteFileForceFailsWhenTheAttributesStay) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"locked.log", "x");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  FaultyFileSystem fs;
  fs.FailNth(FsCall::SetAttributes, 1, ERROR_ACCESS_DENIED);
  // Deleting a read-only file fails, also under Wine.
  EXPECT_FALSE(DeleteFileForce(path, fs));
  EXPECT_TRUE(dir.Exists(L"locked.log"));
  EXPECT_EQ(1, fs.CountOf(FsCall::Delete));
}

}  // namespace
}  // namespace korval
