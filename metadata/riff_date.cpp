// RIFF files (WebP): chunks with a four-character name and a little-endian length, padded to an
// even size; the "EXIF" chunk holds a TIFF stream, with or without "Exif" 0 0 before it.
#include <algorithm>
#include <cstring>

#include "metadata/capture_readers.h"

namespace korval {
namespace {

constexpr size_t kMaxChunks = 1024;

}  // namespace

bool FindRiffExif(ByteSource& source, TiffBlock& tiff) {
  unsigned char head[12];
  uint32_t riffLength = 0;
  if (!source.Read(0, 12, head) || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WEBP", 4) != 0 ||
      !source.ReadLe32(4, riffLength)) {
    return false;
  }
  const uint64_t end = std::min<uint64_t>(8 + uint64_t{riffLength}, source.Size());
  uint64_t at = 12;
  for (size_t n = 0; n < kMaxChunks && at + 8 <= end; ++n) {
    unsigned char name[4];
    uint32_t length = 0;
    if (!source.Read(at, 4, name) || !source.ReadLe32(at + 4, length) || length > end - at - 8) return false;
    if (std::memcmp(name, "EXIF", 4) == 0) {
      const uint64_t prefix = ExifPrefixLength(source, at + 8, length);
      tiff = {at + 8 + prefix, length - prefix};
      return true;
    }
    at += 8 + uint64_t{length} + (length & 1);
  }
  return false;
}

bool FindRiffDate(ByteSource& source, SYSTEMTIME& record) {
  TiffBlock tiff;
  return FindRiffExif(source, tiff) && FindTiffDate(source, tiff.start, tiff.length, record);
}

}  // namespace korval
