#include "modes/capture_date.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>

#include <gtest/gtest.h>

#include "testing/capture_samples.h"
#include "testing/date_samples.h"
#include "testing/byte_mutation.h"
#include "modes/quicktime_date.h"
#include "testing/temp_folder.h"
#include "platform/utf8.h"

namespace korval {
namespace {

using namespace samples;

constexpr uint32_t k20240315At102030 = 3793342830u;  // seconds since 1904-01-01, UTC

// What the readers make of the bytes: the written date, the movie time in UTC, or "none".
std::string Found(std::string_view bytes, std::wstring_view name = L"") {
  MemoryByteSource source(bytes);
  CaptureTime found;
  if (!FindCaptureTime(source, name, found)) return "none";
  SYSTEMTIME t = Sentinel();
  switch (found.kind) {
    case CaptureTime::Kind::kWritten: return SecondsText(found.written);
    case CaptureTime::Kind::kMovieSeconds:
      return MovieTimeToLocal(found.movieSeconds, L"0", t) ? SecondsText(t) + " UTC" : "none (too early)";
    case CaptureTime::Kind::kNone: break;
  }
  return "none, but found";
}

std::string UsualTiff(bool big = false) {
  return ExifTiff(big, {Original("2024:03:15 10:20:30"), Digitized("2024:03:16 11:21:31")});
}

std::string Movie(const std::string& moovBody, const std::string& brand = "qt  ") {
  return FileType(brand) + Box("moov", moovBody) + Box("mdat", std::string(500, '\x01'));
}

std::vector<std::pair<std::string, std::string>> X3fProperties(const std::string& time) {
  return {{"CAMMANUF", "SIGMA"}, {"CAMMODEL", "SD9"}, {"TIME", time}, {"ISO", "100"}};
}

struct Row {
  const char* what;
  std::string bytes;
  const char* expected;
};

// One row per container and layout that cameras, phones and editors write.
std::vector<Row> Layouts() {
  const std::string tiff = UsualTiff();
  TiffLayout inFirst;  // raw formats that keep the capture time in the first directory
  inFirst.big = true;
  inFirst.first = {Original("2019:07:08 09:10:11")};
  TiffLayout blankOriginal;
  blankOriginal.exif = {Original("    :  :     :  :  "), Digitized("1998:05:06 07:08:09")};
  TiffLayout zeroOriginal;
  zeroOriginal.exif = {Original("0000:00:00 00:00:00"), Digitized("1998:05:06 07:08:09")};
  const std::string mainTiff = Tiff({false, {{0x010F, 2, 6, std::string("Maker\0", 6)}}, {}, 0});
  TiffLayout cr3Exif;
  cr3Exif.first = {Original("2023:11:12 13:14:15")};
  HeifLayout heif;
  HeifLayout heifWide;
  heifWide.ilocVersion = 2;
  heifWide.iinfVersion = 1;
  heifWide.infeVersion = 3;
  heifWide.exifPrefix = false;
  HeifLayout heifItemData;
  heifItemData.ilocVersion = 1;
  heifItemData.inItemData = true;
  HeifLayout heifBaseOffsets;
  heifBaseOffsets.ilocVersion = 1;
  heifBaseOffsets.baseOffsets = true;
  HeifLayout heifManyEntries;
  heifManyEntries.iinfVersion = 1;
  heifManyEntries.claimedEntries = 100000;
  const std::string bigMdat(3 * 1024 * 1024, '\x01');
  const std::string header = MovieHeader(k20240315At102030);

  return {
      {"JPEG, little-endian", Jpeg(tiff), "2024-03-15 10:20:30"},
      {"JPEG, big-endian", Jpeg(UsualTiff(true)), "2024-03-15 10:20:30"},
      {"JPEG, only the digitized time", Jpeg(ExifTiff(false, {Digitized("2019:12:31 23:59:58")})), "2019-12-31 23:59:58"},
      {"JPEG, digitized before original", Jpeg(ExifTiff(false, {Digitized("2001:01:01 01:01:01"), Original("2002:02:02 02:02:02")})),
       "2002-02-02 02:02:02"},
      {"capture time with count 19", Jpeg(ExifTiff(false, {Original("2005:06:07 08:09:10", 19)})), "2005-06-07 08:09:10"},
      {"capture time with count 21", Jpeg(ExifTiff(true, {Original("2005:06:07 08:09:10", 21)})), "2005-06-07 08:09:10"},
      {"count 22 is no date", Jpeg(ExifTiff(false, {Original("2005:06:07 08:09:10", 22)})), "none"},
      {"blank capture time, valid digitized time", Jpeg(Tiff(blankOriginal)), "1998-05-06 07:08:09"},
      {"zero capture time, valid digitized time", Jpeg(Tiff(zeroOriginal)), "1998-05-06 07:08:09"},
      {"TIFF, little-endian", tiff + std::string(100, '\x10'), "2024-03-15 10:20:30"},
      {"TIFF, date in the first directory", Tiff(inFirst), "2019-07-08 09:10:11"},
      {"ORF header", "IIRO" + tiff.substr(4), "2024-03-15 10:20:30"},
      {"RW2 header", std::string("IIU\0", 4) + tiff.substr(4), "2024-03-15 10:20:30"},
      {"RAF with its JPEG", Raf(Jpeg(tiff)), "2024-03-15 10:20:30"},
      {"MRW with its TIFF block", Mrw(UsualTiff(true)), "2024-03-15 10:20:30"},
      {"WebP, EXIF chunk with prefix", WebP(tiff, true), "2024-03-15 10:20:30"},
      {"WebP, EXIF chunk without prefix", WebP(tiff, false), "2024-03-15 10:20:30"},
      {"PNG eXIf", Png(tiff), "2024-03-15 10:20:30"},
      {"PSD EXIF resource", Psd(UsualTiff(true)), "2024-03-15 10:20:30"},
      {"HEIC, iloc 0, offset prefix", Heif(tiff, heif), "2024-03-15 10:20:30"},
      {"HEIC, iloc 2, 32-bit ids", Heif(tiff, heifWide), "2024-03-15 10:20:30"},
      {"HEIC, EXIF item in idat", Heif(tiff, heifItemData), "2024-03-15 10:20:30"},
      {"HEIC, iloc 1 with base offsets", Heif(tiff, heifBaseOffsets), "2024-03-15 10:20:30"},
      {"HEIC, item count claims 100,000", Heif(tiff, heifManyEntries), "2024-03-15 10:20:30"},
      {"CR3 metadata boxes", Cr3(mainTiff, Tiff(cr3Exif), k20240315At102030), "2023-11-12 13:14:15"},
      {"MOV, header at the start", Movie(MovieHeader(k20240315At102030) + Track()), "2024-03-15 10:20:30 UTC"},
      {"MP4", Movie(MovieHeader(k20240315At102030), "mp42"), "2024-03-15 10:20:30 UTC"},
      {"3GP", Movie(MovieHeader(k20240315At102030), "3gp4"), "2024-03-15 10:20:30 UTC"},
      {"version-1 header, 64-bit times", Movie(MovieHeader(k20240315At102030, 1)), "2024-03-15 10:20:30 UTC"},
      {"another box before the header", Movie(Box("udta", std::string(30, '\x02')) + Track() + MovieHeader(k20240315At102030)),
       "2024-03-15 10:20:30 UTC"},
      {"header behind 3 MB of media data", FileType("mp42") + Box("mdat", bigMdat) + Box("moov", MovieHeader(k20240315At102030)),
       "2024-03-15 10:20:30 UTC"},
      {"header more than 512 KB before the end",
       FileType("mp42") + Box("moov", MovieHeader(k20240315At102030)) + Box("mdat", bigMdat), "2024-03-15 10:20:30 UTC"},
      {"64-bit box sizes", FileType("mp42") + Box64("mdat", std::string(100, '\x01')) + Box64("moov", MovieHeader(k20240315At102030)),
       "2024-03-15 10:20:30 UTC"},
      {"last box runs to the end (size 0)",
       FileType("mp42") + Box("moov", MovieHeader(k20240315At102030)) + Be32(0) + "mdat" + std::string(100, '\x01'),
       "2024-03-15 10:20:30 UTC"},
      {"movie box of size 0 at the end", FileType("qt  ") + Box("mdat", "xx") + Be32(0) + "moov" + MovieHeader(k20240315At102030),
       "2024-03-15 10:20:30 UTC"},
      {"placeholder time of a camera without clock", Movie(MovieHeader(0)), "none (too early)"},
      {"MOV, Apple's creation date with its offset",
       Movie(header + AppleCreationDate("2024-03-15T19:20:30+0900")), "2024-03-15 19:20:30"},
      {"MP4, day text in user data, offset with colon",
       Movie(header + Track() + UserDataDay("2024-03-15T11:20:30+01:00"), "mp42"), "2024-03-15 11:20:30"},
      {"MP4, day item in user data, before the header",
       Movie(UserDataItemDay("2024-03-15T06:20:30-04:00") + header, "mp42"), "2024-03-15 06:20:30"},
      {"day text without offset: the header's time", Movie(header + UserDataDay("2024-03-15T19:20:30")),
       "2024-03-15 10:20:30 UTC"},
      {"day text of a year alone: the header's time", Movie(header + UserDataDay("2024")), "2024-03-15 10:20:30 UTC"},
      {"X3F, EXIF of the JPEG preview before the property time", X3f(Jpeg(tiff), X3fProperties("1262304000")),
       "2024-03-15 10:20:30"},
      {"X3F, property time without a preview", X3f("", X3fProperties("1710498030")), "2024-03-15 10:20:30 UTC"},
      {"X3F, preview without dates, property time", X3f(Jpeg(ExifTiff(false, {})), X3fProperties("1710498030")),
       "2024-03-15 10:20:30 UTC"},
      {"X3F, neither", X3f("", {{"CAMMANUF", "SIGMA"}}), "none"},
  };
}

TEST(CaptureDateLayouts, EachContainerAndLayoutGivesItsTime) {
  for (const Row& row : Layouts()) EXPECT_EQ(row.expected, Found(row.bytes)) << row.what;
}

// Cut, looping and lying structures: no time, and no crash, hang or read outside the bytes.
TEST(CaptureDateLayouts, FaultyStructuresGiveNoTime) {
  const std::string tiff = UsualTiff();
  const std::string jpeg = Jpeg(tiff);
  const std::string movie = Movie(MovieHeader(k20240315At102030));
  TiffLayout selfLoop;
  selfLoop.first = {{0x010F, 2, 4, "abc"}};
  selfLoop.nextOfFirst = 8;
  TiffLayout exifIsFirst;
  exifIsFirst.first = {{0x8769, 4, 1, Le32(8)}};
  TiffLayout exifBeyond;
  exifBeyond.first = {{0x8769, 4, 1, Le32(0x7FFFFFF0)}};
  std::string hugeCount = ExifTiff(false, {});
  hugeCount[8] = '\xFF';
  hugeCount[9] = '\xFF';
  std::string valueBeyond = Tiff({false, {}, {{0x9003, 2, 20, std::string(20, 'x')}}, 0});
  valueBeyond.resize(valueBeyond.size() - 10);
  std::string app1Beyond = jpeg;
  app1Beyond[std::string("\xFF\xD8", 2).size() + 18 + 2] = '\x7F';  // the EXIF segment's length, high byte
  std::string zeroLengthSegment = std::string("\xFF\xD8\xFF\xE2\x00\x00", 6) + jpeg.substr(2);
  const size_t timeAt = movie.find("mvhd") + 8;
  std::string moovTooLarge = movie;
  moovTooLarge.replace(movie.find("moov") - 4, 4, Be32(0x7FFFFFFF));
  std::string boxTooSmall = movie;
  boxTooSmall.replace(movie.find("moov") - 4, 4, Be32(4));
  std::string largeSizeTooSmall = FileType("mp42") + Be32(1) + "moov" + Be64(8) + MovieHeader(k20240315At102030);
  std::string mdatLies = FileType("mp42") + Be32(1) + "mdat" + Be64(1ULL << 40) + Box("moov", MovieHeader(k20240315At102030));
  std::string riffLies = WebP(tiff, false);
  riffLies.replace(riffLies.find("EXIF") + 4, 4, Le32(0xFFFFFFF0));
  std::string pngLies = Png(tiff);
  pngLies.replace(pngLies.find("eXIf") - 4, 4, Be32(0xFFFFFFF0));
  std::string mrwLies = Mrw(tiff);
  mrwLies.replace(mrwLies.find(std::string("\0TTW", 4)) + 4, 4, Be32(0xFFFFFFF0));
  std::string psdLies = Psd(tiff);
  psdLies.replace(psdLies.rfind("8BIM") + 8, 4, Be32(0x7FFFFFF0));
  std::string rafLies = Raf(jpeg);
  rafLies.replace(84, 4, Be32(0xFFFFFF00));
  std::string heifExtentBeyond = Heif(tiff, {});
  // Behind "iloc": version and flags, the field sizes, the item count, the first item (14 bytes), then
  // the second item's id, reference and extent count before its offset.
  heifExtentBeyond.replace(heifExtentBeyond.find("iloc") + 4 + 4 + 2 + 2 + 14 + 6, 4, Be32(0x7FFFFFF0));
  std::string heifPrefixLies = Heif(tiff, {});
  heifPrefixLies.replace(heifPrefixLies.rfind("Exif") - 4, 4, Be32(0xFFFFFFF0));

  const std::string x3f = X3f("", X3fProperties("1710498030"));
  const size_t x3fDirectory = x3f.size() - 4 - 12 - 2 * 12;
  std::string x3fDirectoryBeyond = x3f;
  x3fDirectoryBeyond.replace(x3f.size() - 4, 4, Le32(0x7FFFFFF0));
  std::string x3fDirectoryAtStart = x3f;
  x3fDirectoryAtStart.replace(x3f.size() - 4, 4, Le32(0));
  std::string x3fManySections = x3f;
  x3fManySections.replace(x3fDirectory + 8, 4, Le32(100000));
  std::string x3fListBeyond = x3f;
  x3fListBeyond.replace(x3fDirectory + 12 + 12 + 4, 4, Le32(0x7FFFFFF0));
  std::string x3fTextBeyond = x3f;
  x3fTextBeyond.replace(x3f.find("SECp") + 20, 4, Le32(0x7FFFFFF0));
  std::string x3fNameBeyond = x3f;
  x3fNameBeyond.replace(x3f.find("SECp") + 24 + 2 * 8, 4, Le32(0x7FFFFFF0));
  std::string x3fPreviewBeyond = X3f(jpeg, X3fProperties("x"));
  x3fPreviewBeyond.replace(x3fPreviewBeyond.size() - 4 - 3 * 12 + 4, 4, Le32(0x7FFFFFF0));
  std::string x3fUnterminated = X3f("", {{"TIME", "1710498030"}});
  x3fUnterminated.replace(x3fUnterminated.find("SECp") + 20, 4, Le32(5 + 4));  // the text ends inside the time

  const Row rows[] = {
      {"empty file", "", "none"},
      {"a few bytes", "\xFF\xD8\xFF", "none"},
      {"JPEG cut inside the EXIF directory", jpeg.substr(0, 40), "none"},
      {"JPEG cut inside the date text", jpeg.substr(0, jpeg.find("2024:03:15") + 12), "none"},
      {"EXIF segment longer than the file", app1Beyond, "none"},
      {"segment of length 0", zeroLengthSegment, "none"},
      {"directory linked to itself", Tiff(selfLoop), "none"},
      {"EXIF directory is the first directory", Tiff(exifIsFirst), "none"},
      {"EXIF directory beyond the file", Tiff(exifBeyond), "none"},
      {"directory claims 65,535 entries", hugeCount, "none"},
      {"date value beyond the file", valueBeyond, "none"},
      {"blank capture time alone", Jpeg(ExifTiff(false, {Original("    :  :     :  :  ")})), "none"},
      {"movie cut inside the creation time", movie.substr(0, timeAt + 2), "none"},
      {"movie cut before the header", movie.substr(0, movie.find("moov") + 10), "none"},
      {"movie box larger than the file", moovTooLarge, "none"},
      {"box smaller than its header", boxTooSmall, "none"},
      {"64-bit size smaller than its header", largeSizeTooSmall, "none"},
      {"media data claims a terabyte", mdatLies, "none"},
      {"WebP chunk longer than the file", riffLies, "none"},
      {"PNG chunk longer than the file", pngLies, "none"},
      {"MRW block longer than the file", mrwLies, "none"},
      {"RAF preview beyond the file", rafLies, "none"},
      {"PSD resource longer than the file", psdLies, "none"},
      {"HEIC extent beyond the file", heifExtentBeyond, "none"},
      {"HEIC offset prefix beyond the item", heifPrefixLies, "none"},
      {"X3F directory beyond the file", x3fDirectoryBeyond, "none"},
      {"X3F directory offset points at the header", x3fDirectoryAtStart, "none"},
      {"X3F directory claims 100,000 sections", x3fManySections, "none"},
      {"X3F property list longer than the file", x3fListBeyond, "none"},
      {"X3F property text longer than its list", x3fTextBeyond, "none"},
      {"X3F property name beyond the text", x3fNameBeyond, "none"},
      {"X3F preview longer than the file, time not a number", x3fPreviewBeyond, "none"},
      {"X3F property text ends inside the time", x3fUnterminated, "none"},
      {"text file", "2024:03:15 10:20:30 moov mvhd Exif", "none"},
  };
  for (const Row& row : rows) {
    // Fenced on both sides: a single byte read outside faults at once.
    for (auto fence : {GuardedBytes::Fence::kAfterEnd, GuardedBytes::Fence::kBeforeStart}) {
      GuardedBytes guarded(reinterpret_cast<const unsigned char*>(row.bytes.data()), row.bytes.size(), fence);
      ASSERT_TRUE(guarded.Valid());
      EXPECT_EQ(row.expected, Found(std::string_view(reinterpret_cast<const char*>(guarded.Data()), guarded.Size())))
          << row.what;
    }
  }
}

// A file that is mostly zeros, with chosen bytes at chosen places; counts what is read.
class SparseSource final : public ByteSource {
 public:
  SparseSource(uint64_t size, std::map<uint64_t, std::string> parts) : size_(size), parts_(std::move(parts)) {}
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, size_t count, unsigned char* out) override {
    if (!Holds(offset, count)) return false;
    ++reads;
    bytes += count;
    std::fill(out, out + count, 0);
    for (const auto& [at, part] : parts_) {
      for (size_t i = 0; i < part.size(); ++i) {
        if (at + i >= offset && at + i < offset + count) out[at + i - offset] = static_cast<unsigned char>(part[i]);
      }
    }
    return true;
  }
  size_t reads = 0;
  uint64_t bytes = 0;

 private:
  uint64_t size_;
  std::map<uint64_t, std::string> parts_;
};

TEST(CaptureDateCost, AHeaderAtTheEndOfA4GBMovieCostsAFewReads) {
  const uint64_t size = 4500ULL * 1024 * 1024;
  const std::string ftyp = FileType("mp42");
  const std::string moov = Box("moov", MovieHeader(k20240315At102030, 1));
  const uint64_t moovAt = size - moov.size();
  const std::string mdat = Be32(1) + "mdat" + Be64(moovAt - ftyp.size());
  SparseSource source(size, {{0, ftyp + mdat}, {moovAt, moov}});
  CaptureTime found;
  ASSERT_TRUE(FindCaptureTime(source, L"", found));
  EXPECT_EQ(CaptureTime::Kind::kMovieSeconds, found.kind);
  EXPECT_EQ(k20240315At102030, found.movieSeconds);
  EXPECT_LE(source.reads, 16u);
  EXPECT_LE(source.bytes, 200u);
}

TEST(CaptureDateCost, FilesOnDiskAreReadInAFewSmallBlocks) {
  TempFolder dir;
  struct Case {
    const wchar_t* name;
    std::string bytes;
    size_t maxReads;
    uint64_t maxBytes;
  } const cases[] = {
      {L"photo.jpg", Jpeg(UsualTiff()) + std::string(2 * 1024 * 1024, '\x10'), 1, 8192},
      {L"clip.mp4", FileType("mp42") + Box("mdat", std::string(3 * 1024 * 1024, '\x01')) +
                        Box("moov", MovieHeader(k20240315At102030)),
       3, 3 * 8192},
  };
  for (const Case& c : cases) {
    FileByteSource file(dir.WriteFile(c.name, c.bytes));
    ASSERT_TRUE(file.IsOpen());
    CaptureTime found;
    EXPECT_TRUE(FindCaptureTime(file, c.name, found)) << Utf8(c.name);
    EXPECT_LE(file.DiskReads(), c.maxReads) << Utf8(c.name);
    EXPECT_LE(file.BytesFromDisk(), c.maxBytes) << Utf8(c.name);
  }
}

// A file on disk gives the same bytes as memory, whatever the order of the reads: forward, back,
// across and beyond the cached block, larger than it, at the very end and past it.
TEST(CaptureDateCost, FileReadsInAnyOrderGiveTheFilesBytes) {
  std::string bytes(50000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  TempFolder dir;
  FileByteSource file(dir.WriteFile(L"bytes.bin", bytes));
  MemoryByteSource memory(bytes);
  ASSERT_TRUE(file.IsOpen());
  ASSERT_EQ(bytes.size(), file.Size());
  struct Read {
    uint64_t offset;
    size_t count;
  } const reads[] = {{0, 16},     {16, 100},   {8190, 10},  {40000, 8},  {4096, 4},   {12000, 9000}, {100, 3},
                     {49990, 10}, {49991, 10}, {0, 50000},  {20000, 1},  {20001, 1},  {19999, 2},   {50000, 0},
                     {50000, 1},  {8192, 8192}, {24576, 1}, {24575, 2},  {1, 49999}, {0, 50000},
                     {0, 50000},  {0, 16},     {4096, 8000}, {4096, 8000}};
  for (const Read& r : reads) {
    std::vector<unsigned char> fromFile(r.count + 1, 0xAA), fromMemory(r.count + 1, 0xAA);
    const bool fileOk = file.Read(r.offset, r.count, fromFile.data());
    EXPECT_EQ(memory.Read(r.offset, r.count, fromMemory.data()), fileOk) << r.offset << "+" << r.count;
    if (fileOk) {
      EXPECT_EQ(fromMemory, fromFile) << r.offset << "+" << r.count;
    }
  }
}

// Through real files: the name decides whether a file is opened, the content how it is read.
TEST(CaptureDateFiles, NamesOpenContentDecides) {
  TempFolder dir;
  const std::string jpeg = Jpeg(UsualTiff());
  const std::string heic = Heif(UsualTiff(), {});
  const std::string movie = Movie(MovieHeader(k20240315At102030));
  const std::string x3f = X3f("", X3fProperties("1710498030"));
  struct Case {
    const wchar_t* name;
    const std::string* bytes;
    const wchar_t* zone;
    const char* expected;
  } const cases[] = {
      {L"a.JPG", &jpeg, L"9", "2024-03-15 10:20:30"},
      {L"写真.jpeg", &jpeg, L"9", "2024-03-15 10:20:30"},
      {L"heic saved as.jpg", &heic, L"9", "2024-03-15 10:20:30"},
      {L"a.HEIC", &heic, L"9", "2024-03-15 10:20:30"},
      {L"a.png", &jpeg, L"9", "2024-03-15 10:20:30"},
      {L"clip.mp4", &movie, L"9", "2024-03-15 19:20:30"},
      {L"clip.M4V", &movie, L"-5", "2024-03-15 05:20:30"},
      {L"clip.3g2", &movie, L"0", "2024-03-15 10:20:30"},
      {L"clip.m4a", &movie, L"9", "2024-03-15 19:20:30"},
      {L"clip.mov", &movie, L"abc", "2024-03-15 10:20:30"},
      {L"SDIM0001.X3F", &x3f, L"9", "2024-03-15 19:20:30"},
      {L"sdim0001.x3f", &x3f, L"-2", "2024-03-15 08:20:30"},
      {L"clip.txt", &movie, L"9", "none"},
      {L"a.jpg.bak", &jpeg, L"9", "none"},
      {L"jpg", &jpeg, L"9", "none"},
  };
  for (const Case& c : cases) {
    SYSTEMTIME t = Sentinel();
    const int result = ReadCaptureDate(dir.WriteFile(c.name, *c.bytes), t, c.zone);
    EXPECT_EQ(c.expected, result == kDateFound ? SecondsText(t) : std::string("none")) << Utf8(c.name);
    if (result != kDateFound) {
      EXPECT_EQ(TimeText(Sentinel()), TimeText(t)) << Utf8(c.name);
    }
  }
  SYSTEMTIME t = Sentinel();
  EXPECT_EQ(kDateNotFound, ReadCaptureDate(dir / L"absent.jpg", t, L"9"));
  EXPECT_EQ(kDateNotFound, ReadCaptureDate(L"", t, L"9"));
}

TEST(CaptureDateFiles, BrokenJpegSegmentsFallBackToTheByteSearchForJpegNamesOnly) {
  std::string jpeg = Jpeg(UsualTiff());
  jpeg[4] = '\x7F';  // the JFIF segment claims far more than the file holds
  EXPECT_EQ("none", Found(jpeg, L"a.png"));
  EXPECT_EQ("none", Found(jpeg, L""));
  EXPECT_EQ("2024-03-15 10:20:30", Found(jpeg, L"a.JPG"));
}

// Mutations of every layout (flipped bytes, cut ends, sizes and offsets made huge) read from memory
// fenced on both sides: no crash, no read outside, and a time found is a checked one.
void MutateAndRead(std::mt19937& random, const std::vector<std::string>& seeds, int rounds, int& found) {
  for (int round = 0; round < rounds; ++round) {
    const std::string bytes = MutatedBytes(random, seeds[random() % seeds.size()]);
    bool first = true;
    ASSERT_TRUE(ReadFenced(bytes, [&](std::string_view fenced) {
      MemoryByteSource source(fenced);
      CaptureTime time;
      const std::wstring_view name = round % 2 ? L"x.jpg" : L"";
      const bool afterEnd = first;
      first = false;
      if (!FindCaptureTime(source, name, time)) return;
      if (afterEnd) ++found;
      if (time.kind == CaptureTime::Kind::kWritten) {
        ASSERT_GE(time.written.wYear, 1000);
        ASSERT_LE(time.written.wYear, 2999);
        ASSERT_GE(time.written.wMonth, 1);
        ASSERT_LE(time.written.wMonth, 12);
      } else {
        ASSERT_EQ(CaptureTime::Kind::kMovieSeconds, time.kind);
        ASSERT_GE(time.movieSeconds, 0);
      }
    }));
  }
}

std::vector<std::string> AllLayouts() {
  std::vector<std::string> seeds;
  for (const Row& row : Layouts()) {
    if (row.bytes.size() < 200000) seeds.push_back(row.bytes);
  }
  return seeds;
}

TEST(CaptureDateFuzz, MutatedLayoutsNeverCrash) {
  std::mt19937 random(20240315);
  int found = 0;
  MutateAndRead(random, AllLayouts(), 3000, found);
  EXPECT_GT(found, 300);  // most mutations leave a time to find: the readers were really exercised
}

// The long run, outside `make test`: KORVAL_SOAK_SECONDS=300 modes_test
// --gtest_also_run_disabled_tests --gtest_filter=*Soak*
TEST(CaptureDateFuzz, DISABLED_SoakMutationLoop) {
  const char* text = std::getenv("KORVAL_SOAK_SECONDS");
  const int seconds = text ? std::atoi(text) : 60;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  std::mt19937 random(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const std::vector<std::string> seeds = AllLayouts();
  long long rounds = 0;
  int found = 0;
  while (std::chrono::steady_clock::now() < end) {
    MutateAndRead(random, seeds, 500, found);
    rounds += 500;
  }
  std::printf("soak: %lld mutated files in %d s, %d of them with a time\n", rounds, seconds, found);
}

TEST(CaptureDateLocalTime, OnlyATextWithItsOffsetIsALocalTime) {
  struct Case {
    std::string text;
    const char* expected;
  } const cases[] = {
      {"2024-03-15T19:20:30+0900", "2024-03-15 19:20:30"},
      {"2024-03-15T19:20:30+09:00", "2024-03-15 19:20:30"},
      {"2024-03-15T19:20:30+09", "2024-03-15 19:20:30"},
      {"2024-03-15T04:20:30-05:00", "2024-03-15 04:20:30"},
      {"2024-03-15 19:20:30+0900", "2024-03-15 19:20:30"},
      {"2024-03-15T19:20:30.123+0900", "2024-03-15 19:20:30"},
      {std::string("2024-03-15T19:20:30+0900\0\0", 26), "2024-03-15 19:20:30"},
      {"2024-03-15T10:20:30Z", "none"},
      {"2024-03-15T19:20:30", "none"},
      {"2024-03-15T19:20:30.+0900", "none"},
      {"2024-03-15T19:20:30+15:00", "none"},
      {"2024-03-15T19:20:30+09:60", "none"},
      {"2024-03-15T19:20:30+09:", "none"},
      {"2024-03-15T19:20:30+0900x", "none"},
      {"2024-02-30T19:20:30+0900", "none"},
      {"2024:03:15 19:20:30+0900", "none"},
      {"2024", "none"},
      {"", "none"},
  };
  for (const Case& c : cases) {
    SYSTEMTIME t = Sentinel();
    const bool found = ParseLocalTimeWithOffset(c.text, t);
    EXPECT_EQ(c.expected, found ? SecondsText(t) : std::string("none")) << c.text;
    if (!found) {
      EXPECT_EQ(TimeText(Sentinel()), TimeText(t)) << c.text;
    }
  }
}

// Boxes of the local time that lie about their sizes and counts: the movie header's time, and no
// read outside the bytes.
TEST(CaptureDateLocalTime, LyingBoxesFallBackToTheHeader) {
  const std::string header = MovieHeader(k20240315At102030);
  std::string dayTooLong = Movie(header + UserDataDay("2024-03-15T19:20:30+0900"));
  dayTooLong.replace(dayTooLong.find("\xA9" "day") + 4, 2, Be16(0xFFFF));
  std::string manyKeys = Movie(header + AppleCreationDate("2024-03-15T19:20:30+0900"));
  manyKeys.replace(manyKeys.find("keys") + 8, 4, Be32(100000));
  manyKeys.replace(manyKeys.find("com.apple.quicktime.creationdate") - 8, 4, Be32(0x7FFFFFF0));
  std::string dataTooLarge = Movie(header + UserDataItemDay("2024-03-15T19:20:30+0900"));
  dataTooLarge.replace(dataTooLarge.find("data") - 4, 4, Be32(0x7FFFFFF0));
  std::string cutText = Movie(header + UserDataDay("2024-03-15T19:20:30+0900"));
  cutText.replace(cutText.find("\xA9" "day") + 4, 2, Be16(10));
  const std::string* rows[] = {&dayTooLong, &manyKeys, &dataTooLarge, &cutText};
  for (size_t i = 0; i < std::size(rows); ++i) {
    GuardedBytes guarded(reinterpret_cast<const unsigned char*>(rows[i]->data()), rows[i]->size(),
                         GuardedBytes::Fence::kAfterEnd);
    ASSERT_TRUE(guarded.Valid());
    const std::string_view fenced(reinterpret_cast<const char*>(guarded.Data()), guarded.Size());
    EXPECT_EQ("2024-03-15 10:20:30 UTC", Found(fenced)) << "row " << i;
  }
}

TEST(CaptureDateTimeZone, ExplicitHoursAndTheYearsTurn) {
  struct Case {
    long long seconds;
    const wchar_t* zone;
    const char* expected;
  } const cases[] = {
      {k20240315At102030, L"9", "2024-03-15 19:20:30"},
      {k20240315At102030, L"-5", "2024-03-15 05:20:30"},
      {k20240315At102030, L"23", "2024-03-16 09:20:30"},
      {k20240315At102030, L"+3", "2024-03-15 13:20:30"},
      {k20240315At102030, L"24", "2024-03-15 10:20:30"},
      {k20240315At102030, L"9.5", "2024-03-15 10:20:30"},
      {k20240315At102030, L"", "2024-03-15 10:20:30"},
      {3818516400LL, L"0", "2024-12-31 19:00:00"},  // the last day of a leap year stays in it
      {3818516400LL, L"4", "2024-12-31 23:00:00"},
      {3818516400LL, L"9", "2025-01-01 04:00:00"},
      {2177539200LL, L"0", "1973-01-01 00:00:00"},
      {2177539200LL, L"-1", "1972-12-31 23:00:00"},
      {2145916801LL - 9 * 3600, L"9", "1972-01-01 00:00:01"},  // hours count before the 1972 check
      {0xFFFFFFFFLL, L"0", "2040-02-06 06:28:15"},
      {0x100000000LL, L"0", "2040-02-06 06:28:16"},  // 64-bit header times run on
  };
  for (const Case& c : cases) {
    SYSTEMTIME t = Sentinel();
    EXPECT_TRUE(MovieTimeToLocal(c.seconds, c.zone, t)) << c.seconds << " " << Utf8(c.zone);
    EXPECT_EQ(c.expected, SecondsText(t)) << c.seconds << " " << Utf8(c.zone);
  }
  SYSTEMTIME t = Sentinel();
  EXPECT_FALSE(MovieTimeToLocal(2145916800LL, L"0", t));
  EXPECT_FALSE(MovieTimeToLocal(2145916800LL, kSystemTimeZone, t));
  EXPECT_FALSE(MovieTimeToLocal(-1, L"9", t));
  EXPECT_FALSE(MovieTimeToLocal(1LL << 62, L"9", t));
  EXPECT_EQ(TimeText(Sentinel()), TimeText(t));
}

// Without a `timezone` setting the system's rules for the movie's date apply, summer time included.
// The test harness pins Tokyo (no summer time); another zone of the table is checked when a run
// sets it.
TEST(CaptureDateTimeZone, SystemRulesForTheMoviesDate) {
  DYNAMIC_TIME_ZONE_INFORMATION zone{};
  ASSERT_NE(TIME_ZONE_ID_INVALID, GetDynamicTimeZoneInformation(&zone));
  struct Expected {
    const wchar_t* key;
    const char* winter;  // 2024-01-15 12:00 UTC
    const char* summer;  // 2024-07-15 12:00 UTC
  } const table[] = {
      {L"Tokyo Standard Time", "2024-01-15 21:00:00", "2024-07-15 21:00:00"},
      {L"W. Europe Standard Time", "2024-01-15 13:00:00", "2024-07-15 14:00:00"},
      {L"Central Europe Standard Time", "2024-01-15 13:00:00", "2024-07-15 14:00:00"},
      {L"Romance Standard Time", "2024-01-15 13:00:00", "2024-07-15 14:00:00"},
      {L"GMT Standard Time", "2024-01-15 12:00:00", "2024-07-15 13:00:00"},
      {L"Eastern Standard Time", "2024-01-15 07:00:00", "2024-07-15 08:00:00"},
  };
  for (const Expected& e : table) {
    if (std::wstring(zone.TimeZoneKeyName) != e.key) continue;
    SYSTEMTIME winter = Sentinel(), summer = Sentinel();
    ASSERT_TRUE(MovieTimeToLocal(3788164800LL, kSystemTimeZone, winter));
    ASSERT_TRUE(MovieTimeToLocal(3803889600LL, kSystemTimeZone, summer));
    EXPECT_EQ(e.winter, SecondsText(winter));
    EXPECT_EQ(e.summer, SecondsText(summer));
    return;
  }
  GTEST_SKIP() << "no expectation for the zone " << Utf8(zone.TimeZoneKeyName);
}

}  // namespace
}  // namespace korval
