// The EXIF block of a JPEG image: its segments are walked by their lengths up to the start of the
// image data, and an APP1 segment that begins with "Exif" 0 holds a TIFF stream with the dates.
#include "metadata/capture_readers.h"

#include <string>

namespace korval {
namespace {

constexpr unsigned char kMarkerStartOfScan = 0xDA;
constexpr unsigned char kMarkerEndOfImage = 0xD9;
constexpr unsigned char kMarkerApp1 = 0xE1;
constexpr size_t kMaxSegments = 1024;  // real images have a few dozen before the image data
constexpr size_t kMaxFill = 64;        // 0xFF bytes that may pad before a marker
constexpr uint64_t kExifHead = 6;      // "Exif" 0 0 before the TIFF header
constexpr uint64_t kTiffHeader = 8;

bool StandsAlone(unsigned char marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

JpegSegments WalkJpegSegments(ByteSource& source, uint64_t start, const std::function<bool(const JpegSegment&)>& visit) {
  unsigned char soi[2];
  if (!source.Read(start, 2, soi) || soi[0] != 0xFF || soi[1] != 0xD8) return JpegSegments::kBroken;
  uint64_t at = start + 2;
  for (size_t segment = 0; segment < kMaxSegments; ++segment) {
    uint8_t byte = 0;
    if (!source.ReadU8(at, byte) || byte != 0xFF) return JpegSegments::kBroken;
    size_t fill = 0;
    while (byte == 0xFF && fill++ < kMaxFill) {
      if (!source.ReadU8(++at, byte)) return JpegSegments::kBroken;
    }
    const unsigned char marker = byte;
    if (marker == 0xFF) return JpegSegments::kBroken;
    if (marker == kMarkerStartOfScan || marker == kMarkerEndOfImage) return JpegSegments::kImageData;
    ++at;  // behind the marker
    if (StandsAlone(marker)) continue;
    uint16_t length = 0;
    if (!source.ReadBe16(at, length) || length < 2 || !source.Holds(at, length)) return JpegSegments::kBroken;
    if (visit(JpegSegment{marker, at + 2, length - 2u})) return JpegSegments::kStopped;
    at += length;
  }
  return JpegSegments::kBroken;
}

bool JpegExifBlock(ByteSource& source, const JpegSegment& segment, TiffBlock& tiff) {
  std::string head;
  if (segment.marker != kMarkerApp1 || segment.length < kExifHead + kTiffHeader ||
      !source.ReadText(segment.data, 5, head) || head != std::string("Exif\0", 5)) {
    return false;
  }
  tiff = {segment.data + kExifHead, segment.length - kExifHead};
  return true;
}

JpegWalk FindJpegDate(ByteSource& source, uint64_t start, SYSTEMTIME& record) {
  bool sawExif = false;
  const JpegSegments end = WalkJpegSegments(source, start, [&](const JpegSegment& segment) {
    TiffBlock tiff;
    if (!JpegExifBlock(source, segment, tiff)) return false;
    sawExif = true;
    return FindTiffDate(source, tiff.start, tiff.length, record);
  });
  if (end == JpegSegments::kStopped) return JpegWalk::kFound;
  if (sawExif) return JpegWalk::kExifWithoutDate;
  return end == JpegSegments::kImageData ? JpegWalk::kNoDate : JpegWalk::kBroken;
}

}  // namespace korval
