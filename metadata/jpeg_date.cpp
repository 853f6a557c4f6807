// The EXIF block of a JPEG image: its segments are walked by their lengths up to the start of the
// image data, and an APP1 segment that begins with "Exif" 0 holds a TIFF stream with the dates.
#include "metadata/capture_readers.h"

namespace korval {
namespace {

constexpr unsigned char kMarkerStartOfScan = 0xDA;
constexpr unsigned char kMarkerEndOfImage = 0xD9;
constexpr unsigned char kMarkerApp1 = 0xE1;
constexpr size_t kMaxSegments = 1024;  // real images have a few dozen before the image data
constexpr size_t kMaxFill = 64;        // 0xFF bytes that may pad before a marker

bool StandsAlone(unsigned char marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

JpegWalk FindJpegDate(ByteSource& source, uint64_t start, SYSTEMTIME& record) {
  unsigned char soi[2];
  if (!source.Read(start, 2, soi) || soi[0] != 0xFF || soi[1] != 0xD8) return JpegWalk::kBroken;
  bool sawExif = false;
  uint64_t at = start + 2;
  for (size_t segment = 0; segment < kMaxSegments; ++segment) {
    uint8_t byte = 0;
    if (!source.ReadU8(at, byte) || byte != 0xFF) return sawExif ? JpegWalk::kExifWithoutDate : JpegWalk::kBroken;
    size_t fill = 0;
    while (byte == 0xFF && fill++ < kMaxFill) {
      if (!source.ReadU8(++at, byte)) return JpegWalk::kBroken;
    }
    const unsigned char marker = byte;
    if (marker == 0xFF) return JpegWalk::kBroken;
    if (marker == kMarkerStartOfScan || marker == kMarkerEndOfImage) {
      return sawExif ? JpegWalk::kExifWithoutDate : JpegWalk::kNoDate;
    }
    ++at;  // behind the marker
    if (StandsAlone(marker)) continue;
    uint16_t length = 0;
    if (!source.ReadBe16(at, length) || length < 2 || !source.Holds(at, length)) {
      return sawExif ? JpegWalk::kExifWithoutDate : JpegWalk::kBroken;
    }
    if (marker == kMarkerApp1 && length >= 2 + 6 + 8) {
      const uint64_t data = at + 2;
      std::string head;
      if (source.ReadText(data, 5, head) && head == std::string("Exif\0", 5)) {
        sawExif = true;
        if (FindTiffDate(source, data + 6, length - 2u - 6u, record)) return JpegWalk::kFound;
      }
    }
    at += length;
  }
  return sawExif ? JpegWalk::kExifWithoutDate : JpegWalk::kBroken;
}

}  // namespace korval
