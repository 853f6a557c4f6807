// The date tags of a TIFF stream: the first directory, the EXIF directory it points to, and the
// directories chained behind the first. Every offset is checked against the stream's length, and a
// directory is visited once, so a pointer back to itself ends the walk.
#include <algorithm>
#include <string>
#include <vector>

#include "metadata/capture_readers.h"
#include "metadata/exif_date.h"

namespace korval {
namespace {

constexpr uint16_t kTagExifDirectory = 0x8769;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagDateTimeDigitized = 0x9004;
constexpr uint16_t kTypeAscii = 2;
constexpr uint16_t kTypeLong = 4;
constexpr uint16_t kTypeDirectory = 13;
constexpr uint32_t kShortestDateCount = 19;  // some cameras leave out the terminating zero
constexpr uint32_t kLongestDateCount = 21;   // some editors write one zero too many
constexpr size_t kMaxDirectories = 8;        // the first, its EXIF directory and a few chained ones
constexpr size_t kEntrySize = 12;

class TiffStream {
 public:
  TiffStream(ByteSource& source, uint64_t start, uint64_t length)
      : source_(source), start_(start), length_(source.Holds(start, 0) ? std::min(length, source.Size() - start) : 0) {}

  bool ReadHeader(uint32_t& firstDirectory) {
    unsigned char header[8];
    if (length_ < 8 || !source_.Read(start_, 8, header) || !IsTiffHeader(header)) return false;
    big_ = header[0] == 'M';
    firstDirectory = Value32(header + 4);
    return true;
  }

  // The date texts of one directory, and where its EXIF directory and its successor lie (0: none).
  bool ReadDirectory(uint32_t at, std::string& original, std::string& digitized, uint32_t& exif, uint32_t& next) {
    exif = next = 0;
    unsigned char countBytes[2];
    if (!Inside(at, 2) || !source_.Read(start_ + at, 2, countBytes)) return false;
    // A count larger than the stream can hold is cut to the entries that are really there.
    const uint64_t room = (length_ - at - 2) / kEntrySize;
    const uint64_t entries = std::min<uint64_t>(Value16(countBytes), room);
    for (uint64_t i = 0; i < entries; ++i) {
      unsigned char e[kEntrySize];
      if (!source_.Read(start_ + at + 2 + i * kEntrySize, kEntrySize, e)) return false;
      const uint16_t tag = Value16(e), type = Value16(e + 2);
      const uint32_t count = Value32(e + 4), value = Value32(e + 8);
      if (tag == kTagExifDirectory && (type == kTypeLong || type == kTypeDirectory) && count == 1) {
        exif = value;
      } else if ((tag == kTagDateTimeOriginal || tag == kTagDateTimeDigitized) && type == kTypeAscii &&
                 count >= kShortestDateCount && count <= kLongestDateCount && Inside(value, count)) {
        std::string& text = tag == kTagDateTimeOriginal ? original : digitized;
        if (!text.empty()) continue;  // the first valid one met in the stream counts
        // Only a valid date is kept: a blank capture time leaves room for the digitized one.
        std::string read;
        SYSTEMTIME check{};
        if (source_.ReadText(start_ + value, count, read) && ParseExifDateText(read, check)) text = read;
      }
    }
    const uint64_t nextAt = uint64_t{at} + 2 + entries * kEntrySize;
    unsigned char nextBytes[4];
    if (entries == Value16(countBytes) && Inside(nextAt, 4) && source_.Read(start_ + nextAt, 4, nextBytes)) {
      next = Value32(nextBytes);
    }
    return true;
  }

 private:
  bool Inside(uint64_t offset, uint64_t count) const { return offset <= length_ && count <= length_ - offset; }
  uint16_t Value16(const unsigned char* p) const {
    return big_ ? static_cast<uint16_t>(p[0] << 8 | p[1]) : static_cast<uint16_t>(p[1] << 8 | p[0]);
  }
  uint32_t Value32(const unsigned char* p) const {
    return big_ ? (uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3])
                : (uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]);
  }

  ByteSource& source_;
  uint64_t start_;
  uint64_t length_;
  bool big_ = false;
};

}  // namespace

bool IsTiffHeader(const unsigned char* b) {
  if (b[0] == 'I' && b[1] == 'I') {
    // 42 is the standard's number; ORF files have "RO" or "RS" there, RW2 files 0x55.
    return (b[2] == 0x2A && b[3] == 0) || (b[2] == 'R' && (b[3] == 'O' || b[3] == 'S')) || (b[2] == 0x55 && b[3] == 0);
  }
  if (b[0] == 'M' && b[1] == 'M') return (b[2] == 0 && b[3] == 0x2A) || (b[2] == 'O' && b[3] == 'R');
  return false;
}

bool FindTiffDate(ByteSource& source, uint64_t start, uint64_t length, SYSTEMTIME& record) {
  TiffStream stream(source, start, length);
  uint32_t first = 0;
  if (!stream.ReadHeader(first)) return false;

  std::string original, digitized;
  std::vector<uint32_t> visited;
  std::vector<uint32_t> pending = {first};
  while (!pending.empty() && visited.size() < kMaxDirectories) {
    const uint32_t at = pending.front();
    pending.erase(pending.begin());
    if (at == 0 || std::find(visited.begin(), visited.end(), at) != visited.end()) continue;
    visited.push_back(at);
    uint32_t exif = 0, next = 0;
    if (!stream.ReadDirectory(at, original, digitized, exif, next)) continue;
    // The EXIF directory before the next image's directory: it is where the dates usually are.
    if (exif != 0) pending.insert(pending.begin(), exif);
    if (next != 0) pending.push_back(next);
  }
  // A value that is no valid date (blank, zeros, another form) counts as absent.
  return ParseExifDateText(original, record) || ParseExifDateText(digitized, record);
}

uint64_t ExifPrefixLength(ByteSource& source, uint64_t start, uint64_t length) {
  std::string head;
  if (length < 6 || !source.ReadText(start, 6, head)) return 0;
  return head.compare(0, 4, "Exif") == 0 && head[4] == '\0' ? 6 : 0;
}

}  // namespace korval
