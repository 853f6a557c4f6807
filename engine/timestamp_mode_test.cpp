#include "engine/timestamp_mode.h"

#include <gtest/gtest.h>

#include "testing/memory_file_system.h"
#include "platform/format_text.h"
#include "testing/temp_folder.h"

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
    EXPECT_EQ(0, ApplyTimestamp(path, dir.Path() + description, nullptr));
    FILETIME write{};
    ASSERT_TRUE(SystemFileSystem().GetTimes(path.c_str(), nullptr, nullptr, &write));
    EXPECT_TRUE(SameFileTime(LocalFileTime(2019, 6, 1, 12, n, 0), write)) << n;
  }
}

TEST(Timestamp, BaseAndSecondsPerFile) {
  MemoryFileSystem fs;
  const struct {
    int selection;
    const wchar_t *date, *time;
    int perFile, row;
    const wchar_t* description;
  } cases[] = {
      {kStampSetCreation, L"2019/06/01", L"12:00:07", 5, 0, L"<作成：2019/06/01 12:00:07>"},
      {kStampSetBoth, L"2019/06/01", L"12:00:07", 5, 2, L"<両方：2019/06/01 12:00:17>"},
      {kStampSetModification, L"2019/12/31", L"23:59:30", 60, 1, L"<更新：2020/01/01 00:00:30>"},
      {kStampSetModification, L"2020/02/28", L"23:00:00", 86400, 1, L"<更新：2020/02/29 23:00:00>"},
      {kStampSetModification, L"2019/02/28", L"23:00:00", 86400, 1, L"<更新：2019/03/01 23:00:00>"},
      {kStampSetModification, L"2000/01/01", L"00:00:00", 604800, 49999, L"<更新：2958/04/01 00:00:00>"},
      {kStampSetModification, L"2019/06/01", L"12:00:00", 60, -3, L"<更新：2019/06/01 12:00:00>"},
      {kStampSetModification, L"9999/12/31", L"23:59:59", 1, 1, L""},  // no five-digit years
      {7, L"2019/06/01", L"12:00:00", 0, 0, L""},
      {-1, L"2019/06/01", L"12:00:00", 0, 0, L""},
      // Picker texts that are no date or time.
      {kStampSetCreation, L"", L"12:00:00", 0, 0, L""},
      {kStampSetCreation, L"2019/6/1", L"12:00:00", 0, 0, L""},
      {kStampSetCreation, L"2019/02/29", L"12:00:00", 0, 0, L""},
      {kStampSetCreation, L"\uFF12\uFF10\uFF11\uFF19/06/01", L"12:00:00", 0, 0, L""},
      {kStampSetCreation, L"2019/06/01", L"12:00", 0, 0, L""},
      {kStampSetCreation, L"2019/06/01", L"24:00:00", 0, 0, L""},
      {kStampSetCreation, L"1600/06/01", L"12:00:00", 0, 0, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.description, Describe(Stamp(c.selection, c.date, c.time, c.perFile), c.row, L"C:\\a", fs))
        << Utf8(c.date) << " " << Utf8(c.time) << " row " << c.row;
  }
  const std::wstring long259(259, L'9');
  EXPECT_EQ(L"", Describe(Stamp(kStampSetCreation, long259.c_str(), long259.c_str()), 0, long259, fs));
}

TEST(Timestamp, FatVolumeRoundsTheBaseDownToEvenSecondsOncePerPass) {
  MemoryFileSystem fat;
  fat.volumeName = L"FAT32";
  ModeParams p = Stamp(kStampSetCreation, L"2019/06/01", L"12:00:01", 1);
  TimestampRun run;
  EXPECT_EQ(L"<作成：2019/06/01 12:00:00>", DescribeTimestamp(p, run, 0, L"E:\\photos\\a.jpg", fat));
  p.baseDate = L"2020/01/01";  // the pickers are read at the first row only
  EXPECT_EQ(L"<作成：2019/06/01 12:00:01>", DescribeTimestamp(p, run, 1, L"E:\\photos\\b.jpg", fat));
  EXPECT_EQ(std::vector<std::wstring>{L"E:\\"}, fat.volumeRoots);

  MemoryFileSystem ntfs;
  EXPECT_EQ(L"<作成：2020/01/01 12:00:01>", Describe(p, 0, L"C:\\a.jpg", ntfs));
  // Without a run record in the context each row reads the pickers itself.
  TransformContext ctx;
  ctx.params = &p;
  ctx.fs = &fat;
  std::wstring target;
  TimestampTransform(ctx, L"E:\\c.jpg", 3, target);
  EXPECT_EQ(L"<作成：2020/01/01 12:00:03>", target);
}

// Wine cannot keep a creation time apart from the modification time, so files whose two times differ
// live in the in-memory double.
TEST(Timestamp, CopyOneTimeToTheOtherUnderTheConditions) {
  const wchar_t* const toCreation = L"<作成：2019/05/01 08:00:00>";
  const wchar_t* const toModification = L"<更新：2019/06/01 10:00:00>";
  const struct {
    int selection, condition;
    const wchar_t* description;
  } cases[] = {
      {kStampCreationFromModification, kCopyAlways, toCreation},
      {kStampCreationFromModification, kCopyIfLater, kTimestampUnchanged},
      {kStampCreationFromModification, kCopyIfEarlier, toCreation},
      {kStampModificationFromCreation, kCopyAlways, toModification},
      {kStampModificationFromCreation, kCopyIfLater, toModification},
      {kStampModificationFromCreation, kCopyIfEarlier, kTimestampUnchanged},
  };
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"C:\\a.txt");
  item.creation = LocalFileTime(2019, 6, 1, 10, 0, 0);
  item.modification = LocalFileTime(2019, 5, 1, 8, 0, 0);
  for (const auto& c : cases) {
    ModeParams p = Stamp(c.selection, L"", L"");
    p.timestpsm = c.condition;
    EXPECT_EQ(c.description, Describe(p, 0, L"C:\\a.txt", fs)) << c.selection << " " << c.condition;
    // Equal to the second is neither later nor earlier.
    item.modification = LocalFileTime(2019, 6, 1, 10, 0, 0);
    item.modification.dwLowDateTime |= 1;
    EXPECT_EQ(c.condition == kCopyAlways, Describe(p, 0, L"C:\\a.txt", fs) != kTimestampUnchanged);
    item.modification = LocalFileTime(2019, 5, 1, 8, 0, 0);
  }
}

TEST(Timestamp, ShiftByDaysAndTheTimeOfDay) {
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFile(L"A:\\a.txt");
  item.creation = LocalFileTime(2019, 6, 3, 10, 0, 0);
  item.modification = LocalFileTime(2019, 6, 1, 0, 0, 0);
  const struct {
    int selection, direction, days;
    const wchar_t* time;
    const wchar_t* description;
  } cases[] = {
      {kStampShiftCreation, kShiftEarlier, 1, L"02:30:00", L"<作成：2019/06/02 07:30:00>"},
      {kStampShiftCreation, kShiftLater, 1, L"02:30:00", L"<作成：2019/06/04 12:30:00>"},
      {kStampShiftModification, kShiftLater, 366, L"00:00:01", L"<更新：2020/06/01 00:00:01>"},
      {kStampShiftModification, kShiftEarlier, 0, L"23:59:59", L"<更新：2019/05/31 00:00:01>"},
      {kStampShiftModification, kShiftEarlier, 1, L"bad", L""},
  };
  for (const auto& c : cases) {
    ModeParams p = Stamp(c.selection, L"", c.time);  // the date picker plays no part here
    p.fwdback = c.direction;
    p.fwdbackdays = c.days;
    EXPECT_EQ(c.description, Describe(p, 3, L"A:\\a.txt", fs)) << Utf8(c.description);
  }
  ModeParams p = Stamp(kStampShiftCreation, L"", L"00:00:03");
  p.fwdback = kShiftLater;
  EXPECT_EQ(L"", Describe(p, 0, L"A:\\missing.txt", fs));
  fs.volumeName = L"FAT";  // the time of day is rounded as the base is
  EXPECT_EQ(L"<作成：2019/06/03 10:00:02>", Describe(p, 0, L"A:\\a.txt", fs));
  item.creation = LocalFileTime(1601, 1, 2, 9, 0, 0);
  p.fwdback = kShiftEarlier;
  p.fwdbackdays = 2;  // before the first time a file can have
  EXPECT_EQ(L"", Describe(p, 0, L"A:\\a.txt", fs));
}

TEST(Timestamp, ApplyTakesTheWordAndDateOfTheDescriptionOnly) {
  const std::wstring long259 = L"C:\\" + std::wstring(231, L'd') + L"\\<更新：2019/06/01 12:00:00>";
  const struct {
    std::wstring target;
    int result;
    int setWhat;  // -1: nothing reaches the file
  } cases[] = {
      {L"C:\\dir\\<作成：2019/06/01 12:00:00>", 0, kTimesCreation},
      {L"C:\\dir\\<更新：2019/06/01 12:00:00>", 0, kTimesModification},
      {L"C:\\dir\\<両方：2019/06/01 12:00:00>", 0, kTimesBoth},
      {L"C:\\更新\\<作成：2019/06/01 12:00:00>", 0, kTimesCreation},  // a folder's name does not count
      {L"C:\\作成\\両方\\<更新：2019/06/01 12:00:00>", 0, kTimesModification},
      {long259, 0, kTimesModification},
      {L"", 0, -1},
      {L"C:\\dir\\** 変更されません **", 0, -1},
      {L"<更新：2019/06/01 12:00:00>", 0, -1},  // no folder in front
      {L"C:\\dir\\<更新：2019/06/0x 12:00:00>", 0, -1},
      {L"C:\\dir\\<更新：2019/06/01 12:00:0", 0, -1},
      {L"C:\\dir\\<更新：2019/02/30 12:00:00>", 1, -1},  // digits, but no such day
      {L"C:\\dir\\<更新：2019/06/01 25:00:00>", 1, -1},
  };
  const FILETIME value = LocalFileTime(2019, 6, 1, 12, 0, 0), before = LocalFileTime(2001, 1, 1, 0, 0, 0);
  for (const auto& c : cases) {
    MemoryFileSystem fs;
    MemoryFileSystem::Item& item = fs.AddFile(L"C:\\src.txt");
    item.creation = item.modification = before;
    OldFileTimes old;
    old.reported = kTimesCreation;
    EXPECT_EQ(c.result, ApplyTimestamp(L"C:\\src.txt", c.target, &old, fs)) << Utf8(c.target);
    EXPECT_EQ(c.setWhat >= 0 ? 1u : 0u, fs.setTimesCalls.size()) << Utf8(c.target);
    const int set = c.setWhat >= 0 ? c.setWhat : 0;
    EXPECT_TRUE(SameFileTime(set & kTimesCreation ? value : before, item.creation)) << Utf8(c.target);
    EXPECT_TRUE(SameFileTime(set & kTimesModification ? value : before, item.modification)) << Utf8(c.target);
    // Both old times go to the change log, whichever was changed.
    EXPECT_EQ(c.setWhat >= 0 ? kTimesBoth : kTimesNone, old.reported) << Utf8(c.target);
  }
  MemoryFileSystem fs;
  EXPECT_EQ(1, ApplyTimestamp(L"C:\\missing.txt", L"C:\\<更新：2019/06/01 12:00:00>", nullptr, fs));
}

TEST(Attributes, DescriptionsAndTheTransform) {
  const struct {
    AttributeChoices choices;
    const wchar_t* description;
  } cases[] = {
      {{1, 2, 0, 2}, L"<読：Y, 隠：-, ア：N, シ：->"},
      {{0, 0, 0, 0}, L"<読：N, 隠：N, ア：N, シ：N>"},
      {{9, -1, 3, 1}, L"<読：-, 隠：-, ア：-, シ：Y>"},
  };
  for (const auto& c : cases) {
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
  target = L"stale";
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
  EXPECT_EQ(1, ApplyAttributes(L"C:\\dir\\missing.txt", target, nullptr, fs));

  // Flags are read only where the text reaches back far enough; anything but Y and N leaves.
  const struct {
    std::wstring target;
    DWORD after;
  } cases[] = {
      {L"", FILE_ATTRIBUTE_SYSTEM},
      {std::wstring(16, L'Y'), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM},
      {std::wstring(259, L'N'), 0},
      {L"C:\\dir\\<読：y, 隠：n, ア：?, シ：->", FILE_ATTRIBUTE_SYSTEM},
  };
  for (const auto& c : cases) {
    item.attributes = FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(0, ApplyAttributes(L"C:\\dir\\a.txt", c.target, nullptr, fs)) << Utf8(c.target);
    EXPECT_EQ(c.after, item.attributes) << Utf8(c.target);
  }
}

}  // namespace
}  // namespace korval
