#include "engine/kept_listings.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/faulty_file_system.h"
#include "platform/handle_count.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

// What another program does to a listed folder (the "in" folder of a temporary folder), and the
// names the next preview must then see there.
struct OutsideChange {
  const char* what;
  std::function<void(const TempFolder&)> change;
  const wchar_t* present;
  const wchar_t* absent;
};

// The folder is read (listed through the kept listings), changed from outside, and asked again at the
// next preview: with the stamps the system gives, and on a file system that gives none.
TEST(KeptListings, TheNextPreviewSeesWhatChangedOutside) {
  const OutsideChange changes[] = {
      {"created", [](const TempFolder& d) { d.WriteFile(L"in\\new.jpg", "n"); }, L"NEW.JPG", nullptr},
      {"deleted", [](const TempFolder& d) { DeleteFileW((d / L"in\\a.jpg").c_str()); }, L"b.jpg", L"a.jpg"},
      {"renamed", [](const TempFolder& d) { MoveFileW((d / L"in\\a.jpg").c_str(), (d / L"in\\c.jpg").c_str()); },
       L"c.jpg", L"a.jpg"},
      {"folder made", [](const TempFolder& d) { CreateDirectoryW((d / L"in\\Sub").c_str(), nullptr); }, L"sub",
       nullptr},
      {"the folder renamed away", [](const TempFolder& d) { MoveFileW((d / L"in").c_str(), (d / L"away").c_str()); },
       nullptr, L"a.jpg"},
      {"the folder replaced",
       [](const TempFolder& d) {
         MoveFileW((d / L"in").c_str(), (d / L"old").c_str());
         CreateDirectoryW((d / L"in").c_str(), nullptr);
         d.WriteFile(L"in\\b.jpg", "b");
       },
       L"b.jpg", L"a.jpg"},
  };
  for (const bool stamped : {true, false}) {
    for (const OutsideChange& c : changes) {
      SCOPED_TRACE(std::string(c.what) + (stamped ? " (stamped)" : " (no stamps)"));
      TempFolder dir;
      CreateDirectoryW((dir / L"in").c_str(), nullptr);
      dir.WriteFile(L"in\\a.jpg", "a");
      dir.WriteFile(L"in\\b.jpg", "b");
      const std::wstring in = dir / L"in\\";
      FaultyFileSystem withoutStamps;
      KeptListings kept(stamped ? SystemFileSystem() : static_cast<FileSystem&>(withoutStamps));
      std::vector<WIN32_FIND_DATAW> entries;
      ASSERT_TRUE(kept.List(in, entries));
      EXPECT_EQ(2u, entries.size());
      kept.BeginPass();
      EXPECT_TRUE(kept.ExistsIn(in, L"A.JPG "));  // as a lookup: case and trailing spaces ignored
      EXPECT_FALSE(kept.Exists(in + L"new.jpg"));
      EXPECT_FALSE(kept.NoteOutsideChanges()) << "nothing changed yet";
      c.change(dir);
      // Stamps tell of the change between passes; without them there is nothing to tell.
      EXPECT_EQ(stamped, kept.NoteOutsideChanges());
      EXPECT_FALSE(kept.NoteOutsideChanges()) << "a change is told once";
      kept.BeginPass();
      if (c.present) {
        EXPECT_TRUE(kept.Exists(in + c.present));
      }
      if (c.absent) {
        EXPECT_FALSE(kept.Exists(in + c.absent));
      }
    }
  }
}

// A listed folder renamed away and back under its name: its rows are seen missing while it is away,
// and its return is told by the comparisons between passes, with stamps and without.
TEST(KeptListings, AFolderBackUnderItsNameIsTold) {
  for (const bool stamped : {true, false}) {
    SCOPED_TRACE(stamped ? "stamped" : "no stamps");
    TempFolder dir;
    CreateDirectoryW((dir / L"in").c_str(), nullptr);
    dir.WriteFile(L"in\\a.jpg", "a");
    const std::wstring in = dir / L"in\\";
    FaultyFileSystem withoutStamps;
    KeptListings kept(stamped ? SystemFileSystem() : static_cast<FileSystem&>(withoutStamps));
    std::vector<WIN32_FIND_DATAW> entries;
    ASSERT_TRUE(kept.List(in, entries));
    ASSERT_TRUE(MoveFileW((dir / L"in").c_str(), (dir / L"away").c_str()));
    EXPECT_EQ(stamped, kept.NoteOutsideChanges());
    kept.BeginPass();
    EXPECT_FALSE(kept.Exists(in + L"a.jpg")) << "away";
    EXPECT_FALSE(kept.NoteOutsideChanges()) << "still away";
    ASSERT_TRUE(MoveFileW((dir / L"away").c_str(), (dir / L"in").c_str()));
    EXPECT_TRUE(kept.NoteOutsideChanges()) << "back";
    EXPECT_FALSE(kept.NoteOutsideChanges()) << "told once";
    kept.BeginPass();
    EXPECT_TRUE(kept.Exists(in + L"a.jpg")) << "back";
  }
}

// A folder that is there but cannot be listed (no access) is not taken for one that came back at
// every comparison.
TEST(KeptListings, AFolderThatCannotBeListedIsNotToldAgainAndAgain) {
  TempFolder dir;
  CreateDirectoryW((dir / L"locked").c_str(), nullptr);
  FaultyFileSystem fs;
  fs.FailWhen([](const FsCallRecord& r) { return r.call == FsCall::ListFolder; }, ERROR_ACCESS_DENIED);
  KeptListings kept(fs);
  std::vector<WIN32_FIND_DATAW> entries;
  EXPECT_FALSE(kept.List(dir / L"locked\\", entries));
  for (int check = 0; check < 3; ++check) EXPECT_FALSE(kept.NoteOutsideChanges()) << check;
}

// Reading and previewing leave no handle open: an open folder would keep its parents from being
// renamed (a bottom-up folder run, or another program renaming them).
TEST(KeptListings, HoldsNoHandleBetweenPasses) {
  TempFolder dir;
  for (int i = 0; i < 20; ++i) {
    CreateDirectoryW((dir / std::to_wstring(i)).c_str(), nullptr);
    dir.WriteFile(std::to_wstring(i) + L"\\a.txt", "x");
  }
  const size_t before = OpenHandleCount();
  {
    // The count does count: one folder held open shows.
    const HANDLE held = CreateFileW(dir.Path().c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(before + 1, OpenHandleCount());
    CloseHandle(held);
  }
  KeptListings kept;
  std::vector<WIN32_FIND_DATAW> entries;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(kept.List(dir / (std::to_wstring(i) + L"\\"), entries));
  for (int pass = 0; pass < 2; ++pass) {
    kept.BeginPass();
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(kept.Exists(dir / (std::to_wstring(i) + L"\\a.txt")));
    kept.NoteOutsideChanges();
  }
  EXPECT_EQ(before, OpenHandleCount());
  EXPECT_EQ(20u, kept.Folders());
}

// Unchanged folders are answered from memory; the program's own renames make every folder listed
// again; an emptied list forgets them.
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
