// ISO media files (QuickTime and MP4 movies, 3GP, HEIF and AVIF photographs, CR3): boxes are walked
// by their sizes (32 or 64 bits, 0 for "to the end"), each bounded by its parent and by the file. A
// photograph's EXIF item ('meta' with 'iinf' and 'iloc') or CR3's metadata boxes come first; then a
// movie's own local time with its offset from UTC (Apple's creation-date key in 'meta', the ©day
// text of 'udta'); the movie header ('mvhd' inside 'moov') gives the creation time otherwise.
#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "metadata/capture_readers.h"
#include "metadata/iso_boxes.h"

namespace korval {
namespace {

using namespace iso;

constexpr size_t kMaxItems = 65536;   // entries of 'iinf', 'iloc' and 'keys' looked at
constexpr size_t kMaxTextBytes = 64;  // a date text is some 25 characters
constexpr char kCreationDateKey[] = "com.apple.quicktime.creationdate";
constexpr char kDayText[] = "\xA9" "day";
// The box under 'moov' that holds CR3's metadata.
constexpr unsigned char kCr3MetadataId[16] = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
                                                0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};

// The id of the item whose type is 'Exif', from the item information box.
std::optional<uint32_t> FindExifItemId(ByteSource& source, const Box& iinf) {
  uint8_t version = 0;
  if (!source.ReadU8(iinf.body, version)) return std::nullopt;
  uint64_t at = iinf.body + 4;
  uint64_t entries = 0;
  if (!ReadSized(source, at, version == 0 ? 2 : 4, entries)) return std::nullopt;
  std::optional<uint32_t> found;
  size_t seen = 0;
  ForEachBox(source, at, iinf.end, [&](const Box& infe) {
    if (++seen > std::min<uint64_t>(entries, kMaxItems)) return true;
    if (!infe.Is("infe")) return false;
    uint8_t infeVersion = 0;
    if (!source.ReadU8(infe.body, infeVersion) || infeVersion < 2) return false;
    uint64_t p = infe.body + 4;
    uint64_t id = 0, protection = 0;
    char type[4];
    if (!ReadSized(source, p, infeVersion == 2 ? 2 : 4, id) || !ReadSized(source, p, 2, protection) ||
        p + 4 > infe.end || !source.Read(p, 4, reinterpret_cast<unsigned char*>(type))) {
      return false;
    }
    if (std::memcmp(type, "Exif", 4) != 0) return false;
    found = static_cast<uint32_t>(id);
    return true;
  });
  return found;
}

struct ItemPlace {
  uint64_t offset = 0;
  uint64_t length = 0;  // 0: to the end of what holds it
  bool inItemData = false;  // the offset counts from the start of the 'idat' box's data
};

// Where the item with this id lies, from the item location box (its first extent).
std::optional<ItemPlace> FindItemPlace(ByteSource& source, const Box& iloc, uint32_t wanted) {
  uint8_t head[4];
  if (iloc.BodySize() < 8 || !source.Read(iloc.body, 4, head) || !source.Read(iloc.body + 4, 2, head + 2)) {
    return std::nullopt;
  }
  const unsigned version = head[0];
  if (version > 2) return std::nullopt;
  const unsigned offsetSize = head[2] >> 4, lengthSize = head[2] & 15;
  const unsigned baseSize = head[3] >> 4, indexSize = version == 0 ? 0 : head[3] & 15;
  uint64_t at = iloc.body + 6;
  uint64_t items = 0;
  if (!ReadSized(source, at, version < 2 ? 2 : 4, items)) return std::nullopt;
  items = std::min<uint64_t>(items, kMaxItems);
  for (uint64_t i = 0; i < items && at < iloc.end; ++i) {
    uint64_t id = 0, method = 0, reference = 0, base = 0, extents = 0;
    if (!ReadSized(source, at, version < 2 ? 2 : 4, id)) return std::nullopt;
    if (version >= 1 && !ReadSized(source, at, 2, method)) return std::nullopt;
    if (!ReadSized(source, at, 2, reference) || !ReadSized(source, at, baseSize, base) ||
        !ReadSized(source, at, 2, extents)) {
      return std::nullopt;
    }
    ItemPlace place;
    const bool emptyExtents = indexSize + offsetSize + lengthSize == 0;
    for (uint64_t e = 0; e < extents && !(emptyExtents && e > 0); ++e) {
      uint64_t index = 0, offset = 0, length = 0;
      if (!ReadSized(source, at, indexSize, index) || !ReadSized(source, at, offsetSize, offset) ||
          !ReadSized(source, at, lengthSize, length) || at > iloc.end) {
        return std::nullopt;
      }
      if (e == 0) {
        place.offset = base + offset;
        place.length = length;
        if (place.offset < base) return std::nullopt;  // the sum overflowed
      }
    }
    if (id != wanted) continue;
    // Only items in this file: in its data (method 0) or in the 'idat' box (method 1).
    if ((method & 15) > 1 || reference != 0 || extents == 0) return std::nullopt;
    place.inItemData = (method & 15) == 1;
    return place;
  }
  return std::nullopt;
}

// The TIFF stream of the EXIF item of a HEIF 'meta' box: four bytes give the distance from there to
// the TIFF header.
std::optional<TiffBlock> HeifExifBlock(ByteSource& source, const Box& meta) {
  std::optional<Box> iinf, iloc, idat;
  ForEachBox(source, meta.body + 4, meta.end, [&](const Box& box) {
    if (box.Is("iinf")) iinf = box;
    if (box.Is("iloc")) iloc = box;
    if (box.Is("idat")) idat = box;
    return false;
  });
  if (!iinf || !iloc) return std::nullopt;
  const std::optional<uint32_t> id = FindExifItemId(source, *iinf);
  if (!id) return std::nullopt;
  const std::optional<ItemPlace> place = FindItemPlace(source, *iloc, *id);
  if (!place) return std::nullopt;
  uint64_t start = place->offset, limit = source.Size();
  if (place->inItemData) {
    if (!idat || place->offset > idat->BodySize()) return std::nullopt;
    start = idat->body + place->offset;
    limit = idat->end;
  }
  if (start > limit) return std::nullopt;
  const uint64_t length = place->length == 0 ? limit - start : std::min(place->length, limit - start);
  uint32_t toHeader = 0;
  if (length < 4 || !source.ReadBe32(start, toHeader) || toHeader > length - 4) return std::nullopt;
  const uint64_t tiff = start + 4 + toHeader;
  const uint64_t tiffLength = length - 4 - toHeader;
  const uint64_t prefix = ExifPrefixLength(source, tiff, tiffLength);
  return TiffBlock{tiff + prefix, tiffLength - prefix};
}

bool FindHeifExifDate(ByteSource& source, const Box& meta, SYSTEMTIME& record) {
  const std::optional<TiffBlock> tiff = HeifExifBlock(source, meta);
  return tiff && FindTiffDate(source, tiff->start, tiff->length, record);
}

// CR3: the second metadata box holds the EXIF directory, the first the image's main directory.
void Cr3Blocks(ByteSource& source, const Box& holder, std::optional<TiffBlock>& main, std::optional<TiffBlock>& exif) {
  ForEachBox(source, holder.body, holder.end, [&](const Box& box) {
    if (box.Is("CMT1")) main = TiffBlock{box.body, box.BodySize()};
    if (box.Is("CMT2")) exif = TiffBlock{box.body, box.BodySize()};
    return false;
  });
}

bool FindCr3Date(ByteSource& source, const Box& holder, SYSTEMTIME& record) {
  std::optional<TiffBlock> cmt1, cmt2;
  Cr3Blocks(source, holder, cmt1, cmt2);
  return (cmt2 && FindTiffDate(source, cmt2->start, cmt2->length, record)) ||
         (cmt1 && FindTiffDate(source, cmt1->start, cmt1->length, record));
}

// The creation time of a movie header, version 0 (32-bit times) or 1 (64-bit times).
bool ReadMovieHeaderTime(ByteSource& source, const Box& mvhd, long long& seconds) {
  uint8_t version = 0;
  if (!source.ReadU8(mvhd.body, version) || version > 1) return false;
  uint64_t at = mvhd.body + 4;
  uint64_t created = 0;
  if (at + (version == 1 ? 8 : 4) > mvhd.end || !ReadSized(source, at, version == 1 ? 8 : 4, created)) return false;
  if (created > static_cast<uint64_t>(LLONG_MAX)) return false;
  seconds = static_cast<long long>(created);
  return true;
}

// The value of the first 'data' box (type and locale, then the value) inside a metadata item.
bool ReadItemText(ByteSource& source, const Box& item, std::string& text) {
  bool read = false;
  ForEachBox(source, item.body, item.end, [&](const Box& data) {
    if (!data.Is("data") || data.BodySize() < 8) return false;
    const uint64_t length = std::min<uint64_t>(data.BodySize() - 8, kMaxTextBytes);
    read = source.ReadText(data.body + 8, static_cast<size_t>(length), text);
    return true;
  });
  return read;
}

// The first entry of a QuickTime user-data text (length, language, text), or an item-style value.
bool ReadUserDataText(ByteSource& source, const Box& box, std::string& text) {
  unsigned char type[4];
  if (box.BodySize() >= 16 && source.Read(box.body + 4, 4, type) && std::memcmp(type, "data", 4) == 0) {
    return ReadItemText(source, box, text);
  }
  uint16_t length = 0;
  if (box.BodySize() < 4 || !source.ReadBe16(box.body, length) || length > box.BodySize() - 4) return false;
  return source.ReadText(box.body + 4, std::min<size_t>(length, kMaxTextBytes), text);
}

// The 1-based number of the creation-date key in a 'keys' box; 0 when it is not there.
uint32_t CreationDateKey(ByteSource& source, const Box& keys) {
  uint32_t count = 0;
  if (keys.BodySize() < 8 || !source.ReadBe32(keys.body + 4, count)) return 0;
  const size_t keyLength = sizeof(kCreationDateKey) - 1;
  uint64_t at = keys.body + 8;
  for (uint32_t i = 1; i <= count && i <= kMaxItems && keys.end - at >= 8; ++i) {
    uint32_t size = 0;
    if (!source.ReadBe32(at, size) || size < 8 || size > keys.end - at) return 0;
    std::string key;
    if (size - 8 == keyLength && source.ReadText(at + 8, keyLength, key) && key == kCreationDateKey) return i;
    at += size;
  }
  return 0;
}

// A local time with its offset inside a movie's 'meta' box: Apple's creation-date key, or the ©day
// item of an item list.
bool MetaLocalTime(ByteSource& source, const Box& meta, SYSTEMTIME& local) {
  std::optional<Box> keys, ilst;
  ForEachBox(source, MetaChildren(source, meta), meta.end, [&](const Box& box) {
    if (box.Is("keys")) keys = box;
    if (box.Is("ilst")) ilst = box;
    return false;
  });
  if (!ilst) return false;
  const uint32_t key = keys ? CreationDateKey(source, *keys) : 0;
  bool found = false;
  ForEachBox(source, ilst->body, ilst->end, [&](const Box& item) {
    uint32_t number = 0;
    source.ReadBe32(item.start + 4, number);
    std::string text;
    if ((item.Is(kDayText) || (key != 0 && number == key)) && ReadItemText(source, item, text)) {
      found = ParseLocalTimeWithOffset(text, local);
    }
    return found;
  });
  return found;
}

// A local time with its offset in a movie's user data: its ©day text, or the item list of a 'meta'
// box inside it.
bool UserDataLocalTime(ByteSource& source, const Box& udta, SYSTEMTIME& local) {
  return ForEachBox(source, udta.body, udta.end, [&](const Box& box) {
    std::string text;
    if (box.Is(kDayText)) return ReadUserDataText(source, box, text) && ParseLocalTimeWithOffset(text, local);
    return box.Is("meta") && MetaLocalTime(source, box, local);
  });
}

bool IsUuid(ByteSource& source, const Box& box, const unsigned char* id) {
  unsigned char read[16];
  return box.Is("uuid") && box.BodySize() >= 16 && source.Read(box.body, 16, read) && std::memcmp(read, id, 16) == 0;
}

}  // namespace

bool IsIsoMediaStart(const unsigned char* b) {
  static constexpr const char* kFirstBoxes[] = {"ftyp", "moov", "mdat", "free", "skip", "wide", "pnot", "uuid"};
  for (const char* type : kFirstBoxes) {
    if (std::memcmp(b + 4, type, 4) == 0) return true;
  }
  return false;
}

bool FindIsoMediaDate(ByteSource& source, CaptureTime& found) {
  std::optional<long long> movieSeconds;
  std::optional<SYSTEMTIME> localTime;
  bool photo = false;
  ForEachBox(source, 0, source.Size(), [&](const Box& top) {
    if (top.Is("meta") && top.BodySize() >= 4 && FindHeifExifDate(source, top, found.written)) {
      photo = true;
      return true;
    }
    if (!top.Is("moov")) return false;
    ForEachBox(source, top.body, top.end, [&](const Box& child) {
      if (!movieSeconds && child.Is("mvhd")) {
        long long seconds = 0;
        if (ReadMovieHeaderTime(source, child, seconds)) movieSeconds = seconds;
      }
      SYSTEMTIME local{};
      if (!localTime && ((child.Is("meta") && MetaLocalTime(source, child, local)) ||
                         (child.Is("udta") && UserDataLocalTime(source, child, local)))) {
        localTime = local;
      }
      Box holder = child;
      holder.body += 16;
      if (IsUuid(source, child, kCr3MetadataId) && FindCr3Date(source, holder, found.written)) {
        photo = true;
        return true;
      }
      return false;
    });
    // The first movie holds what there is: the walk does not go on through the fragments and the
    // media data behind it.
    return true;
  });
  if (photo) {
    found.kind = CaptureTime::Kind::kWritten;
    return true;
  }
  if (localTime) {
    // The clock time where the movie was taken, as a photograph's: no time zone is applied to it.
    found.kind = CaptureTime::Kind::kWritten;
    found.written = *localTime;
    return true;
  }
  if (!movieSeconds) return false;
  found.kind = CaptureTime::Kind::kMovieSeconds;
  found.movieSeconds = *movieSeconds;
  return true;
}

bool FindIsoMediaTiff(ByteSource& source, std::vector<TiffBlock>& blocks) {
  blocks.clear();
  ForEachBox(source, 0, source.Size(), [&](const Box& top) {
    if (top.Is("meta") && top.BodySize() >= 4) {
      const std::optional<TiffBlock> tiff = HeifExifBlock(source, top);
      if (tiff) blocks.push_back(*tiff);
      return tiff.has_value();
    }
    if (!top.Is("moov")) return false;
    ForEachBox(source, top.body, top.end, [&](const Box& child) {
      if (!IsUuid(source, child, kCr3MetadataId)) return false;
      Box holder = child;
      holder.body += 16;
      std::optional<TiffBlock> main, exif;
      Cr3Blocks(source, holder, main, exif);
      if (exif) blocks.push_back(*exif);
      if (main) blocks.push_back(*main);
      return true;
    });
    return true;  // as for the dates, the first movie box holds what there is
  });
  return !blocks.empty();
}

}  // namespace korval
