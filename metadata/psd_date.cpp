// PSD documents: behind the fixed header and the colour table, the image resources hold the
// EXIF block as resource 1058, a TIFF stream.
#include <algorithm>
#include <cstring>

#include "metadata/capture_readers.h"

namespace korval {
namespace {

constexpr uint64_t kHeaderSize = 26;
constexpr uint16_t kExifResource = 1058;
constexpr size_t kMaxResources = 4096;

}  // namespace

bool FindPsdExif(ByteSource& source, TiffBlock& tiff) {
  unsigned char magic[4];
  uint32_t colourLength = 0, resourcesLength = 0;
  if (!source.Read(0, 4, magic) || std::memcmp(magic, "8BPS", 4) != 0 || !source.ReadBe32(kHeaderSize, colourLength)) {
    return false;
  }
  const uint64_t resourcesAt = kHeaderSize + 4 + uint64_t{colourLength};
  if (!source.ReadBe32(resourcesAt, resourcesLength)) return false;
  const uint64_t end = std::min<uint64_t>(resourcesAt + 4 + uint64_t{resourcesLength}, source.Size());
  uint64_t at = resourcesAt + 4;
  for (size_t n = 0; n < kMaxResources && at + 12 <= end; ++n) {
    uint16_t id = 0;
    uint8_t nameLength = 0;
    if (!source.Read(at, 4, magic) || std::memcmp(magic, "8BIM", 4) != 0 || !source.ReadBe16(at + 4, id) ||
        !source.ReadU8(at + 6, nameLength)) {
      return false;
    }
    // The name: a length byte and the characters, padded to an even size.
    const uint64_t sizeAt = at + 6 + ((1 + uint64_t{nameLength} + 1) & ~uint64_t{1});
    uint32_t size = 0;
    if (sizeAt + 4 > end || !source.ReadBe32(sizeAt, size) || size > end - sizeAt - 4) return false;
    if (id == kExifResource) {
      const uint64_t prefix = ExifPrefixLength(source, sizeAt + 4, size);
      tiff = {sizeAt + 4 + prefix, size - prefix};
      return true;
    }
    at = sizeAt + 4 + uint64_t{size} + (size & 1);
  }
  return false;
}

bool FindPsdDate(ByteSource& source, SYSTEMTIME& record) {
  TiffBlock tiff;
  return FindPsdExif(source, tiff) && FindTiffDate(source, tiff.start, tiff.length, record);
}

}  // namespace korval
