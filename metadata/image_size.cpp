// The width and height a picture's own header gives: JPEG frames, PNG, GIF, BMP, WebP, PSD, and the
// primary item of HEIF and AVIF files. Each reader checks that the header lies wholly in the file.
#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

#include "metadata/iso_boxes.h"
#include "metadata/picture_readers.h"

namespace korval {
namespace {

using namespace iso;

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint32_t kPngHeaderLength = 13;
constexpr uint32_t kPngLargest = 0x7FFFFFFF;  // PNG sizes are positive 31-bit numbers
constexpr uint64_t kBmpInfoAt = 14;           // behind the file header
constexpr uint32_t kBmpCoreHeader = 12;       // 16-bit sizes
constexpr uint32_t kBmpSmallestInfo = 16;     // 32-bit sizes, from the smallest header that has them
constexpr uint32_t kBmpLargestInfo = 124;
constexpr uint64_t kRiffChunkData = 20;       // the first chunk's data, behind "RIFF", size, "WEBP", name, size
constexpr unsigned char kVp8StartCode[3] = {0x9D, 0x01, 0x2A};
constexpr unsigned char kVp8LosslessSignature = 0x2F;
constexpr uint32_t kVp8SizeBits = 0x3FFF;
constexpr size_t kMaxItems = 65536;           // entries of 'ipma' looked at
constexpr size_t kMaxAssociations = 8;        // properties of the primary item remembered

uint32_t Le16(const unsigned char* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8; }
uint32_t Le24(const unsigned char* p) { return Le16(p) | uint32_t{p[2]} << 16; }
uint32_t Le32(const unsigned char* p) { return Le24(p) | uint32_t{p[3]} << 24; }

bool Known(uint32_t width, uint32_t height, PixelSize& size) {
  size = {width, height};
  return size.Known();
}

// The id of the primary item, from 'pitm' (16 bits in version 0, else 32).
std::optional<uint64_t> PrimaryItem(ByteSource& source, const Box& pitm) {
  uint8_t version = 0;
  if (!source.ReadU8(pitm.body, version)) return std::nullopt;
  const unsigned idSize = version == 0 ? 2 : 4;
  uint64_t at = pitm.body + 4, id = 0;
  if (pitm.BodySize() < 4 + idSize || !ReadSized(source, at, idSize, id)) return std::nullopt;
  return id;
}

// The (1-based) numbers of the properties 'ipma' associates with the item.
std::vector<uint64_t> ItemProperties(ByteSource& source, const Box& ipma, uint64_t item) {
  std::vector<uint64_t> found;
  uint32_t flagsAndVersion = 0, entries = 0;
  if (ipma.BodySize() < 8 || !source.ReadBe32(ipma.body, flagsAndVersion) || !source.ReadBe32(ipma.body + 4, entries)) {
    return found;
  }
  const unsigned version = flagsAndVersion >> 24;
  const unsigned indexSize = (flagsAndVersion & 1) != 0 ? 2 : 1;
  const unsigned idSize = version == 0 ? 2 : 4;
  uint64_t at = ipma.body + 8;
  for (uint64_t i = 0; i < entries && i < kMaxItems; ++i) {
    uint64_t id = 0;
    uint8_t count = 0;
    if (ipma.end - at < idSize + 1u || !ReadSized(source, at, idSize, id) || !source.ReadU8(at, count)) return {};
    ++at;
    if (ipma.end - at < uint64_t{count} * indexSize) return {};
    if (id != item) {
      at += uint64_t{count} * indexSize;
      continue;
    }
    for (unsigned a = 0; a < count && found.size() < kMaxAssociations; ++a, at += indexSize) {
      uint8_t one = 0;
      uint16_t two = 0;
      const bool read = indexSize == 1 ? source.ReadU8(at, one) : source.ReadBe16(at, two);
      if (!read) return {};
      // The top bit says whether the property is essential; the rest is its number.
      const uint64_t number = indexSize == 1 ? (one & 0x7Fu) : (two & 0x7FFFu);
      if (number != 0) found.push_back(number);
    }
    return found;
  }
  return {};
}

// The first image-size property ('ispe') among the numbered children of 'ipco'.
bool PropertySize(ByteSource& source, const Box& ipco, const std::vector<uint64_t>& numbers, PixelSize& size) {
  uint64_t number = 0;
  bool found = false;
  ForEachBox(source, ipco.body, ipco.end, [&](const Box& property) {
    ++number;
    if (!property.Is("ispe") || std::find(numbers.begin(), numbers.end(), number) == numbers.end()) return false;
    uint32_t width = 0, height = 0;
    found = property.BodySize() >= 12 && source.ReadBe32(property.body + 4, width) &&
            source.ReadBe32(property.body + 8, height) && Known(width, height, size);
    return true;
  });
  return found;
}

bool MetaSize(ByteSource& source, const Box& meta, PixelSize& size) {
  std::optional<Box> pitm, iprp;
  ForEachBox(source, meta.body + 4, meta.end, [&](const Box& box) {
    if (box.Is("pitm")) pitm = box;
    if (box.Is("iprp")) iprp = box;
    return false;
  });
  if (!pitm || !iprp) return false;
  const std::optional<uint64_t> primary = PrimaryItem(source, *pitm);
  std::optional<Box> ipco, ipma;
  ForEachBox(source, iprp->body, iprp->end, [&](const Box& box) {
    if (box.Is("ipco") && !ipco) ipco = box;
    if (box.Is("ipma") && !ipma) ipma = box;
    return false;
  });
  if (!primary || !ipco || !ipma) return false;
  const std::vector<uint64_t> numbers = ItemProperties(source, *ipma, *primary);
  return !numbers.empty() && PropertySize(source, *ipco, numbers, size);
}

}  // namespace

bool IsJpegFrame(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool JpegFrameSize(ByteSource& source, const JpegSegment& frame, PixelSize& size) {
  // Sample precision, then the number of lines and the number of samples per line.
  uint16_t height = 0, width = 0;
  return IsJpegFrame(frame.marker) && frame.length >= 6 && source.ReadBe16(frame.data + 1, height) &&
         source.ReadBe16(frame.data + 3, width) && Known(width, height, size);
}

bool PngSize(ByteSource& source, PixelSize& size) {
  // The header chunk comes first: its length (13), its name, then width and height.
  unsigned char head[16];
  uint32_t length = 0, width = 0, height = 0;
  if (!source.Read(0, 16, head) || std::memcmp(head, kPngSignature, 8) != 0 || !source.ReadBe32(8, length) ||
      length != kPngHeaderLength || std::memcmp(head + 12, "IHDR", 4) != 0 || !source.Holds(16, kPngHeaderLength) ||
      !source.ReadBe32(16, width) || !source.ReadBe32(20, height)) {
    return false;
  }
  return width <= kPngLargest && height <= kPngLargest && Known(width, height, size);
}

bool GifSize(ByteSource& source, PixelSize& size) {
  // The logical screen's width and height follow the six-byte signature.
  unsigned char head[10];
  if (!source.Read(0, 10, head) || (std::memcmp(head, "GIF87a", 6) != 0 && std::memcmp(head, "GIF89a", 6) != 0)) {
    return false;
  }
  return Known(Le16(head + 6), Le16(head + 8), size);
}

bool BmpSize(ByteSource& source, PixelSize& size) {
  unsigned char head[2];
  uint32_t headerSize = 0;
  if (!source.Read(0, 2, head) || std::memcmp(head, "BM", 2) != 0 || !source.ReadLe32(kBmpInfoAt, headerSize)) {
    return false;
  }
  unsigned char info[kBmpSmallestInfo];
  if (headerSize == kBmpCoreHeader) {
    if (!source.Read(kBmpInfoAt, kBmpCoreHeader, info)) return false;
    return Known(Le16(info + 4), Le16(info + 6), size);
  }
  if (headerSize < kBmpSmallestInfo || headerSize > kBmpLargestInfo || !source.Holds(kBmpInfoAt, headerSize) ||
      !source.Read(kBmpInfoAt, kBmpSmallestInfo, info)) {
    return false;
  }
  // Signed: a negative height means the rows run from the top, and counts as its absolute value.
  const int64_t width = static_cast<int32_t>(Le32(info + 4));
  const int64_t height = static_cast<int32_t>(Le32(info + 8));
  if (width <= 0 || height == 0 || height == INT32_MIN) return false;
  return Known(static_cast<uint32_t>(width), static_cast<uint32_t>(height < 0 ? -height : height), size);
}

bool WebPSize(ByteSource& source, PixelSize& size) {
  // The first chunk describes the image: the extended header's canvas, or a lossy or lossless frame.
  unsigned char head[kRiffChunkData];
  unsigned char data[10];
  if (!source.Read(0, kRiffChunkData, head) || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WEBP", 4) != 0) {
    return false;
  }
  const uint32_t length = Le32(head + 16);
  auto chunkHolds = [&](uint32_t count) {
    return length >= count && source.Holds(kRiffChunkData, length) && source.Read(kRiffChunkData, count, data);
  };
  if (std::memcmp(head + 12, "VP8X", 4) == 0) {
    // Flags and three reserved bytes, then width and height less one, 24 bits each.
    return chunkHolds(10) && Known(Le24(data + 4) + 1, Le24(data + 7) + 1, size);
  }
  if (std::memcmp(head + 12, "VP8 ", 4) == 0) {
    // A key frame's three-byte tag (its lowest bit clear), the start code, then 14-bit sizes
    // whose top two bits scale the picture.
    return chunkHolds(10) && (data[0] & 1) == 0 && std::memcmp(data + 3, kVp8StartCode, 3) == 0 &&
           Known(Le16(data + 6) & kVp8SizeBits, Le16(data + 8) & kVp8SizeBits, size);
  }
  if (std::memcmp(head + 12, "VP8L", 4) == 0) {
    // The signature byte, then width and height less one in 14 bits each.
    if (!chunkHolds(5) || data[0] != kVp8LosslessSignature) return false;
    const uint32_t bits = Le32(data + 1);
    return Known((bits & kVp8SizeBits) + 1, (bits >> 14 & kVp8SizeBits) + 1, size);
  }
  return false;
}

bool PsdSize(ByteSource& source, PixelSize& size) {
  // Signature, version (1, or 2 for large documents), six reserved bytes, channels, then the height
  // before the width.
  unsigned char magic[4];
  uint16_t version = 0;
  uint32_t height = 0, width = 0;
  if (!source.Read(0, 4, magic) || std::memcmp(magic, "8BPS", 4) != 0 || !source.ReadBe16(4, version) ||
      (version != 1 && version != 2) || !source.ReadBe32(14, height) || !source.ReadBe32(18, width)) {
    return false;
  }
  return Known(width, height, size);
}

bool HeifSize(ByteSource& source, PixelSize& size) {
  bool found = false;
  ForEachBox(source, 0, source.Size(), [&](const Box& top) {
    if (!top.Is("meta") || top.BodySize() < 4) return top.Is("moov");
    found = MetaSize(source, top, size);
    return true;
  });
  return found;
}

}  // namespace korval
