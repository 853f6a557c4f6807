#include "modes/quicktime_date.h"

#include <cstdint>
#include <random>

#include <gtest/gtest.h>

#include "modes/date_samples_test.h"
#include "modes/guarded_bytes.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

constexpr uint32_t k20240315At102030 = 3793342830u;  // seconds since 1904-01-01

std::string Be32(uint32_t v) {
  return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                     static_cast<char>(v)};
}

std::string Atom(const std::string& type, const std::string& body) {
  return Be32(static_cast<uint32_t>(8 + body.size())) + type + body;
}

// A movie atom holding a movie header with the creation time (version 0 layout).
std::string MovieAtom(uint32_t created) {
  const std::string header = std::string(4, '\0') + Be32(created) + Be32(created) + Be32(600) + Be32(6000) +
                             std::string(80, '\0');
  return Atom("moov", Atom("mvhd", header) + Atom("trak", std::string(40, '\x11')));
}

// A QuickTime file built byte by byte: a file-type atom, media data filling the file to `total`
// bytes, and movie atoms at the given positions.
std::string Movie(size_t total, const std::vector<std::pair<size_t, uint32_t>>& headers) {
  std::string bytes = Atom("ftyp", "qt  " + std::string(4, '\0') + "qt  ");
  bytes.resize(std::max<size_t>(total, bytes.size()), '\xA5');
  for (const auto& [at, created] : headers) {
    const std::string atom = MovieAtom(created);
    if (bytes.size() < at + atom.size()) bytes.resize(at + atom.size(), '\xA5');
    bytes.replace(at, atom.size(), atom);
  }
  return bytes;
}

std::string ReadDate(const std::string& bytes, const std::wstring& zone = L"0", const std::wstring& name = L"clip.mov") {
  TempFolder dir;
  SYSTEMTIME t = Sentinel();
  if (ReadQuickTimeDate(dir.WriteFile(name, bytes), t, zone) != kDateFound) {
    return SecondsText(t) == SecondsText(Sentinel()) ? "none" : "none, but the record changed";
  }
  return SecondsText(t);
}

TEST(QuickTimeDateRead, HeaderNearTheStart) {
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(Movie(2000, {{100, k20240315At102030}})));
}

TEST(QuickTimeDateRead, TimeZoneSettingAddsWholeHours) {
  const std::string movie = Movie(2000, {{100, k20240315At102030}});
  struct Case {
    const wchar_t* zone;
    const char* expected;
  } const cases[] = {
      {L"9", "2024-03-15 19:20:30"},  {L"-5", "2024-03-15 05:20:30"}, {L"23", "2024-03-16 09:20:30"},
      {L"+3", "2024-03-15 13:20:30"}, {L"24", "2024-03-15 10:20:30"}, {L"9.5", "2024-03-15 10:20:30"},
      {L"", "2024-03-15 10:20:30"},   {L"abc", "2024-03-15 10:20:30"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ReadDate(movie, c.zone)) << Utf8(c.zone);
}

TEST(QuickTimeDateRead, HeaderInTheTailOfALargeFile) {
  // Three megabytes: only the reads from the end can reach the header.
  const size_t size = 3 * 1024 * 1024;
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(Movie(size, {{size - 300, k20240315At102030}})));
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(Movie(size, {{size - 60000, k20240315At102030}})));
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(Movie(size, {{size - 500000, k20240315At102030}})));
}

TEST(QuickTimeDateRead, HeaderReachedByEachReadFromTheStart) {
  const size_t size = 2 * 1024 * 1024;
  for (size_t at : {10000u, 40000u, 400000u}) {
    EXPECT_EQ("2024-03-15 10:20:30", ReadDate(Movie(size, {{at, k20240315At102030}}))) << at;
  }
  // In the middle of a large file no read reaches it.
  EXPECT_EQ("none", ReadDate(Movie(size, {{1000000, k20240315At102030}})));
}

TEST(QuickTimeDateRead, PlaceholderTimesAreSkippedAndTheSearchGoesOn) {
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(Movie(4000, {{100, 0}, {1000, k20240315At102030}})));
  EXPECT_EQ("none", ReadDate(Movie(4000, {{100, 0}, {1000, 2145916800u}})));
  EXPECT_EQ("1972-01-01 00:00:01", ReadDate(Movie(4000, {{100, 2145916801u}})));
  // The time zone is added before the check: nine hours lift a time just short of 1972 over it.
  EXPECT_EQ("1972-01-01 00:00:01", ReadDate(Movie(4000, {{100, 2145916801u - 9 * 3600}}), L"9"));
}

TEST(QuickTimeDateRead, OnlyMovieNamesAreRead) {
  const std::string movie = Movie(2000, {{100, k20240315At102030}});
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(movie, L"0", L"a.MOV"));
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(movie, L"0", L"a.Qt"));
  EXPECT_EQ("2024-03-15 10:20:30", ReadDate(movie, L"0", L"動画.mov"));
  EXPECT_EQ("none", ReadDate(movie, L"0", L"a.mp4"));
  EXPECT_EQ("none", ReadDate(movie, L"0", L"a.mov.bak"));
}

TEST(QuickTimeDateRead, EmptyMissingAndHeaderlessFilesFail) {
  EXPECT_EQ("none", ReadDate(""));
  EXPECT_EQ("none", ReadDate(Movie(5000, {})));
  std::string noHeader = Movie(2000, {{100, k20240315At102030}});
  noHeader[100 + 12] = 'x';  // "mvhd" spelt otherwise
  EXPECT_EQ("none", ReadDate(noHeader));
  TempFolder dir;
  SYSTEMTIME t = Sentinel();
  EXPECT_EQ(kDateNotFound, ReadQuickTimeDate(dir / L"absent.mov", t, L"9"));
  EXPECT_EQ(kDateNotFound, ReadQuickTimeDate(L"", t, L"9"));
  EXPECT_EQ(SecondsText(Sentinel()), SecondsText(t));
}

TEST(QuickTimeDateConvert, SecondsSince1904BecomeCalendarDates) {
  struct Case {
    long long seconds;
    const char* expected;
  } const cases[] = {
      {2145916801LL, "1972-01-01 00:00:01"},
      {2177539199LL, "1972-12-31 23:59:59"},  // the last day of a leap year stays in that year
      {2177516800LL, "1972-12-31 17:46:40"},
      {2177539200LL, "1973-01-01 00:00:00"},
      {2272147200LL, "1976-01-01 00:00:00"},
      {3818512000LL, "2024-12-31 17:46:40"},
      {k20240315At102030, "2024-03-15 10:20:30"},
      {0xFFFFFFFFLL, "2040-02-06 06:28:15"},
  };
  for (const Case& c : cases) {
    SYSTEMTIME t = Sentinel();
    EXPECT_TRUE(QuickTimeSecondsToDate(c.seconds, t)) << c.seconds;
    EXPECT_EQ(c.expected, SecondsText(t)) << c.seconds;
  }
  SYSTEMTIME t = Sentinel();
  EXPECT_FALSE(QuickTimeSecondsToDate(2145916800LL, t));
  EXPECT_FALSE(QuickTimeSecondsToDate(-1, t));
  EXPECT_EQ(SecondsText(Sentinel()), SecondsText(t));
}

TEST(QuickTimeDateConvert, TimeZoneText) {
  struct Case {
    const wchar_t* text;
    bool ok;
    int hours;
  } const cases[] = {
      {L"9", true, 9},     {L"0", true, 0},      {L"-23", true, -23}, {L"23", true, 23},   {L"+5", true, 5},
      {L" 7 ", true, 7},   {L"09", true, 9},     {L"24", false, 0},   {L"-24", false, 0},  {L"", false, 0},
      {L"-", false, 0},    {L"9h", false, 0},    {L"1.5", false, 0},  {L"99999999999", false, 0},
      {L"９", false, 0},
  };
  for (const Case& c : cases) {
    int hours = 0;
    EXPECT_EQ(c.ok, ParseTimeZoneHours(c.text, hours)) << Utf8(c.text);
    if (c.ok) {
      EXPECT_EQ(c.hours, hours) << Utf8(c.text);
    }
  }
}

TEST(QuickTimeDateScan, SearchEndsThirtyTwoBytesBeforeTheReadSize) {
  const std::string atom = MovieAtom(k20240315At102030);
  for (size_t moovAt : {68u, 69u}) {  // where the "moov" text begins, in a read of 100 bytes
    std::vector<unsigned char> buffer(101, 0);
    for (size_t i = 4; i < atom.size() && moovAt - 4 + i < buffer.size(); ++i) buffer[moovAt - 4 + i] = atom[i];
    SYSTEMTIME t = Sentinel();
    EXPECT_EQ(moovAt == 68, ScanQuickTimeBuffer(buffer.data(), buffer.size(), 100, 0, t)) << moovAt;
  }
}

// Random buffers with movie headers planted anywhere, the very end included, scanned in memory fenced
// on both sides: a single byte read outside faults.
TEST(QuickTimeDateFuzz, ScanNeverReadsOutsideItsBuffer) {
  std::mt19937 random(1904);
  const std::string atom = MovieAtom(k20240315At102030);
  for (int round = 0; round < 4000; ++round) {
    const size_t size = random() % (round % 10 == 0 ? 70000 : 3000);
    std::vector<unsigned char> bytes(size);
    for (auto& b : bytes) b = static_cast<unsigned char>(random() % 4 == 0 ? 0 : random());
    for (int n = static_cast<int>(random() % 4); n > 0 && size > 0; --n) {
      const size_t at = size - 1 - random() % std::min<size_t>(size, 64 + random() % (size + 1));
      const size_t cut = random() % (atom.size() + 1);
      for (size_t i = 4; i < cut && at + i - 4 < size; ++i) bytes[at + i - 4] = static_cast<unsigned char>(atom[i]);
    }
    const size_t readSize = random() % (size + 100);
    for (auto fence : {GuardedBytes::Fence::kAfterEnd, GuardedBytes::Fence::kBeforeStart}) {
      GuardedBytes guarded(bytes.data(), bytes.size(), fence);
      ASSERT_TRUE(guarded.Valid());
      SYSTEMTIME t = Sentinel();
      if (ScanQuickTimeBuffer(guarded.Data(), guarded.Size(), readSize, static_cast<int>(random() % 47) - 23, t)) {
        ASSERT_GE(t.wYear, 1972);
        ASSERT_LE(t.wYear, 2040);
      }
    }
  }
}

// Mutations of movies (flipped bytes, cut files) through all six attempts: no crash, and the record
// is either a date from 1972 on or untouched.
TEST(QuickTimeDateFuzz, MutatedMoviesNeverCrash) {
  std::mt19937 random(1972);
  const std::string seeds[] = {Movie(600, {{100, k20240315At102030}}), Movie(3000, {{100, 0}, {1500, 3000000000u}}),
                               Movie(20000, {{19000, k20240315At102030}})};
  int found = 0;
  for (int round = 0; round < 400; ++round) {
    std::string bytes = seeds[random() % 3];
    for (int f = static_cast<int>(random() % 8); f > 0 && !bytes.empty(); --f) {
      bytes[random() % bytes.size()] = static_cast<char>(random());
    }
    if (random() % 4 == 0) bytes.resize(random() % (bytes.size() + 1));
    SYSTEMTIME t = Sentinel();
    if (QuickTimeDateFromBytes(bytes, t, L"9") == kDateFound) {
      ++found;
      EXPECT_GE(t.wYear, 1972);
      EXPECT_LE(t.wYear, 2040);
    } else {
      EXPECT_EQ(SecondsText(Sentinel()), SecondsText(t));
    }
  }
  EXPECT_GT(found, 0);
}

}  // namespace
}  // namespace korval
