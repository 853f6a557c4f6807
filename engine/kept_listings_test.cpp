#include "engine/kept_listings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "testing/stamped_folders.h"
#include "testing/faulty_file_system.h"
#include "testing/handle_count.h"
#include "testing/temp_folder.h"

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

// How a folder's stamps come, and what the comparisons between passes and the previews then do over
// five rounds (a comparison, then a preview that asks whether "new.txt" is there).
struct StampCase {
  const char* what;
  double quickSeconds, wholeSeconds;  // the times of the two stamps, seconds from now
  bool addedInTheSameTick;            // "new.txt" made after the read, the folder's time left as it was
  int changesTold;                    // comparisons of the five that tell of a change
  int listings;                       // listings of the folder, the read's included
  bool newSeen;                       // the last preview sees "new.txt"
};

TEST(KeptListings, StampsTakenOneWayAndStampsTooCloseToTheirListing) {
  const StampCase cases[] = {
      // The quick stamp answers with the link's own time, the comparisons with its target's: the
      // folder is listed again once, and from then on its stamps are taken the comparisons' way.
      {"a link whose own time is not its target's", -3600, -7200, false, 1, 2, false},
      {"a time two seconds and more before the read is trusted", -3600, -3600, true, 0, 1, false},
      {"a time within two seconds of the read, an entry made in its tick", 0, 0, true, 1, 2, true},
      {"a time within two seconds of the read, nothing changed", 0, 0, false, 0, 2, false},
      {"a time ahead of the clock (another machine's), listed once more then trusted", 3600, 3600, false, 0, 2,
       false},
  };
  for (const StampCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring folder = L"C:\\in\\";
    StampedFolders fs;
    StampedFolders::Folder& in = fs.Add(folder, StampedFolders::SecondsFromNow(c.quickSeconds), {L"a.txt"});
    in.wholeTime = StampedFolders::SecondsFromNow(c.wholeSeconds);
    if (c.wholeSeconds == c.quickSeconds) in.wholeTime = in.quickTime;
    KeptListings kept(fs);
    std::vector<WIN32_FIND_DATAW> entries;
    ASSERT_TRUE(kept.List(folder, entries));
    if (c.addedInTheSameTick) in.names.push_back(L"new.txt");
    int told = 0;
    bool seen = false;
    for (int round = 0; round < 5; ++round) {
      told += kept.NoteOutsideChanges() ? 1 : 0;
      kept.BeginPass();
      seen = kept.Exists(folder + L"new.txt");
      EXPECT_TRUE(kept.Exists(folder + L"a.txt"));
    }
    EXPECT_EQ(c.changesTold, told);
    EXPECT_EQ(c.listings, fs.listings);
    EXPECT_EQ(c.newSeen, seen);
  }
}

// The comparisons between passes ask the folders for as long as they may, going on where they
// stopped, however slowly the folders answer; folders on the network are left to the previews.
TEST(KeptListings, ComparisonsStopWhenTheirTimeIsUpAndLeaveNetworkFoldersToThePreviews) {
  StampedFolders fs;
  std::vector<std::wstring> paths;
  for (int i = 0; i < 12; ++i) {
    paths.push_back(L"C:\\f" + std::to_wstring(i) + L"\\");
    fs.Add(paths.back(), StampedFolders::SecondsFromNow(-3600), {L"a.txt"});
  }
  fs.network = {paths[5], paths[9]};
  KeptListings kept(fs);
  std::vector<WIN32_FIND_DATAW> entries;
  for (const std::wstring& path : paths) ASSERT_TRUE(kept.List(path, entries));
  fs.wholeStampTakes = std::chrono::milliseconds(20);
  fs.folders[paths[11]].wholeTime = StampedFolders::SecondsFromNow(-60);
  fs.folders[paths[9]].wholeTime = StampedFolders::SecondsFromNow(-60);
  CompareBound bound;
  bound.budget = std::chrono::milliseconds(30);
  bound.skipNetwork = true;
  int calls = 0;
  bool told = false;
  while (!told && calls < 20) {
    const int before = fs.wholeStamps;
    told = kept.NoteOutsideChanges(bound);
    ++calls;
    // The time is looked at between folders: one past the budget at most.
    EXPECT_LE(fs.wholeStamps - before, 2) << "call " << calls;
  }
  EXPECT_TRUE(told) << "the local folder that changed";
  EXPECT_GE(calls, 5);
  for (const std::wstring& asked : fs.asked) {
    EXPECT_TRUE(asked != paths[5] && asked != paths[9]) << "a network folder was compared";
  }
  // A preview still asks the network folders, and sees that one of them changed.
  fs.wholeStampTakes = std::chrono::milliseconds(0);
  fs.folders[paths[9]].names.push_back(L"new.txt");
  kept.BeginPass();
  EXPECT_TRUE(kept.Exists(paths[9] + L"new.txt"));
  EXPECT_NE(fs.asked.end(), std::find(fs.asked.begin(), fs.asked.end(), paths[9]));
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
