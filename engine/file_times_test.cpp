#include "engine/file_times.h"

#include <gtest/gtest.h>

#include "engine/memory_file_system_test.h"
#include "platform/faulty_file_system.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

SYSTEMTIME Calendar(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return t;
}

FILETIME Utc(int year, int month, int day, int hour, int minute, int second) {
  const SYSTEMTIME t = Calendar(year, month, day, hour, minute, second);
  FILETIME f{};
  SystemTimeToFileTime(&t, &f);
  return f;
}

FILETIME WriteTimeOf(const std::wstring& path) {
  FILETIME creation{}, access{}, write{};
  EXPECT_TRUE(SystemFileSystem().GetTimes(path.c_str(), &creation, &access, &write));
  return write;
}

bool IsReadOnly(const std::wstring& path) { return (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0; }

// The tests run in Japan's time zone (no summer time), nine hours ahead of UTC.
TEST(FileTimes, LocalCalendarValuesAreJapanTime) {
  SYSTEMTIME local;
  ASSERT_TRUE(FileTimeToLocalCalendar(Utc(2019, 6, 1, 3, 0, 0), local));
  EXPECT_EQ(0, CompareTimes(Calendar(2019, 6, 1, 12, 0, 0), local));
  ASSERT_TRUE(FileTimeToLocalCalendar(Utc(2019, 12, 31, 20, 30, 5), local));
  EXPECT_EQ(0, CompareTimes(Calendar(2020, 1, 1, 5, 30, 5), local));
  FILETIME back;
  ASSERT_TRUE(LocalCalendarToFileTime(Calendar(2020, 1, 1, 5, 30, 5), back));
  EXPECT_TRUE(SameFileTime(Utc(2019, 12, 31, 20, 30, 5), back));
}

TEST(FileTimes, CalendarValuesThatAreNoTimes) {
  const SYSTEMTIME bad[] = {Calendar(2019, 2, 29, 0, 0, 0), Calendar(2019, 13, 1, 0, 0, 0),
                            Calendar(2019, 0, 1, 0, 0, 0),  Calendar(2019, 6, 1, 24, 0, 0),
                            Calendar(2019, 6, 1, 12, 60, 0), Calendar(2019, 6, 1, 12, 0, 60),
                            Calendar(1500, 6, 1, 12, 0, 0), Calendar(1900, 2, 29, 0, 0, 0),
                            Calendar(2019, 4, 31, 0, 0, 0),  Calendar(2019, 6, 0, 0, 0, 0)};
  for (const SYSTEMTIME& t : bad) {
    FILETIME f;
    EXPECT_FALSE(LocalCalendarToFileTime(t, f)) << t.wYear << "/" << t.wMonth << "/" << t.wDay << " " << t.wHour;
  }
  FILETIME f;
  EXPECT_TRUE(LocalCalendarToFileTime(Calendar(2020, 2, 29, 23, 59, 59), f));
  EXPECT_TRUE(LocalCalendarToFileTime(Calendar(2000, 2, 29, 0, 0, 0), f));
  EXPECT_TRUE(LocalCalendarToFileTime(Calendar(2019, 12, 31, 23, 59, 59), f));
}

TEST(CompareTimes, SignOfTheDifferenceToTheSecond) {
  const SYSTEMTIME base = Calendar(2019, 6, 15, 12, 30, 30);
  const struct {
    SYSTEMTIME other;
    int sign;
  } cases[] = {
      {Calendar(2019, 6, 15, 12, 30, 30), 0},  {Calendar(2019, 6, 15, 12, 30, 31), 1},
      {Calendar(2019, 6, 15, 12, 30, 29), -1}, {Calendar(2019, 6, 15, 12, 31, 0), 1},
      {Calendar(2019, 6, 15, 11, 59, 59), -1}, {Calendar(2019, 6, 16, 0, 0, 0), 1},
      {Calendar(2019, 5, 31, 23, 59, 59), -1}, {Calendar(2020, 1, 1, 0, 0, 0), 1},
      {Calendar(2018, 12, 31, 23, 59, 59), -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.sign, CompareTimes(base, c.other));
    EXPECT_EQ(-c.sign, CompareTimes(c.other, base));
  }
  SYSTEMTIME sameSecond = base;
  sameSecond.wMilliseconds = 999;
  sameSecond.wDayOfWeek = 3;
  EXPECT_EQ(0, CompareTimes(base, sameSecond));
}

TEST(FileTimes, SetsModificationAndReportsTheOldTimes) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  const FILETIME before = Utc(2001, 2, 3, 4, 5, 6);
  ASSERT_TRUE(SystemFileSystem().SetTimes(path.c_str(), nullptr, nullptr, &before));
  const FILETIME wanted = Utc(2019, 6, 1, 3, 0, 0);
  OldFileTimes old;
  EXPECT_EQ(0, FileTimes(kTimesModification, kTimesBoth, path, {}, wanted, &old, kItemUnknown));
  EXPECT_TRUE(SameFileTime(wanted, WriteTimeOf(path)));
  EXPECT_EQ(kTimesBoth, old.reported);
  EXPECT_TRUE(SameFileTime(before, old.modification));
  EXPECT_EQ(0, CompareTimes(Calendar(2001, 2, 3, 13, 5, 6), old.localModification));
}

TEST(FileTimes, FoldersAndEveryFolderFlag) {
  TempFolder dir;
  const std::wstring file = dir.WriteFile(L"a.txt", "a");
  const std::wstring folder = dir / L"sub";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  int second = 0;
  for (const std::wstring& path : {file, folder}) {
    for (const int flag : {0, 1, -1, 7}) {  // file, folder, unknown, anything else
      const FILETIME wanted = Utc(2018, 1, 2, 3, 4, ++second);
      EXPECT_EQ(0, FileTimes(kTimesBoth, kTimesNone, path, wanted, wanted, nullptr, flag)) << Utf8(path) << flag;
      EXPECT_TRUE(SameFileTime(wanted, WriteTimeOf(path))) << Utf8(path) << flag;
    }
  }
}

TEST(FileTimes, NothingThereOrABadRequestFails) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  FaultyFileSystem fs;
  const FILETIME t = Utc(2019, 1, 1, 0, 0, 0);
  OldFileTimes old;
  old.reported = kTimesBoth;
  EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesBoth, dir / L"missing.txt", t, t, &old, kItemUnknown, fs));
  EXPECT_EQ(kTimesNone, old.reported);
  EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesBoth, dir / L"missing.txt", t, t, &old, kItemFile, fs));
  EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesNone, dir / L"*.txt", t, t, nullptr, kItemFile, fs));
  EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesNone, L"", t, t, nullptr, kItemUnknown, fs));
  EXPECT_EQ(1, FileTimes(4, kTimesNone, path, t, t, nullptr, kItemUnknown, fs));
  EXPECT_EQ(1, FileTimes(-1, kTimesNone, path, t, t, nullptr, kItemUnknown, fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetTimes));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetAttributes));
  // A report-what outside 0..3 reports nothing but does not fail.
  EXPECT_EQ(0, FileTimes(kTimesNone, 5, path, t, t, &old, kItemUnknown, fs));
  EXPECT_EQ(kTimesNone, old.reported);
}

// Wine keeps no creation time (it reads back as the last-write time), so which times reach the seam
// is checked on the in-memory double.
TEST(FileTimes, SetWhatChoosesTheTimesHandedToTheSeam) {
  const FILETIME creation = Utc(2010, 1, 1, 0, 0, 0);
  const FILETIME modification = Utc(2011, 1, 1, 0, 0, 0);
  const struct {
    int setWhat;
    bool creation, modification;
  } cases[] = {{kTimesCreation, true, false}, {kTimesModification, false, true}, {kTimesBoth, true, true}};
  for (const auto& c : cases) {
    MemoryFileSystem fs;
    MemoryFileSystem::Item& item = fs.AddFile(L"C:\\f.txt");
    item.creation = Utc(2000, 1, 1, 0, 0, 0);
    item.modification = Utc(2000, 1, 2, 0, 0, 0);
    OldFileTimes old;
    EXPECT_EQ(0, FileTimes(c.setWhat, kTimesBoth, L"C:\\f.txt", creation, modification, &old, kItemUnknown, fs));
    ASSERT_EQ(1u, fs.setTimesCalls.size());
    EXPECT_EQ(c.creation, fs.setTimesCalls[0].creation);
    EXPECT_EQ(c.modification, fs.setTimesCalls[0].modification);
    EXPECT_TRUE(SameFileTime(c.creation ? creation : Utc(2000, 1, 1, 0, 0, 0), item.creation));
    EXPECT_TRUE(SameFileTime(c.modification ? modification : Utc(2000, 1, 2, 0, 0, 0), item.modification));
    EXPECT_EQ(0, CompareTimes(Calendar(2000, 1, 1, 9, 0, 0), old.localCreation));
    EXPECT_EQ(0, CompareTimes(Calendar(2000, 1, 2, 9, 0, 0), old.localModification));
  }
  MemoryFileSystem fs;
  fs.AddFile(L"C:\\f.txt");
  EXPECT_EQ(0, FileTimes(kTimesNone, kTimesCreation, L"C:\\f.txt", creation, modification, nullptr, kItemFile, fs));
  EXPECT_TRUE(fs.setTimesCalls.empty());
}

TEST(FileTimes, ReadOnlyFileGetsItsTimeAndStaysReadOnly) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"ro.txt", "r");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  FaultyFileSystem fs;
  const FILETIME wanted = Utc(2019, 6, 1, 3, 0, 0);
  EXPECT_EQ(0, FileTimes(kTimesModification, kTimesBoth, path, wanted, wanted, nullptr, kItemUnknown, fs));
  EXPECT_TRUE(SameFileTime(wanted, WriteTimeOf(path)));
  EXPECT_TRUE(IsReadOnly(path));
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  // Cleared before the change, restored after it.
  std::vector<FsCall> order;
  for (const FsCallRecord& r : fs.calls) {
    if (r.call == FsCall::SetAttributes || r.call == FsCall::SetTimes) order.push_back(r.call);
  }
  EXPECT_EQ((std::vector<FsCall>{FsCall::SetAttributes, FsCall::SetTimes, FsCall::SetAttributes}), order);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// As root, Wine lets a read-only file be opened for writing; the double refuses as Windows does, so
// it shows that the attribute really is lifted for the change.
TEST(FileTimes, ReadOnlyIsLiftedForTheChangeOnly) {
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"C:\\ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
  const FILETIME wanted = Utc(2019, 6, 1, 3, 0, 0);
  EXPECT_EQ(0, FileTimes(kTimesBoth, kTimesNone, L"C:\\ro.txt", wanted, wanted, nullptr, kItemUnknown, fs));
  EXPECT_TRUE(SameFileTime(wanted, item.modification));
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM), item.attributes);
  EXPECT_EQ((std::vector<DWORD>{FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM}),
            fs.attributesWritten);

  // A report alone does not touch the attributes.
  fs.attributesWritten.clear();
  EXPECT_EQ(0, FileTimes(kTimesNone, kTimesBoth, L"C:\\ro.txt", wanted, wanted, nullptr, kItemUnknown, fs));
  EXPECT_TRUE(fs.attributesWritten.empty());
}

TEST(FileTimes, FailingChangeStillRestoresReadOnly) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"ro.txt", "r");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const FILETIME before = WriteTimeOf(path);
  FaultyFileSystem fs;
  fs.FailNth(FsCall::SetTimes, 1, ERROR_WRITE_PROTECT);
  const FILETIME wanted = Utc(2019, 6, 1, 3, 0, 0);
  OldFileTimes old;
  EXPECT_EQ(1, FileTimes(kTimesModification, kTimesBoth, path, wanted, wanted, &old, kItemUnknown, fs));
  EXPECT_EQ(static_cast<DWORD>(ERROR_WRITE_PROTECT), GetLastError());
  EXPECT_TRUE(IsReadOnly(path));
  EXPECT_TRUE(SameFileTime(before, WriteTimeOf(path)));
  EXPECT_EQ(2, fs.CountOf(FsCall::SetAttributes));
  EXPECT_EQ(kTimesNone, old.reported);  // a failed change reports nothing for the log

  // Reading the old times fails: nothing is set, the attribute comes back all the same.
  FaultyFileSystem readFails;
  readFails.FailNth(FsCall::GetTimes, 1, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(1, FileTimes(kTimesModification, kTimesBoth, path, wanted, wanted, &old, kItemUnknown, readFails));
  EXPECT_EQ(0, readFails.CountOf(FsCall::SetTimes));
  EXPECT_TRUE(IsReadOnly(path));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileTimes, ReadOnlyThatCannotBeClearedFailsWithoutChange) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"ro.txt", "r");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const FILETIME before = WriteTimeOf(path);
  FaultyFileSystem fs;
  fs.FailNth(FsCall::SetAttributes, 1, ERROR_ACCESS_DENIED);
  const FILETIME wanted = Utc(2019, 6, 1, 3, 0, 0);
  EXPECT_EQ(1, FileTimes(kTimesModification, kTimesNone, path, wanted, wanted, nullptr, kItemUnknown, fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetTimes));
  EXPECT_TRUE(SameFileTime(before, WriteTimeOf(path)));
  EXPECT_TRUE(IsReadOnly(path));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// An unreadable attribute word has every bit set; it must not be taken for "read-only" and written back.
TEST(FileTimes, UnreadableAttributesAreNotWrittenBack) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  FaultyFileSystem fs;
  fs.FailWhen([](const FsCallRecord& r) { return r.call == FsCall::GetAttributes; }, ERROR_ACCESS_DENIED);
  const FILETIME wanted = Utc(2019, 6, 1, 3, 0, 0);
  EXPECT_EQ(0, FileTimes(kTimesModification, kTimesNone, path, wanted, wanted, nullptr, kItemFile, fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetAttributes));
  EXPECT_TRUE(SameFileTime(wanted, WriteTimeOf(path)));
}

}  // namespace
}  // namespace korval
