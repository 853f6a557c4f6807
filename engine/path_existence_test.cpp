#include "engine/path_existence.h"

#include <gtest/gtest.h>

#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(PathExistence, SnapshotAnswersAsTheFileSystemDoes) {
  TempFolder dir;
  dir.WriteFile(L"Photo.JPG", "p");
  dir.WriteFile(L"\uFF26\uFF55\uFF4C\uFF4C.txt", "f");  // ＦｕＬＬ.txt
  dir.WriteFile(L"caf\u00e9.txt", "c");
  dir.WriteFile(L"a rather long name.text", "l");
  CreateDirectoryW((dir / L"Sub Folder").c_str(), nullptr);
  std::wstring shortPath;
  ASSERT_TRUE(SystemFileSystem().ShortPath((dir / L"a rather long name.text").c_str(), shortPath));
  const std::wstring shortName = shortPath.substr(shortPath.find_last_of(L'\\') + 1);

  const std::wstring names[] = {L"Photo.JPG", L"photo.jpg", L"PHOTO.JPG", L"\uFF46\uFF35\uFF4C\uFF4C.TXT",
                                L"CAF\u00c9.TXT", L"sub folder", shortName,
                                L"missing.jpg", L"Photo.JP", L"Photo", L"Sub", L"", L"x*"};
  LiveExistence live;
  FolderSnapshot snapshot;
  for (const std::wstring& name : names) {
    EXPECT_EQ(live.Exists(dir / name), snapshot.Exists(dir / name)) << Utf8(name);
  }
  // A name with a trailing dot or space is asked for verbatim (Windows then names exactly that item,
  // Wine still matches the trimmed name); the snapshot takes it for the trimmed name, which only ever
  // says "taken" where it may not be.
  for (const wchar_t* trimmed : {L"Photo.JPG.", L"Photo.JPG  "}) EXPECT_TRUE(snapshot.Exists(dir / trimmed));
  EXPECT_TRUE(snapshot.Exists(dir / L"photo.jpg"));
  EXPECT_FALSE(snapshot.Exists(dir / L"missing.jpg"));
  EXPECT_FALSE(snapshot.Exists(dir / L"nofolder\\x.txt"));
}

TEST(PathExistence, SnapshotListsEachFolderOnce) {
  TempFolder dir;
  CreateDirectoryW((dir / L"a").c_str(), nullptr);
  for (int i = 0; i < 50; ++i) dir.WriteFile(L"a\\" + std::to_wstring(i) + L".txt", "x");
  FaultyFileSystem fs;
  FolderSnapshot snapshot(fs);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(i < 50, snapshot.Exists(dir / (L"A\\" + std::to_wstring(i) + L".TXT")));
  EXPECT_FALSE(snapshot.Exists(dir / L"x.txt"));
  EXPECT_EQ(2, fs.CountOf(FsCall::ListFolder));
  EXPECT_EQ(0, fs.CountOf(FsCall::Find));
}

}  // namespace
}  // namespace korval
