#include "modes/date_time.h"

#include <map>

#include <gtest/gtest.h>

#include "testing/date_samples.h"
#include "testing/refusing_file_system.h"
#include "platform/scoped_handle.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// The file time (UTC) that shows as this local time.
FILETIME FileTimeOf(const SYSTEMTIME& local) {
  FILETIME localTime{}, utc{};
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &utc);
  return utc;
}

// A file system that knows only the times chosen for some paths. Under Wine a creation time cannot be
// set on a real file (it reads back as the last-write time), so choosing between creation and
// modification time is tested through this double.
class TimesFileSystem final : public RefusingFileSystem {
 public:
  TimesFileSystem() : RefusingFileSystem(ERROR_ACCESS_DENIED) {}
  void Set(const std::wstring& path, const SYSTEMTIME& created, const SYSTEMTIME& modified) {
    times_[path] = {FileTimeOf(created), FileTimeOf(modified)};
  }
  std::vector<std::wstring> asked;

  bool GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) override {
    asked.push_back(path);
    const auto found = times_.find(path);
    if (found == times_.end()) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return false;
    }
    if (creation) *creation = found->second.first;
    if (access) *access = found->second.second;
    if (write) *write = found->second.second;
    return true;
  }

 private:
  std::map<std::wstring, std::pair<FILETIME, FILETIME>> times_;
};

ModeParams Params(int which, int pattern, int placement, const std::wstring& separator = L"", bool units = false) {
  ModeParams p;
  p.whichdate = which;
  p.datefrom = pattern;
  p.dateins = placement;
  p.sepstr = separator;
  p.addyymmdd = units ? 1 : 0;
  return p;
}

std::wstring Transform(const ModeParams& params, FileSystem& fs, const std::wstring& source, int fileDir = 0,
                       const std::wstring& itemPath = L"", const std::wstring& zone = L"9", DateRun* run = nullptr) {
  TransformContext ctx;
  ctx.params = &params;
  ctx.fs = &fs;
  ctx.fileDir = fileDir;
  ctx.itemPath = itemPath;
  ctx.timezone = zone;
  ctx.dateRun = run;
  std::wstring target = L"(untouched)";
  DateTimeTransform(ctx, source, target);
  return target;
}

TEST(DateTimeFormat, FixedPatternsWithAndWithoutUnits) {
  const SYSTEMTIME t = Date(2024, 1, 2, 3, 4, 5);
  const wchar_t* plain[9] = {L"2024-01-02-03-04-05", L"20240102-030405", L"2024-01-02-03-04", L"20240102-0304",
                             L"2024-01-02",          L"20240102030405",  L"202401020304",     L"20240102",
                             L"0102"};
  const wchar_t* units[9] = {L"2024年-01月-02日-03時-04分-05秒", L"2024年01月02日-03時04分05秒",
                             L"2024年-01月-02日-03時-04分",      L"2024年01月02日-03時04分",
                             L"2024年-01月-02日",                 L"2024年01月02日03時04分05秒",
                             L"2024年01月02日03時04分",           L"2024年01月02日",
                             L"01月02日"};
  for (int pattern = 0; pattern < 9; ++pattern) {
    EXPECT_EQ(plain[pattern], FormatDateForName(t, Params(0, pattern, 0, L"-"))) << pattern;
    EXPECT_EQ(units[pattern], FormatDateForName(t, Params(0, pattern, 0, L"-", true))) << pattern;
  }
  EXPECT_EQ(L"01月01日", FormatDateForName(Date(2024, 1, 1), Params(0, 8, 0, L"", true)));
}

TEST(DateTimeFormat, SeparatorIsCutAtSixCharacters) {
  EXPECT_EQ(L"20241234560112345601", FormatDateForName(Date(2024, 1, 1), Params(0, 4, 0, L"1234567")));
}

TEST(DateTimeFormat, TypedPatternTokensInTheirOrder) {
  struct Case {
    const wchar_t* pattern;
    bool units;
    const wchar_t* expected;
  } const cases[] = {
      {L"YYYY-MM-DD_www", false, L"2024-01-01_Mon"},
      {L"2Y1M1D", false, L"2411"},
      {L"2Y1M1D", true, L"24年1月1日"},
      {L"YYYY2Y", false, L"20242Y"},  // the two-digit year only when there is no four-digit one
      {L"YYYY YYYY", false, L"2024 YYYY"},
      {L"MMmm", false, L"0105"},
      {L"hhmmss", false, L"090507"},
      {L"1h1m1s", false, L"957"},
      {L"1h1m1s", true, L"9時5分7秒"},
      {L"ww曜日", false, L"月曜日"},
      {L"www ww", false, L"Mon 月"},
      {L"YYYY〓MM〓DD", false, L"2024_01_01"},
      {L"〓〓", false, L"__"},
      {L"yyyy dd HH", false, L"yyyy dd HH"},  // tokens are case sensitive
      {L"abc", false, L"abc"},
      {L"", false, L""},
  };
  const SYSTEMTIME t = Date(2024, 1, 1, 9, 5, 7);
  for (const Case& c : cases) {
    ModeParams p = Params(0, kTypedDatePattern, 0, L"_", c.units);
    p.ymdform = c.pattern;
    EXPECT_EQ(c.expected, FormatDateForName(t, p)) << Utf8(c.pattern);
  }
}

TEST(DateTimeFormat, DaysOfTheWeek) {
  ModeParams p = Params(0, kTypedDatePattern, 0);
  p.ymdform = L"www ww";
  EXPECT_EQ(L"Sun 日", FormatDateForName(Date(2023, 12, 31), p));
  EXPECT_EQ(L"Sat 土", FormatDateForName(Date(2024, 1, 6), p));
  EXPECT_EQ(L"Thu 木", FormatDateForName(Date(2024, 2, 29), p));
}

TEST(DateTimeFormat, TypedPatternEdges) {
  ModeParams p = Params(0, kTypedDatePattern, 0, L"〓");
  p.ymdform = L"YYYY〓MM";
  EXPECT_EQ(L"2024〓01", FormatDateForName(Date(2024, 1, 1), p));  // a separator holding the mark
  p.ymdform = std::wstring(200, L'a') + L"YYYY";
  EXPECT_EQ(std::wstring(127, L'a'), FormatDateForName(Date(2024, 1, 1), p));  // typed patterns are 127 long
  p.ymdform = L"www";
  EXPECT_EQ(3u, FormatDateForName(SYSTEMTIME{}, p).size());  // the empty record still names a day
}

class DateTimeTransformTest : public testing::Test {
 protected:
  const std::wstring source_ = L"C:\\photos\\img.jpg";
  TimesFileSystem fs_;
  void SetUp() override { fs_.Set(source_, Date(2024, 1, 2, 3, 4, 5), Date(2023, 7, 8, 9, 10, 11)); }
};

TEST_F(DateTimeTransformTest, Placements) {
  const wchar_t* expected[5] = {L"C:\\photos\\20240102.jpg", L"C:\\photos\\20240102img.jpg",
                                L"C:\\photos\\img20240102.jpg", L"C:\\photos\\20240102_img.jpg",
                                L"C:\\photos\\img_20240102.jpg"};
  for (int placement = 0; placement < 5; ++placement) {
    EXPECT_EQ(expected[placement], Transform(Params(0, 7, placement, L"_"), fs_, source_)) << placement;
  }
}

TEST_F(DateTimeTransformTest, FolderNamesAreOnePiece) {
  fs_.Set(L"C:\\photos\\my.trip", Date(2024, 1, 2), Date(2024, 1, 2));
  EXPECT_EQ(L"C:\\photos\\my.trip20240102", Transform(Params(0, 7, 2), fs_, L"C:\\photos\\my.trip", 1));
  EXPECT_EQ(L"C:\\photos\\20240102", Transform(Params(0, 7, 0), fs_, L"C:\\photos\\my.trip", 1));
  EXPECT_EQ(L"C:\\photos\\20240102.trip", Transform(Params(0, 7, 0), fs_, L"C:\\photos\\my.trip", 0));
}

TEST_F(DateTimeTransformTest, CreationOrModificationTime) {
  EXPECT_EQ(L"C:\\photos\\20240102030405.jpg", Transform(Params(kDateCreated, 5, 0), fs_, source_));
  EXPECT_EQ(L"C:\\photos\\20230708091011.jpg", Transform(Params(kDateModified, 5, 0), fs_, source_));
  // Nothing to read at this made-up path: "撮影 or 作成" falls back to the creation time,
  EXPECT_EQ(L"C:\\photos\\20240102030405.jpg", Transform(Params(kDateCapturedOrCreated, 5, 0), fs_, source_));
  // and "撮影日時" leaves the name as it is.
  EXPECT_EQ(source_, Transform(Params(kDateCaptured, 5, 0), fs_, source_));
}

TEST_F(DateTimeTransformTest, MissingItemGivesAnEmptyTarget) {
  for (int which = 0; which < 4; ++which) {
    EXPECT_EQ(L"", Transform(Params(which, 7, 0), fs_, L"C:\\photos\\gone.jpg")) << which;
    EXPECT_EQ(L"", Transform(Params(which, 7, 0), fs_, L"")) << which;
  }
  TransformContext ctx;
  ctx.fs = nullptr;
  std::wstring target = L"x";
  DateTimeTransform(ctx, source_, target);
  EXPECT_EQ(L"", target);
}

TEST_F(DateTimeTransformTest, DefaultsWithoutParametersOrRunRecord) {
  TransformContext ctx;
  ctx.fs = &fs_;
  std::wstring target;
  DateTimeTransform(ctx, source_, target);
  EXPECT_EQ(L"C:\\photos\\20240102030405.jpg", target);  // creation time, first pattern, new name
}

TEST_F(DateTimeTransformTest, ANameTooLongForAPathIsBuiltWhole) {
  const std::wstring folder = L"C:\\" + std::wstring(200, L'f') + L"\\";
  const std::wstring source = folder + std::wstring(259 - folder.size() - 4, L'n') + L".jpg";
  fs_.Set(source, Date(2024, 1, 2), Date(2024, 1, 2));
  for (int placement = 1; placement < 5; ++placement) {
    const std::wstring target = Transform(Params(0, 0, placement, L"_"), fs_, source);
    EXPECT_GT(target.size(), 259u) << placement;
    EXPECT_EQ(folder, target.substr(0, folder.size()));
    EXPECT_EQ(L".jpg", target.substr(target.size() - 4)) << placement;
  }
}

TEST_F(DateTimeTransformTest, RunRecordHoldsTheLastRowsDateAndResets) {
  DateRun run;
  EXPECT_EQ(0, run.record.wYear);
  Transform(Params(kDateModified, 7, 0), fs_, source_, 0, L"", L"9", &run);
  EXPECT_EQ(2023, run.record.wYear);
  EXPECT_EQ(7, run.record.wMonth);
  run.Reset();
  EXPECT_EQ(0, run.record.wYear);
}

TEST(DateTimeCapture, PhotographsAndMovies) {
  TempFolder dir;
  const std::wstring photo = dir.WriteFile(L"photo.jpg", JpegWithCaptureTime("2010:10:10 10:10:10"));
  const std::wstring plain = dir.WriteFile(L"plain.jpg", "\xFF\xD8 no exif here");
  const std::wstring movie = dir.WriteFile(L"clip.mov", MovieWithCreationTime(3793342830u));  // 2024-03-15 10:20:30
  const std::wstring phone = dir.WriteFile(L"phone.mp4", MovieWithCreationTime(3793342830u));
  TimesFileSystem fs;
  for (const auto& path : {photo, plain, movie, phone}) fs.Set(path, Date(2024, 1, 2, 3, 4, 5), Date(2024, 1, 2));

  // Photographs keep the time they hold; the time zone setting is for movies only.
  EXPECT_EQ(dir / L"20101010101010.jpg", Transform(Params(kDateCaptured, 5, 0), fs, photo, 0, L"", L"9"));
  EXPECT_EQ(dir / L"20101010101010.jpg", Transform(Params(kDateCapturedOrCreated, 5, 0), fs, photo));
  EXPECT_EQ(dir / L"20240315192030.mov", Transform(Params(kDateCaptured, 5, 0), fs, movie, 0, L"", L"9"));
  EXPECT_EQ(dir / L"20240315102030.mov", Transform(Params(kDateCaptured, 5, 0), fs, movie, 0, L"", L"0"));
  EXPECT_EQ(dir / L"20240315192030.mp4", Transform(Params(kDateCaptured, 5, 0), fs, phone, 0, L"", L"9"));
  // Without a setting the system's zone applies: the test harness runs in Tokyo.
  EXPECT_EQ(dir / L"20240315192030.mp4", Transform(Params(kDateCaptured, 5, 0), fs, phone, 0, L"", kSystemTimeZone));
  // Without a capture time: unchanged, or the creation time.
  EXPECT_EQ(plain, Transform(Params(kDateCaptured, 5, 0), fs, plain));
  EXPECT_EQ(dir / L"20240102030405.jpg", Transform(Params(kDateCapturedOrCreated, 5, 0), fs, plain));
  // Creation and modification choices read no file content.
  EXPECT_EQ(dir / L"20240102030405.jpg", Transform(Params(kDateCreated, 5, 0), fs, photo));
}

TEST(DateTimeCapture, NoRowSeesAnotherRowsCaptureTime) {
  TempFolder dir;
  const std::wstring photo = dir.WriteFile(L"photo.jpg", JpegWithCaptureTime("2010:10:10 10:10:10"));
  const std::wstring plain = dir.WriteFile(L"plain.jpg", "\xFF\xD8");
  TimesFileSystem fs;
  fs.Set(photo, Date(2024, 1, 2), Date(2024, 1, 2));
  fs.Set(plain, Date(2022, 2, 2), Date(2022, 2, 2));
  DateRun run;
  EXPECT_EQ(dir / L"20101010.jpg", Transform(Params(kDateCaptured, 7, 0), fs, photo, 0, L"", L"9", &run));
  EXPECT_EQ(plain, Transform(Params(kDateCaptured, 7, 0), fs, plain, 0, L"", L"9", &run));
  EXPECT_EQ(dir / L"20220202.jpg", Transform(Params(kDateCapturedOrCreated, 7, 0), fs, plain, 0, L"", L"9", &run));
}

TEST(DateTimeCapture, MacroPlaybackReadsTheItemOnDisk) {
  // A later macro step: the source path carries the name of the step before, which is not on disk;
  // the times and the photograph come from the item under its old name.
  TempFolder dir;
  const std::wstring photo = dir.WriteFile(L"photo.jpg", JpegWithCaptureTime("2010:10:10 10:10:10"));
  TimesFileSystem fs;
  fs.Set(photo, Date(2024, 1, 2), Date(2024, 1, 2));
  const std::wstring renamed = dir / L"PHOTO.jpg";
  EXPECT_EQ(dir / L"PHOTO_20101010.jpg", Transform(Params(kDateCaptured, 7, 4, L"_"), fs, renamed, 0, photo));
  EXPECT_EQ(dir / L"PHOTO_20240102.jpg", Transform(Params(kDateCreated, 7, 4, L"_"), fs, renamed, 0, photo));
  ASSERT_FALSE(fs.asked.empty());
  for (const auto& asked : fs.asked) EXPECT_EQ(photo, asked);
}

TEST(DateTimeRealFiles, ModificationTimeInLocalTime) {
  // The test harness runs with TZ=Asia/Tokyo: nine hours ahead of UTC, no summer time.
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"note.txt", "x");
  SYSTEMTIME utc = Date(2024, 1, 1, 15, 30, 0);
  FILETIME written{};
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &written));
  {
    ScopedFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file.Valid());
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &written));
  }
  const ModeParams params = Params(kDateModified, 5, 2, L"", false);
  TransformContext ctx;
  ctx.params = &params;
  std::wstring target;
  DateTimeTransform(ctx, path, target);
  EXPECT_EQ(dir / L"note20240102003000.txt", target);
}

}  // namespace
}  // namespace korval
