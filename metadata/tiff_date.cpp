// The date tags of a TIFF stream: the first directory, the EXIF directory it points to, and the
// directories chained behind the first. Every offset is checked against the stream's length, and a
// directory is visited once, so a pointer back to itself ends the walk.
#include <string>

#include "metadata/capture_readers.h"
#include "metadata/exif_date.h"
#include "metadata/tiff_stream.h"

namespace korval {
namespace {

constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagDateTimeDigitized = 0x9004;
constexpr uint32_t kShortestDateCount = 19;  // some cameras leave out the terminating zero
constexpr uint32_t kLongestDateCount = 21;   // some editors write one zero too many

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
  std::string original, digitized;
  const bool walked = WalkTiffDirectories(stream, TiffChain::kFollow, [&](const TiffEntry& e, size_t) {
    if ((e.tag != kTagDateTimeOriginal && e.tag != kTagDateTimeDigitized) || e.type != kTiffTypeAscii ||
        e.count < kShortestDateCount || e.count > kLongestDateCount || !stream.Inside(e.value, e.count)) {
      return;
    }
    std::string& text = e.tag == kTagDateTimeOriginal ? original : digitized;
    if (!text.empty()) return;  // the first valid one met in the stream counts
    // Only a valid date is kept: a blank capture time leaves room for the digitized one.
    std::string read;
    SYSTEMTIME check{};
    if (source.ReadText(start + e.value, e.count, read) && ParseExifDateText(read, check)) text = read;
  });
  // A value that is no valid date (blank, zeros, another form) counts as absent.
  return walked && (ParseExifDateText(original, record) || ParseExifDateText(digitized, record));
}

uint64_t ExifPrefixLength(ByteSource& source, uint64_t start, uint64_t length) {
  std::string head;
  if (length < 6 || !source.ReadText(start, 6, head)) return 0;
  return head.compare(0, 4, "Exif") == 0 && head[4] == '\0' ? 6 : 0;
}

}  // namespace korval
