#include "filelist/list_texts.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "testing/date_samples.h"
#include "testing/refusing_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

std::wstring Padded(const std::wstring& text, size_t width) {
  return text.size() >= width ? text : std::wstring(width - text.size(), L' ') + text;
}

TEST(ListTextsSize, BytesKbAndMbWithSeparators) {
  const struct {
    std::uint64_t bytes;
    const wchar_t* inBytes;
    const wchar_t* inKb;
    const wchar_t* inMb;
  } cases[] = {
      {0, L"0", L"0 K", L"1 M"},
      {1, L"1", L"1 K", L"1 M"},
      {999, L"999", L"1 K", L"1 M"},
      {1000, L"1,000", L"1 K", L"1 M"},
      {1024, L"1,024", L"1 K", L"1 M"},
      {1025, L"1,025", L"2 K", L"1 M"},
      {999999, L"999,999", L"977 K", L"1 M"},
      {1000000, L"1,000,000", L"977 K", L"1 M"},
      {1234567, L"1,234,567", L"1,206 K", L"1 M"},
      {2097151, L"2,097,151", L"2,048 K", L"1 M"},
      {2097152, L"2,097,152", L"2,048 K", L"2 M"},
      {5368709120ull, L"5,368,709,120", L"5,242,880 K", L"5,120 M"},
      {9999999999ull, L"9,999,999,999", L"9,765,625 K", L"9,536 M"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Padded(c.inBytes, 13), SizeTextOf(c.bytes, kSizeInBytes)) << c.bytes;
    EXPECT_EQ(Padded(c.inKb, 11), SizeTextOf(c.bytes, kSizeInKb)) << c.bytes;
    EXPECT_EQ(Padded(c.inMb, 11), SizeTextOf(c.bytes, kSizeInMb)) << c.bytes;
  }
}

TEST(ListTextsSize, GigabyteFormFromTenBillionBytes) {
  EXPECT_EQ(L">=      9.5 G", SizeTextOf(10000000000ull, kSizeInBytes));
  EXPECT_EQ(L">=    9.5 G", SizeTextOf(10000000000ull, kSizeInKb));
  EXPECT_EQ(L">=    9.5 G", SizeTextOf(10000000000ull, kSizeInMb));
  // floor(KB / 102400) / 10: 2^40 bytes are 1073741824 KB, shown as 1048.5.
  EXPECT_EQ(L">=   1048.5 G", SizeTextOf(1ull << 40, kSizeInBytes));
  EXPECT_EQ(L">= 1048.5 G", SizeTextOf(1ull << 40, kSizeInKb));
}

TEST(ListTextsSize, FieldsKeepTheirWidthSoTextOrderIsSizeOrder) {
  const std::uint64_t sizes[] = {0, 5, 999, 1000, 65536, 123456789, 9999999999ull};
  for (int unit = 0; unit < 3; ++unit) {
    for (size_t i = 0; i < std::size(sizes); ++i) {
      EXPECT_EQ(SizeFieldWidth(unit), SizeTextOf(sizes[i], unit).size());
      if (i > 0) {
        EXPECT_LE(SizeTextOf(sizes[i - 1], unit), SizeTextOf(sizes[i], unit));
      }
    }
  }
  EXPECT_EQ(std::wstring(13, L' '), BlankSizeText(kSizeInBytes));
  EXPECT_EQ(std::wstring(11, L' '), BlankSizeText(kSizeInMb));
  EXPECT_EQ(Padded(L"12,345", 13), SizeTextOf(12345, 7));  // an unknown unit counts as bytes
}

TEST(ListTextsSize, FromTheDirectoryEntryOfAFile) {
  TempFolder temp;
  const std::wstring path = temp.WriteFile(L"a.bin", std::string(1234, 'x'));
  const SizeResult found = FormatSizeText(path, kSizeInBytes);
  EXPECT_EQ(1234u, found.bytes);
  EXPECT_EQ(Padded(L"1,234", 13), found.text);
  const SizeResult missing = FormatSizeText(temp / L"none.bin", kSizeInKb);
  EXPECT_EQ(0u, missing.bytes);
  EXPECT_EQ(Padded(L"0 K", 11), missing.text);
  EXPECT_EQ(0u, FormatSizeText(L"", kSizeInBytes).bytes);
}

FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME t{};
  t.wYear = year, t.wMonth = month, t.wDay = day, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
  FILETIME f{};
  SystemTimeToFileTime(&t, &f);
  return f;
}

std::wstring LocalText(const FILETIME& utc) {
  FILETIME local{};
  SYSTEMTIME t{};
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &t);
  return DateTextOf(t);
}

TEST(ListTextsDate, FormatOfTheCalendarRecord) {
  SYSTEMTIME t{};
  t.wYear = 2024, t.wMonth = 3, t.wDay = 5, t.wHour = 7, t.wMinute = 8, t.wSecond = 9;
  EXPECT_EQ(L"2024/03/05 07:08:09", DateTextOf(t));
  t.wYear = 999;
  EXPECT_EQ(L" 999/03/05 07:08:09", DateTextOf(t));
  t.wYear = 0;
  t.wSecond = 59;
  EXPECT_EQ(L"   0/03/05 07:08:59", DateTextOf(t));
  t.wYear = 12345;
  t.wMonth = 123;
  EXPECT_EQ(L"12345/123/05 07:08:59", DateTextOf(t));
}

TEST(ListTextsDate, EachKindPicksItsDate) {
  TempFolder temp;
  const std::wstring photo = temp.WriteFile(L"p.JPG", JpegWithCaptureTime("2021:06:07 08:09:10"));
  const std::wstring movie = temp.WriteFile(L"m.mov", MovieWithCreationTime(3786912000u));  // 2024-01-01 00:00
  const std::wstring plain = temp.WriteFile(L"t.txt", "text");
  const FILETIME created = FileTimeOf(2020, 1, 2, 3, 4, 5);
  const FILETIME written = FileTimeOf(2022, 11, 12, 13, 14, 15);
  const struct {
    const std::wstring* path;
    int kind;
    bool found;
    std::wstring text;
  } cases[] = {
      {&plain, kDateKindCreated, true, LocalText(created)},
      {&plain, kDateKindWritten, true, LocalText(written)},
      {&plain, kDateKindCaptured, false, L" "},
      {&plain, kDateKindCapturedOrCreated, true, LocalText(created)},
      {&photo, kDateKindCreated, true, LocalText(created)},
      {&photo, kDateKindCaptured, true, L"2021/06/07 08:09:10"},
      {&photo, kDateKindCapturedOrCreated, true, L"2021/06/07 08:09:10"},
      {&movie, kDateKindCaptured, true, L"2024/01/01 00:00:00"},
      {&movie, kDateKindWritten, true, LocalText(written)},
  };
  for (const auto& c : cases) {
    std::wstring text = L"(untouched)";
    EXPECT_EQ(c.found, DateTextFromTimes(*c.path, c.kind, created, written, L"0", text)) << Utf8(*c.path) << c.kind;
    EXPECT_EQ(c.text, text) << Utf8(*c.path) << c.kind;
  }
  std::wstring zoned;
  ASSERT_TRUE(DateTextFromTimes(movie, kDateKindCaptured, created, written, L"9", zoned));
  EXPECT_EQ(L"2024/01/01 09:00:00", zoned);
}

TEST(ListTextsDate, LooksUpTheFileTimes) {
  TempFolder temp;
  const std::wstring path = temp.WriteFile(L"d.txt", "x");
  const FILETIME written = FileTimeOf(2019, 5, 6, 7, 8, 9);
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
  CloseHandle(file);
  std::wstring text;
  EXPECT_TRUE(FormatDateText(path, kDateKindWritten, L"9", text));
  EXPECT_EQ(LocalText(written), text);
  EXPECT_FALSE(FormatDateText(temp / L"missing.txt", kDateKindWritten, L"9", text));
  EXPECT_EQ(L" ", text);
  EXPECT_FALSE(FormatDateText(L"", kDateKindCreated, L"9", text));
  EXPECT_EQ(L" ", text);
}

}  // namespace
}  // namespace korval
