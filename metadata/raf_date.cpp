// RAF raw files: a fixed header names the offset and length of the JPEG preview, whose EXIF block
// holds the dates.
#include <string>

#include "metadata/capture_readers.h"

namespace korval {
namespace {

constexpr uint64_t kPreviewOffsetAt = 84;  // big-endian offset, then length, of the JPEG preview

}  // namespace

bool FindRafPreview(ByteSource& source, uint64_t& jpegStart) {
  std::string magic;
  uint32_t offset = 0, length = 0;
  if (!source.ReadText(0, 16, magic) || magic != "FUJIFILMCCD-RAW " || !source.ReadBe32(kPreviewOffsetAt, offset) ||
      !source.ReadBe32(kPreviewOffsetAt + 4, length) || !source.Holds(offset, length)) {
    return false;
  }
  jpegStart = offset;
  return true;
}

bool FindRafDate(ByteSource& source, SYSTEMTIME& record) {
  uint64_t jpeg = 0;
  return FindRafPreview(source, jpeg) && FindJpegDate(source, jpeg, record) == JpegWalk::kFound;
}

}  // namespace korval
