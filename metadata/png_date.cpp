// PNG images: chunks with a big-endian length, a four-character name, the data and a checksum; the
// "eXIf" chunk holds a TIFF stream. The walk ends at the image's end chunk.
#include <cstring>

#include "metadata/capture_readers.h"

namespace korval {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kMaxChunks = 1024;  // the EXIF chunk stands before the image data, or soon after

}  // namespace

bool FindPngExif(ByteSource& source, TiffBlock& tiff) {
  unsigned char signature[8];
  if (!source.Read(0, 8, signature) || std::memcmp(signature, kSignature, 8) != 0) return false;
  uint64_t at = 8;
  for (size_t n = 0; n < kMaxChunks; ++n) {
    unsigned char name[4];
    uint32_t length = 0;
    if (!source.ReadBe32(at, length) || !source.Read(at + 4, 4, name) || !source.Holds(at + 8, uint64_t{length} + 4)) {
      return false;
    }
    if (std::memcmp(name, "eXIf", 4) == 0) {
      const uint64_t prefix = ExifPrefixLength(source, at + 8, length);
      tiff = {at + 8 + prefix, length - prefix};
      return true;
    }
    if (std::memcmp(name, "IEND", 4) == 0) return false;
    at += 12 + uint64_t{length};
  }
  return false;
}

bool FindPngDate(ByteSource& source, SYSTEMTIME& record) {
  TiffBlock tiff;
  return FindPngExif(source, tiff) && FindTiffDate(source, tiff.start, tiff.length, record);
}

}  // namespace korval
