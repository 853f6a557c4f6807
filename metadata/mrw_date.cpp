// MRW raw files: a chain of header blocks (four-byte name, big-endian length) of which the one
// named 0 "TTW" holds a TIFF stream with the dates.
#include <algorithm>
#include <cstring>

#include "metadata/capture_readers.h"

namespace korval {
namespace {

constexpr size_t kMaxBlocks = 64;

}  // namespace

bool FindMrwTiff(ByteSource& source, TiffBlock& tiff) {
  unsigned char name[4];
  uint32_t headerLength = 0;
  if (!source.Read(0, 4, name) || std::memcmp(name, "\0MRM", 4) != 0 || !source.ReadBe32(4, headerLength)) return false;
  const uint64_t end = std::min<uint64_t>(8 + uint64_t{headerLength}, source.Size());
  uint64_t at = 8;
  for (size_t n = 0; n < kMaxBlocks && at + 8 <= end; ++n) {
    uint32_t length = 0;
    if (!source.Read(at, 4, name) || !source.ReadBe32(at + 4, length) || length > end - at - 8) return false;
    if (std::memcmp(name, "\0TTW", 4) == 0) {
      tiff = {at + 8, length};
      return true;
    }
    at += 8 + uint64_t{length};
  }
  return false;
}

bool FindMrwDate(ByteSource& source, SYSTEMTIME& record) {
  TiffBlock tiff;
  return FindMrwTiff(source, tiff) && FindTiffDate(source, tiff.start, tiff.length, record);
}

}  // namespace korval
