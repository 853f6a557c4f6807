#include "engine/timestamp_mode.h"

#include <gtest/gtest.h>

#include "engine/memory_file_system_test.h"
#include "engine/validate_row.h"
#include "modes/change_mode.h"
#include "platform/faulty_file_system.h"
#include "platform/format_text.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

ModeParams Stamp(int selection, const wchar_t* date, const wchar_t* time, int perFile = 0) {
  ModeParams p;
  p.creatmodif = selection;
  p.baseDate = date;
  p.baseTime = time;
  p.timeplus = perFile;
  return p;
}

std::wstring Describe(const ModeParams& p, int row, const std::wstring& source, FileSystem& fs) {
  TimestampRun run;
  return DescribeTimestamp(p, run, row, source, fs);
}

SYSTEMTIME LocalWriteTime(const std::wstring& path) {
  FILETIME write{};
  EXPECT_TRUE(SystemFileSystem().GetTimes(path.c_str(), nullptr, nullptr, &write));
  SYSTEMTIME local{};
  EXPECT_TRUE(FileTimeToLocalCalendar(write, local));
  return local;
}

TEST(Timestamp, TenRowsOneMinuteApartOnRealFiles) {
  TempFolder dir;
  const ModeParams p = Stamp(kStampSetModification, L"2019/06/01", L"12:00:00", 60);
  TimestampRun run;
  TransformContext ctx;
  ctx.params = &p;
  ctx.timestampRun = &run;
  for (int n = 0; n < 10; ++n) {
    const std::wstring path = dir.WriteFile(L"f" + std::to_wstring(n) + L".txt", "x");
    std::wstring description;
    TimestampTransform(ctx, path, n, description);
    EXPECT_EQ(FormatText(L"<更新：2019/06/01 12:%02d:00>", n), description);
    OldFileTimes old;
    EXPECT_EQ(0, ApplyTimestamp(path, dir.Path() + description, &old));
    EXPECT_EQ(kTimesBoth, old.reported);
    const SYSTEMTIME now = LocalWriteTime(path);
    EXPECT_EQ(2019, now.wYear);
    EXPECT_EQ(12, now.wHour);
    EXPECT_EQ(n, now.wMinute);
    EXPECT_EQ(0, now.wSecond);
  }
}

TEST(Timestamp, LabelsOfTheSelections) {
  MemoryFileSystem fs;
  const struct {
    int selection;
    const wchar_t* description;
  } cases[] = {
      {kStampSetCreation, L"<作成：2019/06/01 12:00:07>"},
      {kStampSetModification, L"<更新：2019/06/01 12:00:07>"},
      {kStampSetBoth, L"<両方：2019/06/01 12:00:07>"},
      {7, L""},
      {-1, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.description, Describe(Stamp(c.selection, L"2019/06/01", L"12:00:07"), 0, L"C:\\a.txt", fs));
  }
}

TEST(Timestamp, FatVolumeRoundsTheBaseDownToEvenSeconds) {
  MemoryFileSystem fat;
  fat.volumeName = L"FAT32";
  const ModeParams p = Stamp(kStampSetCreation, L"2019/06/01", L"12:00:01", 1);
  TimestampRun run;
  EXPECT_EQ(L"<作成：2019/06/01 12:00:00>", DescribeTimestamp(p, run, 0, L"E:\\photos\\a.jpg", fat));
  // Only the base is rounded; the steps per file are added as they are.
  EXPECT_EQ(L"<作成：2019/06/01 12:00:01>", DescribeTimestamp(p, run, 1, L"E:\\photos\\b.jpg", fat));
  EXPECT_EQ(L"<作成：2019/06/01 12:00:02>", DescribeTimestamp(p, run, 2, L"E:\\photos\\c.jpg", fat));
  EXPECT_EQ((std::vector<std::wstring>{L"E:\\"}), fat.volumeRoots);  // asked once per pass

  MemoryFileSystem ntfs;
  EXPECT_EQ(L"<作成：2019/06/01 12:00:01>", Describe(p, 0, L"C:\\a.jpg", ntfs));
  MemoryFileSystem unknown;
  unknown.volumeName.clear();
  EXPECT_EQ(L"<作成：2019/06/01 12:00:01>", Describe(p, 0, L"C:\\a.jpg", unknown));
}

TEST(Timestamp, BaseIsReadOncePerPass) {
  MemoryFileSystem fs;
  ModeParams p = Stamp(kStampSetBoth, L"2019/06/01", L"12:00:00", 10);
  TimestampRun run;
  EXPECT_EQ(L"<両方：2019/06/01 12:00:00>", DescribeTimestamp(p, run, 0, L"C:\\a", fs));
  p.baseDate = L"2020/01/01";
  EXPECT_EQ(L"<両方：2019/06/01 12:00:10>", DescribeTimestamp(p, run, 1, L"C:\\b", fs));
  TimestampRun next;
  EXPECT_EQ(L"<両方：2020/01/01 12:00:10>", DescribeTimestamp(p, next, 1, L"C:\\b", fs));
  // Without a run record in the context every row reads the pickers itself.
  TransformContext ctx;
  ctx.params = &p;
  ctx.fs = &fs;
  std::wstring target = L"stale";
  TimestampTransform(ctx, L"C:\\c", 2, target);
  EXPECT_EQ(L"<両方：2020/01/01 12:00:20>", target);
}

TEST(Timestamp, SecondsPerFileCrossDaysMonthsAndYears) {
  MemoryFileSystem fs;
  const struct {
    const wchar_t* date;
    const wchar_t* time;
    int perFile;
    int row;
    const wchar_t* description;
  } cases[] = {
      {L"2019/12/31", L"23:59:30", 60, 1, L"<更新：2020/01/01 00:00:30>"},
      {L"2020/02/28", L"23:00:00", 86400, 1, L"<更新：2020/02/29 23:00:00>"},
      {L"2019/02/28", L"23:00:00", 86400, 1, L"<更新：2019/03/01 23:00:00>"},
      {L"2019/06/01", L"12:00:00", 604800, 2, L"<更新：2019/06/15 12:00:00>"},
      {L"2019/06/01", L"12:00:00", 0, 500, L"<更新：2019/06/01 12:00:00>"},
      {L"2019/06/01", L"12:00:00", 60, -3, L"<更新：2019/06/01 12:00:00>"},  // a bad counter counts as 0
      {L"9999/12/31", L"23:59:59", 0, 9, L"<更新：9999/12/31 23:59:59>"},
      {L"9999/12/31", L"23:59:59", 1, 1, L""},  // no five-digit years
      {L"2000/01/01", L"00:00:00", 604800, 49999, L"<更新：2958/04/01 00:00:00>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.description, Describe(Stamp(kStampSetModification, c.date, c.time, c.perFile), c.row, L"C:\\a", fs))
        << Utf8(c.date) << " " << Utf8(c.time) << " row " << c.row;
  }
}

TEST(Timestamp, PickerTextsThatAreNoDateGiveNoDescription) {
  MemoryFileSystem fs;
  const std::wstring longText(259, L'9');
  const struct {
    std::wstring date;
    std::wstring time;
  } cases[] = {
      {L"", L"12:00:00"},           {L"2019/6/1", L"12:00:00"},   {L"2019/13/01", L"12:00:00"},
      {L"2019/02/30", L"12:00:00"}, {L"abcd/01/01", L"12:00:00"}, {L"\uFF12\uFF10\uFF11\uFF19/06/01", L"12:00:00"},
      {L"2019/06/01", L""},         {L"2019/06/01", L"12:00"},    {L"2019/06/01", L"24:00:00"},
      {L"2019/06/01", L"12:60:00"}, {L"2019/06/01", L"1a:00:00"}, {longText, longText},
      {L"1500/01/01", L"00:00:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(L"", Describe(Stamp(kStampSetCreation, c.date.c_str(), c.time.c_str(), 1), 0, L"C:\\a", fs))
        << Utf8(c.date) << " " << Utf8(c.time);
  }
}

// Wine cannot keep a creation time apart from the modification time, so files whose two times differ
// live in the in-memory double.
class TimestampCopyTest : public testing::Test {
 protected:
  void Times(FILETIME creation, FILETIME modification) {
    MemoryFileSystem::Item& item = fs_.AddFile(kPath);
    item.creation = creation;
    item.modification = modification;
  }
  std::wstring Copy(int selection, int condition) {
    ModeParams p = Stamp(selection, L"", L"");
    p.timestpsm = condition;
    return Describe(p, 0, kPath, fs_);
  }
  static constexpr const wchar_t* kPath = L"C:\\dir\\a.txt";
  MemoryFileSystem fs_;
};

TEST_F(TimestampCopyTest, ConditionsOnAModificationEarlierThanTheCreation) {
  Times(LocalFileTime(2019, 6, 1, 10, 0, 0), LocalFileTime(2019, 5, 1, 8, 0, 0));
  const std::wstring toCreation = L"<作成：2019/05/01 08:00:00>";
  const std::wstring toModification = L"<更新：2019/06/01 10:00:00>";
  EXPECT_EQ(toCreation, Copy(kStampCreationFromModification, kCopyAlways));
  EXPECT_EQ(kTimestampUnchanged, Copy(kStampCreationFromModification, kCopyIfLater));
  EXPECT_EQ(toCreation, Copy(kStampCreationFromModification, kCopyIfEarlier));
  EXPECT_EQ(toModification, Copy(kStampModificationFromCreation, kCopyAlways));
  EXPECT_EQ(toModification, Copy(kStampModificationFromCreation, kCopyIfLater));
  EXPECT_EQ(kTimestampUnchanged, Copy(kStampModificationFromCreation, kCopyIfEarlier));
}

TEST_F(TimestampCopyTest, EqualToTheSecondIsNeitherLaterNorEarlier) {
  const FILETIME whole = LocalFileTime(2019, 6, 1, 10, 0, 0);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = whole.dwLowDateTime;
  ticks.HighPart = whole.dwHighDateTime;
  ticks.QuadPart += 5000000;  // half a second later
  const FILETIME modification{ticks.LowPart, ticks.HighPart};
  Times(LocalFileTime(2019, 6, 1, 10, 0, 0), modification);
  for (const int selection : {kStampCreationFromModification, kStampModificationFromCreation}) {
    EXPECT_EQ(kTimestampUnchanged, Copy(selection, kCopyIfLater));
    EXPECT_EQ(kTimestampUnchanged, Copy(selection, kCopyIfEarlier));
    EXPECT_NE(kTimestampUnchanged, Copy(selection, kCopyAlways));
  }
}

TEST_F(TimestampCopyTest, UnchangedRowsAndUnreadableFilesBecomeInvalidName) {
  TempFolder dir;
  dir.WriteFile(L"a.txt", "a");
  Times(LocalFileTime(2019, 6, 1, 10, 0, 0), LocalFileTime(2019, 5, 1, 8, 0, 0));
  LiveExistence existence;
  for (const std::wstring& description : {Copy(kStampCreationFromModification, kCopyIfLater),
                                          Describe(Stamp(kStampCreationFromModification, L"", L""), 0,
                                                   L"C:\\dir\\missing.txt", fs_)}) {
    RenameList list;
    list.Append({L"a.txt", L".txt", dir.Path(), description, L"", L"", ItemStatus::None, false});
    EXPECT_EQ(ItemStatus::InvalidName, ValidateRow(list, 0, kModeTimestamp, true, existence)) << Utf8(description);
  }
}

TEST(Timestamp, ShiftByDaysAndTheTimeOfDay) {
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"C:\\a.txt");
  item.creation = LocalFileTime(2019, 6, 3, 10, 0, 0);
  item.modification = LocalFileTime(2019, 6, 1, 0, 0, 0);
  const struct {
    int selection, direction, days;
    const wchar_t* time;
    const wchar_t* description;
  } cases[] = {
      {kStampShiftCreation, kShiftEarlier, 1, L"02:30:00", L"<作成：2019/06/02 07:30:00>"},
      {kStampShiftCreation, kShiftLater, 1, L"02:30:00", L"<作成：2019/06/04 12:30:00>"},
      {kStampShiftCreation, kShiftLater, 0, L"00:00:00", L"<作成：2019/06/03 10:00:00>"},
      {kStampShiftModification, kShiftLater, 366, L"00:00:01", L"<更新：2020/06/01 00:00:01>"},
      {kStampShiftModification, kShiftEarlier, 0, L"23:59:59", L"<更新：2019/05/31 00:00:01>"},
      {kStampShiftModification, kShiftEarlier, 1, L"bad", L""},
  };
  for (const auto& c : cases) {
    ModeParams p = Stamp(c.selection, L"", c.time);  // the date picker plays no part here
    p.fwdback = c.direction;
    p.fwdbackdays = c.days;
    EXPECT_EQ(c.description, Describe(p, 3, L"C:\\a.txt", fs)) << Utf8(c.description);
  }
  ModeParams p = Stamp(kStampShiftCreation, L"", L"01:00:00");
  EXPECT_EQ(L"", Describe(p, 0, L"C:\\missing.txt", fs));
}

TEST(Timestamp, ShiftOnFatUsesTheRoundedTimeOfDayAndStaysInRange) {
  MemoryFileSystem fs;
  fs.volumeName = L"FAT";
  MemoryFileSystem::Item& item = fs.AddFile(L"A:\\a.txt");
  item.creation = LocalFileTime(2019, 6, 3, 10, 0, 0);
  item.modification = LocalFileTime(1601, 1, 2, 9, 0, 0);
  ModeParams p = Stamp(kStampShiftCreation, L"", L"00:00:03");
  p.fwdback = kShiftLater;
  EXPECT_EQ(L"<作成：2019/06/03 10:00:02>", Describe(p, 0, L"A:\\a.txt", fs));
  p.creatmodif = kStampShiftModification;
  p.fwdback = kShiftEarlier;
  p.fwdbackdays = 2;  // before the first representable time
  EXPECT_EQ(L"", Describe(p, 0, L"A:\\a.txt", fs));
}

TEST(Timestamp, ApplyChoosesTheTimesByTheWordOfTheDescriptionOnly) {
  const FILETIME value = LocalFileTime(2019, 6, 1, 12, 0, 0);
  const struct {
    const wchar_t* target;
    bool creation, modification;
  } cases[] = {
      {L"C:\\dir\\<作成：2019/06/01 12:00:00>", true, false},
      {L"C:\\dir\\<更新：2019/06/01 12:00:00>", false, true},
      {L"C:\\dir\\<両方：2019/06/01 12:00:00>", true, true},
      {L"C:\\更新\\<作成：2019/06/01 12:00:00>", true, false},  // the folder's name does not count
      {L"C:\\作成\\両方\\<更新：2019/06/01 12:00:00>", false, true},
  };
  for (const auto& c : cases) {
    MemoryFileSystem fs;
    MemoryFileSystem::Item& item = fs.AddFile(L"C:\\src.txt");
    item.creation = LocalFileTime(2001, 1, 1, 0, 0, 0);
    item.modification = LocalFileTime(2002, 2, 2, 0, 0, 0);
    OldFileTimes old;
    EXPECT_EQ(0, ApplyTimestamp(L"C:\\src.txt", c.target, &old, fs)) << Utf8(c.target);
    ASSERT_EQ(1u, fs.setTimesCalls.size()) << Utf8(c.target);
    EXPECT_EQ(c.creation, fs.setTimesCalls[0].creation) << Utf8(c.target);
    EXPECT_EQ(c.modification, fs.setTimesCalls[0].modification) << Utf8(c.target);
    EXPECT_TRUE(SameFileTime(c.creation ? value : LocalFileTime(2001, 1, 1, 0, 0, 0), item.creation));
    EXPECT_TRUE(SameFileTime(c.modification ? value : LocalFileTime(2002, 2, 2, 0, 0, 0), item.modification));
    // Both old times go to the change log, whichever was changed.
    EXPECT_EQ(kTimesBoth, old.reported);
    EXPECT_EQ(2001, old.localCreation.wYear);
    EXPECT_EQ(2002, old.localModification.wYear);
  }
}

TEST(Timestamp, ApplyLeavesTargetsWithoutADateAlone) {
  const std::wstring longTarget = L"C:\\" + std::wstring(231, L'd') + L"\\<更新：2019/06/01 12:00:00>";
  ASSERT_EQ(259u, longTarget.size());
  const struct {
    std::wstring target;
    int result;
    bool changed;
  } cases[] = {
      {L"", 0, false},
      {L"C:\\dir\\** 変更されません **", 0, false},
      {L"<更新：2019/06/01 12:00:00>", 0, false},  // no folder in front
      {L"C:\\dir\\<更新：2019/06/0x 12:00:00>", 0, false},
      {L"C:\\dir\\<更新：2019/06/01 12:00:0", 0, false},
      {L"C:\\dir\\<", 0, false},
      {L"C:\\dir\\<更新：2019/02/30 12:00:00>", 1, false},  // digits, but no such day
      {L"C:\\dir\\<更新：2019/06/01 25:00:00>", 1, false},
      {longTarget, 0, true},
      {longTarget + L"x", 0, true},
  };
  for (const auto& c : cases) {
    MemoryFileSystem fs;
    fs.AddFile(L"C:\\src.txt");
    OldFileTimes old;
    old.reported = kTimesCreation;
    EXPECT_EQ(c.result, ApplyTimestamp(L"C:\\src.txt", c.target, &old, fs)) << Utf8(c.target);
    EXPECT_EQ(c.changed ? 1u : 0u, fs.setTimesCalls.size()) << Utf8(c.target);
    EXPECT_EQ(c.changed ? kTimesBoth : kTimesNone, old.reported) << Utf8(c.target);
  }
  MemoryFileSystem fs;
  EXPECT_EQ(1, ApplyTimestamp(L"C:\\missing.txt", L"C:\\<更新：2019/06/01 12:00:00>", nullptr, fs));
}

TEST(Timestamp, ReadOnlyFileGetsItsNewTimeAndStaysReadOnly) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"ro.txt", "r");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(0, ApplyTimestamp(path, dir.Path() + L"<更新：2019/06/01 12:34:56>", nullptr));
  const SYSTEMTIME now = LocalWriteTime(path);
  EXPECT_EQ(12, now.wHour);
  EXPECT_EQ(34, now.wMinute);
  EXPECT_EQ(56, now.wSecond);
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);

  // A change that fails leaves it read-only as well.
  FaultyFileSystem fs;
  fs.FailNth(FsCall::SetTimes, 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(1, ApplyTimestamp(path, dir.Path() + L"<更新：2000/01/01 00:00:00>", nullptr, fs));
  EXPECT_EQ(34, LocalWriteTime(path).wMinute);
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Attributes, Descriptions) {
  const struct {
    AttributeChoices choices;
    const wchar_t* description;
  } cases[] = {
      {{1, 2, 0, 2}, L"<読：Y, 隠：-, ア：N, シ：->"},
      {{0, 0, 0, 0}, L"<読：N, 隠：N, ア：N, シ：N>"},
      {{1, 1, 1, 1}, L"<読：Y, 隠：Y, ア：Y, シ：Y>"},
      {{2, 2, 2, 2}, L"<読：-, 隠：-, ア：-, シ：->"},
      {{9, -1, 3, 1}, L"<読：-, 隠：-, ア：-, シ：Y>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.description, DescribeAttributes(c.choices));
    ModeParams p;
    p.attributes = c.choices;
    TransformContext ctx;
    ctx.params = &p;
    std::wstring target;
    AttributeTransform(ctx, L"C:\\x.txt", target);
    EXPECT_EQ(c.description, target);
  }
  TransformContext empty;
  std::wstring target = L"stale";
  AttributeTransform(empty, L"C:\\x.txt", target);
  EXPECT_EQ(L"", target);
  TimestampTransform(empty, L"C:\\x.txt", 0, target);
  EXPECT_EQ(L"", target);
}

// The archive attribute cannot be cleared under Wine: the in-memory double keeps it as Windows does.
TEST(Attributes, ApplyReadsTheFlagsBackFromTheDescription) {
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"C:\\dir\\a.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  AttributeFlags old{};
  const std::wstring target = L"C:\\dir\\" + DescribeAttributes({1, 2, 0, 2});
  EXPECT_EQ(0, ApplyAttributes(L"C:\\dir\\a.txt", target, &old, fs));
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), item.attributes);
  EXPECT_EQ(L"NYYN", std::wstring(old.begin(), old.end()));

  // Flags are read only where the text reaches back far enough; anything but Y and N leaves.
  const struct {
    std::wstring target;
    DWORD after;
  } cases[] = {
      {L"", FILE_ATTRIBUTE_SYSTEM},
      {L"Y", FILE_ATTRIBUTE_SYSTEM},
      {std::wstring(16, L'Y'), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM},
      {std::wstring(17, L'Y'), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_SYSTEM},
      {std::wstring(259, L'N'), 0},
      {L"C:\\dir\\<読：y, 隠：n, ア：?, シ：->", FILE_ATTRIBUTE_SYSTEM},
  };
  for (const auto& c : cases) {
    item.attributes = FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(0, ApplyAttributes(L"C:\\dir\\a.txt", c.target, nullptr, fs)) << Utf8(c.target);
    EXPECT_EQ(c.after, item.attributes) << Utf8(c.target);
  }
  EXPECT_EQ(1, ApplyAttributes(L"C:\\dir\\missing.txt", target, nullptr, fs));
}

TEST(Attributes, ApplyOnARealFile) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  AttributeFlags old{};
  EXPECT_EQ(0, ApplyAttributes(path, dir.Path() + DescribeAttributes({1, 1, 2, 2}), &old));
  const DWORD now = GetFileAttributesW(path.c_str());
  EXPECT_TRUE(now & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(now & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(now & FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(L'N', old[0]);
  EXPECT_EQ(L'N', old[1]);
  EXPECT_EQ(0, ApplyAttributes(path, dir.Path() + DescribeAttributes({0, 0, 2, 2}), &old));
  EXPECT_EQ(L'Y', old[0]);
  EXPECT_EQ(L'Y', old[1]);
  EXPECT_FALSE(GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

}  // namespace
}  // namespace korval
