#include "engine/kept_listings.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/faulty_file_system.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

// What another program does to a listed folder, and the names the next preview must then see.
struct OutsideChange {
  const char* what;
  std::function<void(const TempFolder&)> change;
  const wchar_t* present;
  const wchar_t* absent;
};

// The folder is read (listed through the kept listings), changed from outside, and asked again at the
// next preview: with the system's change notifications, and on a file system that gives none.
TEST(KeptListings, TheNextPreviewSeesWhatChangedOutside) {
  const OutsideChange changes[] = {
      {"created", [](const TempFolder& d) { d.WriteFile(L"new.jpg", "n"); }, L"NEW.JPG", nullptr},
      {"deleted", [](const TempFolder& d) { DeleteFileW((d / L"a.jpg").c_str()); }, L"b.jpg", L"a.jpg"},
      {"renamed", [](const TempFolder& d) { MoveFileW((d / L"a.jpg").c_str(), (d / L"c.jpg").c_str()); }, L"c.jpg",
       L"a.jpg"},
      {"folder made", [](const TempFolder& d) { CreateDirectoryW((d / L"Sub").c_str(), nullptr); }, L"sub",
       nullptr},
  };
  for (const bool notified : {true, false}) {
    for (const OutsideChange& c : changes) {
      SCOPED_TRACE(std::string(c.what) + (notified ? " (notified)" : " (no notifications)"));
      TempFolder dir;
      dir.WriteFile(L"a.jpg", "a");
      dir.WriteFile(L"b.jpg", "b");
      FaultyFileSystem withoutWatches;
      KeptListings kept(notified ? SystemFileSystem() : static_cast<FileSystem&>(withoutWatches));
      std::vector<WIN32_FIND_DATAW> entries;
      ASSERT_TRUE(kept.List(dir.Path(), entries));
      EXPECT_EQ(2u, entries.size());
      kept.BeginPass();
      EXPECT_TRUE(kept.ExistsIn(dir.Path(), L"A.JPG "));  // as a lookup: case and trailing spaces ignored
      EXPECT_FALSE(kept.Exists(dir / L"new.jpg"));
      c.change(dir);
      Sleep(20);  // the system hands its notification to the watch
      kept.BeginPass();
      EXPECT_TRUE(kept.Exists(dir / c.present));
      if (c.absent) {
        EXPECT_FALSE(kept.Exists(dir / c.absent));
      }
    }
  }
}

// Unchanged folders are answered from memory; the program's own renames make every folder listed
// again, without waiting for a notification; an emptied list forgets them.
TEST(KeptListings, ListsAgainOnlyWhatMayHaveChanged) {
  TempFolder dir;
  CreateDirectoryW((dir / L"a").c_str(), nullptr);
  for (int i = 0; i < 20; ++i) dir.WriteFile(L"a\\" + std::to_wstring(i) + L".txt", "x");
  KeptListings kept;
  std::vector<WIN32_FIND_DATAW> entries;
  ASSERT_TRUE(kept.List(dir / L"a\\", entries));
  for (int pass = 0; pass < 3; ++pass) {
    kept.BeginPass();
    EXPECT_TRUE(kept.Exists(dir / L"a\\19.TXT"));
    EXPECT_TRUE(kept.Exists(dir / L"A"));  // a folder never read is listed at its first question
  }
  kept.MarkAllStale();
  ASSERT_TRUE(MoveFileW((dir / L"a\\19.txt").c_str(), (dir / L"a\\x.txt").c_str()));
  kept.BeginPass();
  EXPECT_FALSE(kept.Exists(dir / L"a\\19.txt"));
  EXPECT_TRUE(kept.Exists(dir / L"a\\x.txt"));
  EXPECT_EQ(2u, kept.Folders());
  kept.Clear();
  EXPECT_EQ(0u, kept.Folders());
  EXPECT_FALSE(kept.ExistsIn(dir / L"gone\\", L"x.txt"));
}

TEST(KeptListings, ShortNamesAndMemory) {
  FolderNames names;
  WIN32_FIND_DATAW entry{};
  wcscpy(entry.cFileName, L"A Rather Long Name.text");
  wcscpy(entry.cAlternateFileName, L"ARATHE~1.TEX");
  names.Add(entry);
  WIN32_FIND_DATAW other{};
  wcscpy(other.cFileName, L"ARATHE~2.TEX");  // a long name that looks like a short one
  names.Add(other);
  EXPECT_TRUE(names.Contains(L"ARATHE~1.TEX"));
  EXPECT_TRUE(names.IsShortNameOf(L"ARATHE~1.TEX", L"A RATHER LONG NAME.TEXT"));
  EXPECT_FALSE(names.IsShortNameOf(L"ARATHE~2.TEX", L"A RATHER LONG NAME.TEXT"));
  EXPECT_FALSE(names.IsShortNameOf(L"ARATHE~1.TEX", L"ARATHE~2.TEX"));

  // Photos as cameras name them, with short names: at most 100 bytes an entry.
  FolderNames photos;
  for (int i = 0; i < 5000; ++i) {
    WIN32_FIND_DATAW photo{};
    swprintf(photo.cFileName, MAX_PATH, L"IMG_%05d_holiday.JPG", i);
    swprintf(photo.cAlternateFileName, 14, L"IMG_%02d~1.JPG", i % 100);
    photos.Add(photo);
  }
  photos.Trim();
  for (int i = 0; i < 5000; i += 499) {
    wchar_t key[40];
    swprintf(key, 40, L"IMG_%05d_HOLIDAY.JPG", i);
    EXPECT_TRUE(photos.Contains(key)) << i;
  }
  EXPECT_FALSE(photos.Contains(L"IMG_05000_HOLIDAY.JPG"));
  EXPECT_LE(photos.Bytes() / photos.Entries(), 100u);
}

}  // namespace
}  // namespace korval
