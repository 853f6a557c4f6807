#include "testing/faulty_file_system.h"

#include <gtest/gtest.h>

#include "platform/full_path.h"
#include "platform/system_path.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(Win32FileSystem, MoveNeverReplacesAnExistingFile) {
  TempFolder dir;
  dir.WriteFile(L"a.txt", "A");
  dir.WriteFile(L"b.txt", "B");
  FileSystem& fs = SystemFileSystem();
  EXPECT_FALSE(fs.Move((dir / L"a.txt").c_str(), (dir / L"b.txt").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
  EXPECT_EQ("A", dir.ReadFile(L"a.txt"));
  EXPECT_EQ("B", dir.ReadFile(L"b.txt"));
  EXPECT_TRUE(fs.Move((dir / L"a.txt").c_str(), (dir / L"日本語の名前.txt").c_str()));
  EXPECT_EQ("A", dir.ReadFile(L"日本語の名前.txt"));
}

TEST(Win32FileSystem, FindsFilesAndFoldersCaseInsensitively) {
  TempFolder dir;
  dir.WriteFile(L"Photo.JPG", "x");
  CreateDirectoryW((dir / L"Folder").c_str(), nullptr);
  FileSystem& fs = SystemFileSystem();
  WIN32_FIND_DATAW found;
  ASSERT_TRUE(fs.Find((dir / L"photo.jpg").c_str(), &found));
  EXPECT_STREQ(L"Photo.JPG", found.cFileName);
  ASSERT_TRUE(fs.Find((dir / L"FOLDER").c_str(), &found));
  EXPECT_TRUE(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(fs.Find((dir / L"missing.txt").c_str(), &found));
}

TEST(Win32FileSystem, ReadsAndWritesTimesOfFilesAndFolders) {
  TempFolder dir;
  dir.WriteFile(L"t.txt", "t");
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  FileSystem& fs = SystemFileSystem();
  SYSTEMTIME st{2020, 5, 0, 17, 12, 34, 56, 0};
  FILETIME want;
  SystemTimeToFileTime(&st, &want);
  for (const wchar_t* name : {L"t.txt", L"sub"}) {
    ASSERT_TRUE(fs.SetTimes((dir / name).c_str(), nullptr, nullptr, &want)) << Utf8(name);
    FILETIME got{};
    ASSERT_TRUE(fs.GetTimes((dir / name).c_str(), nullptr, nullptr, &got));
    EXPECT_EQ(0, CompareFileTime(&want, &got)) << Utf8(name);
  }
}

// A folder's stamp moves with its entries and with its identity, and with nothing else; it reads
// what the system's whole file information says of the folder. The quick stamp (the time alone, no
// handle) moves with the entries and agrees with the whole stamp's time.
TEST(Win32FileSystem, StampsTellWhatChangedInAFolder) {
  SYSTEMTIME st{2021, 3, 0, 4, 5, 6, 7, 0};
  FILETIME fixed;
  SystemTimeToFileTime(&st, &fixed);
  struct Row {
    const char* what;
    void (*change)(const TempFolder&, const FILETIME&);
    bool moves;
  };
  const Row rows[] = {
      {"nothing", [](const TempFolder&, const FILETIME&) {}, false},
      {"a file's content", [](const TempFolder& d, const FILETIME&) { d.WriteFile(L"in\\a.txt", "longer"); }, false},
      {"a file created", [](const TempFolder& d, const FILETIME&) { d.WriteFile(L"in\\b.txt", "b"); }, true},
      {"a file renamed",
       [](const TempFolder& d, const FILETIME&) { MoveFileW((d / L"in\\a.txt").c_str(), (d / L"in\\c.txt").c_str()); },
       true},
      {"the folder replaced by one of the same time",
       [](const TempFolder& d, const FILETIME& time) {
         MoveFileW((d / L"in").c_str(), (d / L"old").c_str());
         CreateDirectoryW((d / L"in").c_str(), nullptr);
         SystemFileSystem().SetTimes((d / L"in").c_str(), nullptr, nullptr, &time);
       },
       true},
  };
  FileSystem& fs = SystemFileSystem();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder dir;
    CreateDirectoryW((dir / L"in").c_str(), nullptr);
    dir.WriteFile(L"in\\a.txt", "a");
    ASSERT_TRUE(fs.SetTimes((dir / L"in").c_str(), nullptr, nullptr, &fixed));
    FolderStamp before, after;
    ASSERT_TRUE(fs.StampFolder((dir / L"in\\").c_str(), before));
    EXPECT_EQ(0, CompareFileTime(&fixed, &before.lastWrite));
    HANDLE folder = CreateFileW((dir / L"in").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    ASSERT_TRUE(GetFileInformationByHandle(folder, &info));
    CloseHandle(folder);
    EXPECT_EQ((static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow, before.index);
    FolderStamp quickBefore, quickAfter;
    ASSERT_TRUE(fs.QuickStampFolder((dir / L"in\\").c_str(), quickBefore));
    EXPECT_TRUE(quickBefore.SameTime(before));
    EXPECT_FALSE(quickBefore.identified);
    row.change(dir, fixed);
    ASSERT_TRUE(fs.StampFolder((dir / L"in\\").c_str(), after));
    EXPECT_EQ(row.moves, !(before == after));
    ASSERT_TRUE(fs.QuickStampFolder((dir / L"in\\").c_str(), quickAfter));
    EXPECT_EQ(!after.SameTime(before), !(quickBefore == quickAfter));
  }
  TempFolder dir;
  FolderStamp missing;
  EXPECT_FALSE(fs.StampFolder((dir / L"missing\\").c_str(), missing));
  EXPECT_FALSE(fs.QuickStampFolder((dir / L"missing\\").c_str(), missing));
  EXPECT_FALSE(fs.QuickStampFolder(dir.WriteFile(L"file", "f").c_str(), missing)) << "a file is no folder";
}

// A folder reached through a link: its quick stamp and its whole stamp are both its target's, so a
// listing's stamp and the comparisons' agree (a link's own time would never equal its target's).
// Wine makes no links of its own, but shows the host's symbolic links as links: the prefix links
// the user's Documents to the home folder.
TEST(Win32FileSystem, BothStampsOfALinkedFolderAreItsTargets) {
  wchar_t profile[MAX_PATH] = L"";
  ASSERT_NE(0u, GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH));
  const std::wstring link = std::wstring(profile) + L"\\Documents";
  const DWORD attributes = GetFileAttributesW(link.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    GTEST_SKIP() << "the user's Documents is no link here";
  }
  Win32FileSystem fs;
  FolderStamp quick, whole;
  ASSERT_TRUE(fs.QuickStampFolder((link + L"\\").c_str(), quick));
  ASSERT_TRUE(fs.StampFolder((link + L"\\").c_str(), whole));
  EXPECT_TRUE(quick == whole) << "the quick stamp is taken through the link, as the whole one";
}

TEST(Win32FileSystem, AttributesRoundTripAndReadOnlyBlocksDelete) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"ro.txt", "r");
  FileSystem& fs = SystemFileSystem();
  ASSERT_TRUE(fs.SetAttributes(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  const DWORD attributes = fs.GetAttributes(path.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(fs.Delete(path.c_str()));
  ASSERT_TRUE(fs.SetAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(fs.Delete(path.c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, fs.GetAttributes(path.c_str()));
}

TEST(Win32FileSystem, ShortPathOfExistingNamesOnly) {
  TempFolder dir;
  dir.WriteFile(L"SHORT.TXT", "s");
  dir.WriteFile(L"a rather long name.text", "l");
  FileSystem& fs = SystemFileSystem();
  std::wstring shortPath;
  ASSERT_TRUE(fs.ShortPath((dir / L"SHORT.TXT").c_str(), shortPath));
  EXPECT_EQ(L"SHORT.TXT", shortPath.substr(shortPath.find_last_of(L'\\') + 1));
  ASSERT_TRUE(fs.ShortPath((dir / L"a rather long name.text").c_str(), shortPath));
  const std::wstring name = shortPath.substr(shortPath.find_last_of(L'\\') + 1);
  EXPECT_LE(name.size(), 12u) << Utf8(name);
  EXPECT_NE(std::wstring::npos, name.find(L'~')) << Utf8(name);
  EXPECT_FALSE(fs.ShortPath((dir / L"missing.txt").c_str(), shortPath));
}

TEST(Win32FileSystem, AppendFilesReplaceAndAppend) {
  TempFolder dir;
  dir.WriteFile(L"log.txt", "old content");
  {
    std::unique_ptr<AppendFile> file = SystemFileSystem().CreateAppendFile((dir / L"log.txt").c_str());
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Append("ab", 2));
    EXPECT_EQ("ab", dir.ReadFile(L"log.txt"));  // on the disk before the file is closed
    EXPECT_TRUE(file->Append("cd", 2));
  }
  EXPECT_EQ("abcd", dir.ReadFile(L"log.txt"));
  EXPECT_FALSE(SystemFileSystem().CreateAppendFile((dir / L"no\\such\\folder.txt").c_str()));
}

TEST(FaultyFileSystem, AppendsCanFailOneByOne) {
  TempFolder dir;
  FaultyFileSystem fs;
  fs.FailNth(FsCall::Append, 2, ERROR_DISK_FULL);
  std::unique_ptr<AppendFile> file = fs.CreateAppendFile((dir / L"log.txt").c_str());
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->Append("1", 1));
  EXPECT_FALSE(file->Append("2", 1));
  EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
  EXPECT_TRUE(file->Append("3", 1));
  file.reset();
  EXPECT_EQ("13", dir.ReadFile(L"log.txt"));
  fs.FailNth(FsCall::CreateAppendFile, 2, ERROR_ACCESS_DENIED);
  EXPECT_FALSE(fs.CreateAppendFile((dir / L"other.txt").c_str()));
}

TEST(FaultyFileSystem, FailsTheChosenCallOnlyAndLeavesTheDiskAlone) {
  TempFolder dir;
  dir.WriteFile(L"1.txt", "1");
  dir.WriteFile(L"2.txt", "2");
  FaultyFileSystem fs;
  fs.FailNth(FsCall::Move, 2, ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(fs.Move((dir / L"1.txt").c_str(), (dir / L"one.txt").c_str()));
  EXPECT_FALSE(fs.Move((dir / L"2.txt").c_str(), (dir / L"two.txt").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
  EXPECT_TRUE(dir.Exists(L"one.txt"));
  EXPECT_TRUE(dir.Exists(L"2.txt"));
  EXPECT_FALSE(dir.Exists(L"two.txt"));
  ASSERT_EQ(2u, fs.calls.size());
  EXPECT_FALSE(fs.calls[0].failed);
  EXPECT_TRUE(fs.calls[1].failed);
  EXPECT_EQ(dir / L"two.txt", fs.calls[1].target);
}

TEST(FaultyFileSystem, PredicateFaultsMatchByPath) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"locked.txt", "x");
  FaultyFileSystem fs;
  fs.FailWhen([](const FsCallRecord& r) { return r.path.find(L"locked") != std::wstring::npos; }, ERROR_ACCESS_DENIED);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, fs.GetAttributes(path.c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_FALSE(fs.SetTimes(path.c_str(), nullptr, nullptr, nullptr));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, fs.GetAttributes((dir.Path()).c_str()));
  EXPECT_EQ(2, fs.CountOf(FsCall::GetAttributes));
}

std::wstring CharUpperCopy(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// Every spelling of one folder is one full path; a path longer than the system's long-name lookup
// takes (it read past its buffer under Wine) keeps its spelling; names the system would trim go verbatim.
TEST(FullPath, EverySpellingIsOnePathAndLongPathsSurvive) {
  TempFolder dir;
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  std::wstring slashed = dir / L"sub";
  for (wchar_t& c : slashed) c = c == L'\\' ? L'/' : c;
  const std::wstring expected = dir / L"sub";
  for (const std::wstring& spelling : {slashed, dir / L"sub\\.\\x\\..", dir / L"SUB"}) {
    EXPECT_EQ(CharUpperCopy(expected), CharUpperCopy(FullPath(spelling))) << Utf8(spelling);
  }
  const std::wstring longPath = dir / (L"sub\\" + std::wstring(1000, L'O') + L".txt");
  EXPECT_EQ(longPath, FullPath(longPath));
  EXPECT_EQ(L"\\\\?\\C:\\x\\draft.", SystemPath(L"C:\\x\\draft."));
  EXPECT_EQ(L"\\\\?\\UNC\\srv\\share\\CON.txt", SystemPath(L"\\\\srv\\share\\CON.txt"));
  EXPECT_EQ(L"C:\\x\\draft.txt", SystemPath(L"C:\\x\\draft.txt"));
  EXPECT_EQ(L"x\\draft.", SystemPath(L"x\\draft."));  // not full: left as it is
}

}  // namespace
}  // namespace korval
