#include "metadata/exif_date.h"

#include <cstdint>
#include <random>

#include <gtest/gtest.h>

#include "modes/capture_date.h"
#include "modes/calendar.h"
#include "testing/date_samples.h"
#include "testing/guarded_bytes.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

std::string Bytes16(bool big, uint16_t v) {
  return big ? std::string{static_cast<char>(v >> 8), static_cast<char>(v)}
             : std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
}
std::string Bytes32(bool big, uint32_t v) {
  return big ? Bytes16(true, static_cast<uint16_t>(v >> 16)) + Bytes16(true, static_cast<uint16_t>(v))
             : Bytes16(false, static_cast<uint16_t>(v)) + Bytes16(false, static_cast<uint16_t>(v >> 16));
}

// A JPEG file built byte by byte: start of image, optional filler, an APP1 segment with "Exif" 0 0
// and a TIFF header in the chosen byte order; directory entries and texts go where a test puts them
// (positions count from the TIFF header, as the offsets in the file do).
class JpegFile {
 public:
  explicit JpegFile(bool bigEndian, size_t filler = 0) : big_(bigEndian) {
    bytes_ = "\xFF\xD8";
    bytes_.append(filler, '\0');
    bytes_ += std::string("\xFF\xE1\x40\x00", 4);
    bytes_ += std::string("Exif\0\0", 6);
    base_ = bytes_.size();
    bytes_ += big_ ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4);
    bytes_ += U32(8);
  }

  size_t Base() const { return base_; }

  JpegFile& Entry(size_t at, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    Put(base_ + at, U16(tag) + U16(type) + U32(count) + U32(value));
    return *this;
  }
  JpegFile& Count(size_t at, uint16_t entries) {
    Put(base_ + at, U16(entries));
    return *this;
  }
  JpegFile& Text(size_t at, const std::string& text) {
    Put(base_ + at, text + std::string(1, '\0'));
    return *this;
  }
  // The usual layout: IFD0 points to the Exif directory, which holds the date tags and their texts.
  JpegFile& Standard(const std::string& original, const std::string& digitized) {
    Count(8, 1).Entry(10, 0x8769, 4, 1, 26);
    const uint16_t entries = static_cast<uint16_t>(!original.empty() + !digitized.empty());
    Count(26, entries);
    size_t at = 28;
    if (!original.empty()) {
      Entry(at, 0x9003, 2, 20, 80).Text(80, original);
      at += 12;
    }
    if (!digitized.empty()) Entry(at, 0x9004, 2, 20, 100).Text(100, digitized);
    return *this;
  }
  std::string Bytes(size_t minSize = 0) const {
    std::string out = bytes_;
    if (out.size() < minSize) out.resize(minSize, '\x55');
    return out;
  }

 private:
  std::string U16(uint16_t v) const { return Bytes16(big_, v); }
  std::string U32(uint32_t v) const { return Bytes32(big_, v); }
  void Put(size_t at, const std::string& data) {
    if (bytes_.size() < at + data.size()) bytes_.resize(at + data.size(), '\0');
    bytes_.replace(at, data.size(), data);
  }

  bool big_;
  std::string bytes_;
  size_t base_ = 0;
};

// The date read from the bytes through a real file, or "none". Most files here have no valid
// segment structure (the segment claims 16 KB), so they are read by the byte search.
std::string ReadDate(const std::string& bytes, const std::wstring& name = L"photo.jpg") {
  TempFolder dir;
  SYSTEMTIME t = Sentinel();
  const int result = ReadCaptureDate(dir.WriteFile(name, bytes), t, L"0");
  if (result != kDateFound) return TimeText(t) == TimeText(Sentinel()) ? "none" : "none, but the record changed";
  return TimeText(t);
}

TEST(ExifDateRead, BothByteOrdersOfTheUsualLayout) {
  for (bool big : {false, true}) {
    const std::string file = JpegFile(big).Standard("2024:03:15 10:20:30", "2024:03:16 11:21:31").Bytes(6000);
    EXPECT_EQ("2024-03-15 10:20:30.000", ReadDate(file)) << (big ? "MM" : "II");
  }
}

TEST(ExifDateRead, OnlyTheDigitizedTimeIsUsedWhenItIsAllThereIs) {
  for (bool big : {false, true}) {
    EXPECT_EQ("2019-12-31 23:59:58.000", ReadDate(JpegFile(big).Standard("", "2019:12:31 23:59:58").Bytes(5000)));
  }
}

TEST(ExifDateRead, ALaterCaptureTimeReplacesAnEarlierDigitizedTime) {
  JpegFile file(false);
  file.Entry(40, 0x9004, 2, 20, 200).Text(200, "2001:01:01 01:01:01");
  file.Entry(90, 0x9003, 2, 20, 240).Text(240, "2002:02:02 02:02:02");
  EXPECT_EQ("2002-02-02 02:02:02.000", ReadDate(file.Bytes(5000)));
}

TEST(ExifDateRead, ValueBeyondTheFirstBufferIsReadByALargerAttempt) {
  // The tag stands in the first 4,095 bytes; its value lies in the second, then in the third buffer.
  for (uint32_t valueAt : {6000u, 30000u, 65534u - 40u}) {
    JpegFile file(true);
    file.Entry(100, 0x9003, 2, 20, valueAt).Text(valueAt, "2010:10:10 10:10:10");
    EXPECT_EQ("2010-10-10 10:10:10.000", ReadDate(file.Bytes(70000))) << valueAt;
  }
}

TEST(ExifDateRead, TagBeyondTheFirst4095BytesIsFound) {
  JpegFile file(false);
  file.Entry(5000, 0x9003, 2, 20, 5100).Text(5100, "2015:05:05 05:05:05");
  EXPECT_EQ("2015-05-05 05:05:05.000", ReadDate(file.Bytes(9000)));
}

TEST(ExifDateRead, ExifMarkerBeyondTheFirstSearchIsFoundByTheSecondAttempt) {
  // The marker is looked for only up to the read size minus 1,024: at 3,500 the first attempt misses it.
  JpegFile file(false, 3500);
  file.Standard("2020:02:29 12:00:00", "");
  EXPECT_EQ("2020-02-29 12:00:00.000", ReadDate(file.Bytes(9000)));
}

TEST(ExifDateRead, CaptureTimeOutOfEveryBufferFallsBackToTheDigitizedTime) {
  JpegFile file(false);
  file.Entry(40, 0x9004, 2, 20, 300).Text(300, "2003:03:03 03:03:03");
  file.Entry(60, 0x9003, 2, 20, 70000);
  EXPECT_EQ("2003-03-03 03:03:03.000", ReadDate(file.Bytes(5000)));
  JpegFile alone(false);
  alone.Entry(60, 0x9003, 2, 20, 70000);
  EXPECT_EQ("none", ReadDate(alone.Bytes(5000)));
}

TEST(ExifDateRead, EntriesOfOtherTypesOrCountsAreSkipped) {
  JpegFile file(true);
  file.Entry(40, 0x9003, 3, 20, 300).Text(300, "2001:01:01 01:01:01");   // not text
  file.Entry(60, 0x9003, 2, 19, 320).Text(320, "2002:02:02 02:02:02");   // wrong count
  file.Entry(80, 0x9003, 2, 20, 340).Text(340, "2004:04:04 04:04:04");
  EXPECT_EQ("2004-04-04 04:04:04.000", ReadDate(file.Bytes(5000)));
}

TEST(ExifDateRead, WhatIsNotAPhotographWithADateFails) {
  const std::string good = JpegFile(false).Standard("2024:03:15 10:20:30", "").Bytes(5000);
  std::string notJpeg = good;
  notJpeg[1] = '\xD9';
  std::string badHeader = good;
  badHeader[JpegFile(false).Base()] = 'X';
  EXPECT_EQ("none", ReadDate(notJpeg));
  EXPECT_EQ("none", ReadDate(badHeader));
  EXPECT_EQ("none", ReadDate(""));
  EXPECT_EQ("none", ReadDate("\xFF\xD8"));
  EXPECT_EQ("none", ReadDate(JpegFile(false).Bytes(5000)));  // no date tag at all
  EXPECT_EQ("none", ReadDate(JpegFile(false).Standard("2024:03:15 10:20:3", "").Bytes(5000)));
  EXPECT_EQ("none", ReadDate(good.substr(0, 60)));  // cut inside the directory
}

TEST(ExifDateText, FormAndTensDigits) {
  struct Case {
    std::string text;
    const char* expected;
  } const cases[] = {
      {"2024:03:15 10:20:30", "2024-03-15 10:20:30.000"},
      {"1999:12:31 23:59:59", "1999-12-31 23:59:59.000"},
      {"2024:02:29 00:00:00", "2024-02-29 00:00:00.000"},
      {"2024:19:39 29:59:69", "none"},  // no such month, day, hour or second
      {"2023:02:29 10:20:30", "none"},
      {"2024:04:31 10:20:30", "none"},
      {"2024:00:15 10:20:30", "none"},
      {"2024:03:00 10:20:30", "none"},
      {"2024:03:15 24:00:00", "none"},
      {"2024:03:15 10:20:60", "none"},
      {"0000:00:00 00:00:00", "none"},
      {"0024:03:15 10:20:30", "none"},
      {"3024:03:15 10:20:30", "none"},
      {"2024:23:15 10:20:30", "none"},
      {"2024:03:45 10:20:30", "none"},
      {"2024:03:15 30:20:30", "none"},
      {"2024:03:15 10:60:30", "none"},
      {"2024-03-15 10:20:30", "none"},
      {"2024:03:15T10:20:30", "none"},
      {"2024:0A:15 10:20:30", "none"},
      {"2024:03:15 10:20:3", "none"},
      {"2024:03:15 10:20:300", "none"},
      {"    :  :     :  :  ", "none"},
      {"", "none"},
  };
  for (const Case& c : cases) {
    std::string value = c.text;
    value.resize(20, '\0');  // as copied from the file: the text and what follows it, 20 bytes
    if (c.text.size() >= 20) value = c.text.substr(0, 20);
    SYSTEMTIME t = Sentinel();
    const bool ok = ParseExifDateText(value, t);
    EXPECT_EQ(c.expected, ok ? TimeText(t) : std::string("none")) << c.text;
    if (!ok) {
      EXPECT_EQ(TimeText(Sentinel()), TimeText(t)) << c.text;
    }
  }
}

// A little-endian attempt buffer holding one 0x9003 entry whose value starts at `valueAt`.
std::vector<unsigned char> BufferWithValueAt(size_t bufferSize, size_t valueAt) {
  std::string bytes("\xFF\xD8\xFF\xE1\x40\x00", 6);
  bytes += std::string("Exif\0\0II\x2A\0\x08\0\0\0", 14);
  const size_t base = 12;
  const uint32_t offset = static_cast<uint32_t>(valueAt - base);
  bytes += std::string("\x03\x90\x02\x00\x14\x00\x00\x00", 8);
  bytes += std::string{static_cast<char>(offset), static_cast<char>(offset >> 8), static_cast<char>(offset >> 16),
                       static_cast<char>(offset >> 24)};
  std::vector<unsigned char> buffer(bufferSize, 0);
  std::copy(bytes.begin(), bytes.end(), buffer.begin());
  const std::string text = "2011:11:11 11:11:11";
  for (size_t i = 0; i < text.size() && valueAt + i < bufferSize; ++i) buffer[valueAt + i] = text[i];
  return buffer;
}

TEST(ExifDateText, ValuesOf19To21BytesAreCheckedByTheirText) {
  struct Case {
    std::string value;
    bool ok;
  } const cases[] = {
      {"2005:06:07 08:09:10", true},
      {std::string("2005:06:07 08:09:10\0", 20), true},
      {std::string("2005:06:07 08:09:10\0\0", 21), true},
      {std::string("2005:06:07 08:09:1\0\0", 20), false},
      {"2005:06:07 08:09:10 ", false},
      {std::string("2005:06:07") + '\0' + "08:09:10", false},
  };
  for (const Case& c : cases) {
    SYSTEMTIME t = Sentinel();
    EXPECT_EQ(c.ok, ParseExifDateText(c.value, t)) << c.value.size();
  }
}

TEST(ExifDateScan, ValueMustEndWithinTheAttemptsBuffer) {
  std::string value, digitized;
  // Ending exactly at the buffer's end is inside; one byte further is not.
  auto inside = BufferWithValueAt(4096, 4096 - 20);
  EXPECT_EQ(ExifScan::kValue, ScanExifBuffer(inside.data(), inside.size(), 4095, value, digitized));
  EXPECT_EQ(std::string("2011:11:11 11:11:11") + '\0', value);
  auto beyond = BufferWithValueAt(4096, 4096 - 19);
  EXPECT_EQ(ExifScan::kOriginalBeyond, ScanExifBuffer(beyond.data(), beyond.size(), 4095, value, digitized));
}

TEST(ExifDateFuzz, GuardPagesReallyFence) {
  const unsigned char bytes[3] = {1, 2, 3};
  GuardedBytes after(bytes, 3, GuardedBytes::Fence::kAfterEnd);
  GuardedBytes before(bytes, 3, GuardedBytes::Fence::kBeforeStart);
  ASSERT_TRUE(after.Valid() && before.Valid());
  EXPECT_FALSE(IsBadReadPtr(after.Data(), 3));
  EXPECT_TRUE(IsBadReadPtr(after.Data() + 3, 1));
  EXPECT_TRUE(IsBadReadPtr(before.Data() - 1, 1));
}

// Random buffers, most of them with a marker, a header and date entries whose offsets point near and
// past the buffer's end, scanned in memory fenced on both sides: a single byte read outside faults.
TEST(ExifDateFuzz, ScanNeverReadsOutsideItsBuffer) {
  std::mt19937 random(20240315);
  auto below = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(random() % n); };
  for (int round = 0; round < 4000; ++round) {
    const size_t size = below(round % 10 == 0 ? 70000 : 9000);
    std::vector<unsigned char> bytes(size);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    if (size > 20 && below(4) != 0) {
      const size_t marker = below(size - 14);
      const bool big = below(2) == 0;
      const unsigned char order = big ? 'M' : 'I';
      const unsigned char magic0 = big ? 0x00 : 0x2A, magic1 = big ? 0x2A : 0x00;
      const unsigned char header[14] = {'E', 'x', 'i', 'f', 0, 0, order, order, magic0, magic1, 0, 0, 0, 8};
      std::copy(header, header + 14, bytes.begin() + static_cast<std::ptrdiff_t>(marker));
      const size_t base = marker + 6;
      for (int e = static_cast<int>(below(6)); e > 0; --e) {
        // Entries anywhere from the header on, also cut short by the buffer's end.
        const size_t at = below(3) == 0 ? size - 1 - below(std::min<size_t>(12, size - base)) : base + below(size - base);
        const uint32_t distance = static_cast<uint32_t>(size - base);
        const uint32_t offsets[] = {distance - 20, distance - 19, distance, 0xFFFFFFFFu, 0xFFFFFFECu,
                                    static_cast<uint32_t>(random())};
        const std::string entry = Bytes16(big, below(2) == 0 ? 0x9003 : 0x9004) + Bytes16(big, 2) +
                                  Bytes32(big, 20) + Bytes32(big, offsets[below(6)]);
        for (size_t i = 0; i < 12 && at + i < size; ++i) bytes[at + i] = static_cast<unsigned char>(entry[i]);
      }
    }
    const size_t readSize = below(2) == 0 ? size : below(size + 2000);
    for (auto fence : {GuardedBytes::Fence::kAfterEnd, GuardedBytes::Fence::kBeforeStart}) {
      GuardedBytes guarded(bytes.data(), bytes.size(), fence);
      ASSERT_TRUE(guarded.Valid());
      std::string value, digitized;
      const ExifScan result = ScanExifBuffer(guarded.Data(), guarded.Size(), readSize, value, digitized);
      if (result == ExifScan::kValue) {
        ASSERT_EQ(20u, value.size());
      }
    }
  }
}

// Mutations of real photographs (flipped bytes, cut ends, offsets made huge) through all attempts:
// no crash, and the record is either a checked date or untouched.
TEST(ExifDateFuzz, MutatedPhotographsNeverCrash) {
  std::mt19937 random(7);
  const std::string seeds[] = {
      JpegFile(false).Standard("2024:03:15 10:20:30", "2024:03:16 11:21:31").Bytes(5000),
      JpegFile(true).Standard("", "2019:12:31 23:59:58").Bytes(9000),
      JpegFile(false, 3500).Standard("2020:02:29 12:00:00", "").Bytes(700),
  };
  int found = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = seeds[random() % 3];
    const int flips = static_cast<int>(random() % 12);
    for (int f = 0; f < flips && !bytes.empty(); ++f) {
      // Flips fall mostly in the first 200 bytes, where the header and the directory are.
      const size_t at = random() % 4 == 0 ? random() % bytes.size() : random() % std::min<size_t>(200, bytes.size());
      bytes[at] = static_cast<char>(random() % 3 == 0 ? 0xFF : random());
    }
    if (random() % 4 == 0) bytes.resize(random() % (bytes.size() + 1));
    SYSTEMTIME t = Sentinel();
    if (ExifDateFromBytes(bytes, t)) {
      ++found;
      EXPECT_GE(t.wYear, 1000);
      EXPECT_LE(t.wYear, 2999);
      EXPECT_LE(t.wMonth, 19);
    } else {
      EXPECT_EQ(TimeText(Sentinel()), TimeText(t));
    }
  }
  EXPECT_GT(found, 0);  // the mutations leave many photographs readable; the reader was really exercised
}

}  // namespace
}  // namespace korval
