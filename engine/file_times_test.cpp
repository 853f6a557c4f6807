#include "engine/file_times.h"

#include <gtest/gtest.h>

#include "testing/memory_file_system.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

SYSTEMTIME Calendar(int year, int month, int day, int hour, int minute, int second) {
  return SYSTEMTIME{static_cast<WORD>(year), static_cast<WORD>(month),  0, static_cast<WORD>(day),
                    static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second), 0};
}

FILETIME Utc(int year, int month, int day, int hour, int minute, int second) {
  const SYSTEMTIME t = Calendar(year, month, day, hour, minute, second);
  FILETIME f{};
  SystemTimeToFileTime(&t, &f);
  return f;
}

FILETIME WriteTimeOf(const std::wstring& path) {
  FILETIME write{};
  EXPECT_TRUE(SystemFileSystem().GetTimes(path.c_str(), nullptr, nullptr, &write));
  return write;
}

bool IsReadOnly(const std::wstring& path) { return (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0; }

// The tests run in Japan's time zone (no summer time), nine hours ahead of UTC.
TEST(FileTimes, LocalCalendarConversions) {
  SYSTEMTIME local;
  ASSERT_TRUE(FileTimeToLocalCalendar(Utc(2019, 12, 31, 20, 30, 5), local));
  EXPECT_EQ(0, CompareTimes(Calendar(2020, 1, 1, 5, 30, 5), local));
  FILETIME back;
  ASSERT_TRUE(LocalCalendarToFileTime(local, back));
  EXPECT_TRUE(SameFileTime(Utc(2019, 12, 31, 20, 30, 5), back));
  EXPECT_TRUE(LocalCalendarToFileTime(Calendar(2000, 2, 29, 23, 59, 59), back));
  const SYSTEMTIME noTimes[] = {Calendar(2019, 2, 29, 0, 0, 0), Calendar(1900, 2, 29, 0, 0, 0),
                                Calendar(2019, 4, 31, 0, 0, 0), Calendar(2019, 13, 1, 0, 0, 0),
                                Calendar(2019, 6, 0, 0, 0, 0),  Calendar(2019, 6, 1, 24, 0, 0),
                                Calendar(2019, 6, 1, 0, 60, 0), Calendar(2019, 6, 1, 0, 0, 60),
                                Calendar(1600, 12, 31, 0, 0, 0)};
  for (const SYSTEMTIME& t : noTimes) EXPECT_FALSE(LocalCalendarToFileTime(t, back)) << t.wYear << "/" << t.wMonth;
}

TEST(CompareTimes, SignOfTheDifferenceToTheSecond) {
  const SYSTEMTIME base = Calendar(2019, 6, 15, 12, 30, 30);
  const struct {
    SYSTEMTIME other;
    int sign;
  } cases[] = {
      {Calendar(2019, 6, 15, 12, 30, 30), 0},  {Calendar(2019, 6, 15, 12, 30, 31), 1},
      {Calendar(2019, 6, 15, 11, 59, 59), -1}, {Calendar(2019, 6, 16, 0, 0, 0), 1},
      {Calendar(2019, 5, 31, 23, 59, 59), -1}, {Calendar(2018, 12, 31, 23, 59, 59), -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.sign, CompareTimes(base, c.other));
    EXPECT_EQ(-c.sign, CompareTimes(c.other, base));
  }
  SYSTEMTIME sameSecond = base;
  sameSecond.wMilliseconds = 999;
  EXPECT_EQ(0, CompareTimes(base, sameSecond));
}

TEST(FileTimes, SetsFilesAndFoldersAndReportsTheOldTimes) {
  TempFolder dir;
  const std::wstring file = dir.WriteFile(L"a.txt", "a");
  const std::wstring folder = dir / L"sub";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  int second = 0;
  for (const std::wstring& path : {file, folder}) {
    for (const int flag : {0, 1, -1, 7}) {  // file, folder, unknown, anything else
      const FILETIME before = WriteTimeOf(path);
      const FILETIME wanted = Utc(2018, 1, 2, 3, 4, ++second);
      OldFileTimes old;
      EXPECT_EQ(0, FileTimes(kTimesModification, kTimesBoth, path, {}, wanted, &old, flag)) << Utf8(path) << flag;
      EXPECT_TRUE(SameFileTime(wanted, WriteTimeOf(path))) << Utf8(path) << flag;
      EXPECT_EQ(kTimesBoth, old.reported);
      EXPECT_TRUE(SameFileTime(before, old.modification));
    }
  }
  OldFileTimes old;
  EXPECT_EQ(0, FileTimes(kTimesNone, kTimesModification, file, {}, {}, &old, kItemFile));
  EXPECT_EQ(0, CompareTimes(Calendar(2018, 1, 2, 12, 4, 4), old.localModification));
}

TEST(FileTimes, NothingThereOrABadRequestFailsWithoutChange) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  FaultyFileSystem fs;
  const FILETIME t = Utc(2019, 1, 1, 0, 0, 0);
  for (const int flag : {kItemUnknown, kItemFile}) {
    EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesBoth, dir / L"missing.txt", t, t, nullptr, flag, fs));
    EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesNone, dir / L"*.txt", t, t, nullptr, flag, fs));
    EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesNone, L"", t, t, nullptr, flag, fs));
  }
  EXPECT_EQ(1, FileTimes(4, kTimesNone, path, t, t, nullptr, kItemUnknown, fs));
  EXPECT_EQ(1, FileTimes(-1, kTimesNone, path, t, t, nullptr, kItemUnknown, fs));
  // Times the system reads as "leave it as it is": a success would change nothing.
  const FILETIME zero{}, allOnes{0xFFFFFFFF, 0xFFFFFFFF};
  EXPECT_EQ(1, FileTimes(kTimesModification, kTimesNone, path, t, zero, nullptr, kItemFile, fs));
  EXPECT_EQ(1, FileTimes(kTimesCreation, kTimesNone, path, allOnes, t, nullptr, kItemFile, fs));
  EXPECT_EQ(1, FileTimes(kTimesBoth, kTimesNone, path, t, allOnes, nullptr, kItemFile, fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetTimes) + fs.CountOf(FsCall::SetAttributes));
}

// Wine keeps no creation time of its own, so which times reach the seam is checked on the double.
TEST(FileTimes, SetWhatChoosesTheTimesHandedToTheSeam) {
  const FILETIME old = LocalFileTime(2000, 1, 1, 0, 0, 0), creation = LocalFileTime(2010, 1, 1, 0, 0, 0),
                 modification = LocalFileTime(2011, 1, 1, 0, 0, 0);
  for (const int setWhat : {kTimesNone, kTimesCreation, kTimesModification, kTimesBoth}) {
    MemoryFileSystem fs;
    MemoryFileSystem::Item& item = fs.AddFile(L"C:\\f.txt");
    item.creation = item.modification = old;
    EXPECT_EQ(0, FileTimes(setWhat, kTimesNone, L"C:\\f.txt", creation, modification, nullptr, kItemFile, fs));
    EXPECT_EQ(setWhat != kTimesNone, fs.setTimesCalls.size() == 1);
    EXPECT_TRUE(SameFileTime(setWhat & kTimesCreation ? creation : old, item.creation)) << setWhat;
    EXPECT_TRUE(SameFileTime(setWhat & kTimesModification ? modification : old, item.modification)) << setWhat;
  }
}

// As root, Wine lets a read-only file be opened for writing; the double refuses as Windows does, so
// it shows that the attribute really is lifted for the change, and only for it.
TEST(FileTimes, ReadOnlyIsLiftedForTheChangeOnly) {
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"C:\\ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
  const FILETIME wanted = LocalFileTime(2019, 6, 1, 12, 0, 0);
  EXPECT_EQ(0, FileTimes(kTimesNone, kTimesBoth, L"C:\\ro.txt", wanted, wanted, nullptr, kItemUnknown, fs));
  EXPECT_TRUE(fs.attributesWritten.empty());  // a report alone leaves the attributes alone
  EXPECT_EQ(0, FileTimes(kTimesBoth, kTimesNone, L"C:\\ro.txt", wanted, wanted, nullptr, kItemUnknown, fs));
  EXPECT_TRUE(SameFileTime(wanted, item.modification));
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM), item.attributes);
  EXPECT_EQ((std::vector<DWORD>{FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM}),
            fs.attributesWritten);
}

TEST(FileTimes, FailingChangeStillRestoresReadOnly) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"ro.txt", "r");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const FILETIME before = WriteTimeOf(path);
  const FILETIME wanted = Utc(2019, 6, 1, 3, 0, 0);
  const struct {
    FsCall call;
    int nth;
  } faults[] = {{FsCall::SetTimes, 1}, {FsCall::GetTimes, 1}, {FsCall::SetAttributes, 1}};
  for (const auto& f : faults) {
    FaultyFileSystem fs;
    fs.FailNth(f.call, f.nth, ERROR_WRITE_PROTECT);
    OldFileTimes old;
    EXPECT_EQ(1, FileTimes(kTimesModification, kTimesBoth, path, wanted, wanted, &old, kItemUnknown, fs));
    EXPECT_EQ(static_cast<DWORD>(ERROR_WRITE_PROTECT), GetLastError());
    EXPECT_EQ(kTimesNone, old.reported);  // a failed change gives the log nothing
    EXPECT_TRUE(IsReadOnly(path));
    EXPECT_TRUE(SameFileTime(before, WriteTimeOf(path)));
  }
  // Without a fault the read-only file gets its time and stays read-only.
  EXPECT_EQ(0, FileTimes(kTimesModification, kTimesNone, path, wanted, wanted, nullptr, kItemUnknown));
  EXPECT_TRUE(SameFileTime(wanted, WriteTimeOf(path)));
  EXPECT_TRUE(IsReadOnly(path));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// An unreadable attribute word has every bit set; it must not be taken for "read-only" and written back.
TEST(FileTimes, UnreadableAttributesAreNotWrittenBack) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  FaultyFileSystem fs;
  fs.FailWhen([](const FsCallRecord& r) { return r.call == FsCall::GetAttributes; }, ERROR_ACCESS_DENIED);
  EXPECT_EQ(0, FileTimes(kTimesModification, kTimesNone, path, {}, Utc(2019, 6, 1, 3, 0, 0), nullptr, kItemFile, fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetAttributes));
}

}  // namespace
}  // namespace korval
