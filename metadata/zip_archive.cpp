// Reading ZIP archives for the document readers: the end record is searched backwards from the end,
// the central directory walked record by record, and an entry's data found through its local
// header, whose own name must match. Inflating stops at the caller's bound, so a small entry that
// would grow past it (a ZIP bomb) gives nothing.
#include "metadata/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace korval {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kDirectorySignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kDirectoryRecordSize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kEndSearch = kEndSize + 65535;  // the end record and the longest comment
constexpr uint64_t kMaxEntries = 65536;          // records of the central directory examined
constexpr uint16_t kZip64ExtraId = 0x0001;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr size_t kInflateChunk = 16384;

uint16_t Le16At(const unsigned char* b) { return static_cast<uint16_t>(b[0] | b[1] << 8); }
uint32_t Le32At(const unsigned char* b) { return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24; }
uint64_t Le64At(const unsigned char* b) { return Le32At(b) | uint64_t{Le32At(b + 4)} << 32; }

// The 64-bit sizes and offset of a central record that stand in its ZIP64 extra field, in the
// order the field keeps them: only those whose 32-bit field holds 0xFFFFFFFF are there.
bool ApplyZip64Extra(const std::string& extra, bool sizeMissing, bool compressedMissing, bool offsetMissing,
                     ZipEntry& entry) {
  size_t at = 0;
  while (at + 4 <= extra.size()) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(extra.data()) + at;
    const uint16_t id = Le16At(b), length = Le16At(b + 2);
    if (length > extra.size() - at - 4) return false;
    if (id == kZip64ExtraId) {
      size_t p = 4;
      auto take = [&](bool missing, uint64_t& value) {
        if (!missing) return true;
        if (p + 8 > size_t{4} + length) return false;
        value = Le64At(b + p);
        p += 8;
        return true;
      };
      return take(sizeMissing, entry.size) && take(compressedMissing, entry.compressedSize) &&
             take(offsetMissing, entry.localHeader);
    }
    at += 4 + size_t{length};
  }
  return !sizeMissing && !compressedMissing && !offsetMissing;
}

}  // namespace

bool ZipArchive::Open() {
  const uint64_t size = source_.Size();
  if (size < kEndSize) return false;
  const size_t window = static_cast<size_t>(std::min<uint64_t>(size, kEndSearch));
  const uint64_t windowStart = size - window;
  std::string tail;
  if (!source_.ReadText(windowStart, window, tail) || tail.size() != window) return false;
  const unsigned char* t = reinterpret_cast<const unsigned char*>(tail.data());
  // The last signature whose record holds together is the end record: one inside the comment, or
  // inside data stored behind, is passed over.
  for (size_t at = window - kEndSize + 1; at-- > 0;) {
    if (Le32At(t + at) == kEndSignature && ReadEnd(t + at, window - at, windowStart + at)) return true;
  }
  return false;
}

bool ZipArchive::ReadEnd(const unsigned char* e, size_t available, uint64_t endRecord) {
  const uint16_t commentLength = Le16At(e + 20);
  if (commentLength > available - kEndSize) return false;
  const uint16_t disk = Le16At(e + 4), directoryDisk = Le16At(e + 6);
  entryCount_ = Le16At(e + 10);
  const uint64_t directorySize = Le32At(e + 12);
  directoryStart_ = Le32At(e + 16);
  if ((entryCount_ == 0xFFFF || directorySize == 0xFFFFFFFF || directoryStart_ == 0xFFFFFFFF) &&
      endRecord >= kZip64LocatorSize && ReadZip64End(endRecord)) {
    return true;
  }
  if (disk != 0 || directoryDisk != 0) return false;  // split archives are not read
  if (directoryStart_ > endRecord || directorySize > endRecord - directoryStart_) return false;
  directoryEnd_ = directoryStart_ + directorySize;
  return true;
}

bool ZipArchive::ReadZip64End(uint64_t endRecord) {
  unsigned char locator[kZip64LocatorSize];
  if (!source_.Read(endRecord - kZip64LocatorSize, sizeof(locator), locator) ||
      Le32At(locator) != kZip64LocatorSignature) {
    return false;
  }
  const uint64_t at = Le64At(locator + 8);
  unsigned char end[kZip64EndSize];
  if (at > endRecord || endRecord - at < kZip64EndSize || !source_.Read(at, sizeof(end), end) ||
      Le32At(end) != kZip64EndSignature || Le32At(end + 16) != 0 || Le32At(end + 20) != 0) {
    return false;
  }
  entryCount_ = Le64At(end + 32);
  const uint64_t directorySize = Le64At(end + 40);
  directoryStart_ = Le64At(end + 48);
  if (directoryStart_ > at || directorySize > at - directoryStart_) return false;
  directoryEnd_ = directoryStart_ + directorySize;
  return true;
}

bool ZipArchive::Find(std::string_view name, ZipEntry& entry) {
  uint64_t at = directoryStart_;
  const uint64_t count = std::min(entryCount_, kMaxEntries);
  std::string recordName, extra;
  for (uint64_t i = 0; i < count; ++i) {
    unsigned char r[kDirectoryRecordSize];
    if (directoryEnd_ - at < kDirectoryRecordSize || !source_.Read(at, sizeof(r), r) ||
        Le32At(r) != kDirectorySignature) {
      return false;
    }
    const uint16_t nameLength = Le16At(r + 28), extraLength = Le16At(r + 30), commentLength = Le16At(r + 32);
    const uint64_t recordSize = kDirectoryRecordSize + uint64_t{nameLength} + extraLength + commentLength;
    if (recordSize > directoryEnd_ - at) return false;
    if (nameLength == name.size() && source_.ReadText(at + kDirectoryRecordSize, nameLength, recordName) &&
        recordName == name) {
      if ((Le16At(r + 8) & kFlagEncrypted) != 0) return false;
      entry.method = Le16At(r + 10);
      entry.crc = Le32At(r + 16);
      entry.compressedSize = Le32At(r + 20);
      entry.size = Le32At(r + 24);
      entry.localHeader = Le32At(r + 42);
      entry.nameLength = nameLength;
      const bool compressedMissing = entry.compressedSize == 0xFFFFFFFF;
      const bool sizeMissing = entry.size == 0xFFFFFFFF;
      const bool offsetMissing = entry.localHeader == 0xFFFFFFFF;
      if (sizeMissing || compressedMissing || offsetMissing) {
        if (!source_.ReadText(at + kDirectoryRecordSize + nameLength, extraLength, extra) ||
            !ApplyZip64Extra(extra, sizeMissing, compressedMissing, offsetMissing, entry)) {
          return false;
        }
      }
      return true;
    }
    at += recordSize;
  }
  return false;
}

bool ZipArchive::Read(std::string_view name, const ZipEntry& entry, size_t maxBytes, std::string& out) {
  out.clear();
  if (entry.size > maxBytes || (entry.method != 0 && entry.method != 8)) return false;
  // The local header repeats the name; its own name and extra lengths place the data, and a header
  // whose name differs from the directory's is not this entry's.
  unsigned char h[kLocalHeaderSize];
  if (entry.localHeader >= directoryStart_ || !source_.Read(entry.localHeader, sizeof(h), h) ||
      Le32At(h) != kLocalSignature || (Le16At(h + 6) & kFlagEncrypted) != 0) {
    return false;
  }
  const uint16_t nameLength = Le16At(h + 26), extraLength = Le16At(h + 28);
  std::string localName;
  if (nameLength != name.size() || !source_.ReadText(entry.localHeader + kLocalHeaderSize, nameLength, localName) ||
      localName != name) {
    return false;
  }
  const uint64_t data = entry.localHeader + kLocalHeaderSize + nameLength + extraLength;
  // The data descriptor's sizes repeat the directory's, which are used: the data must end before
  // the central directory starts.
  if (data > directoryStart_ || entry.compressedSize > directoryStart_ - data) return false;
  if (entry.method == 0) {
    if (entry.compressedSize != entry.size) return false;
    out.resize(static_cast<size_t>(entry.size));
    if (!out.empty() && !source_.Read(data, out.size(), reinterpret_cast<unsigned char*>(out.data()))) return false;
  } else if (!InflateFromSource(source_, data, entry.compressedSize, true, maxBytes, out)) {
    return false;
  }
  const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size()));
  return out.size() == entry.size && crc == entry.crc;
}

bool InflateFromSource(ByteSource& source, uint64_t offset, uint64_t length, bool raw, size_t maxBytes,
                       std::string& out) {
  out.clear();
  if (!source.Holds(offset, length)) return false;
  z_stream stream{};
  if (inflateInit2(&stream, raw ? -MAX_WBITS : MAX_WBITS) != Z_OK) return false;
  std::vector<unsigned char> in(kInflateChunk);
  unsigned char buffer[kInflateChunk];
  uint64_t consumed = 0;
  int result = Z_OK;
  while (result == Z_OK) {
    if (stream.avail_in == 0) {
      if (consumed == length) break;  // the data ended before the stream did
      const size_t take = static_cast<size_t>(std::min<uint64_t>(in.size(), length - consumed));
      if (!source.Read(offset + consumed, take, in.data())) break;
      consumed += take;
      stream.next_in = in.data();
      stream.avail_in = static_cast<uInt>(take);
    }
    stream.next_out = buffer;
    stream.avail_out = sizeof(buffer);
    result = inflate(&stream, Z_NO_FLUSH);
    const size_t produced = sizeof(buffer) - stream.avail_out;
    if (produced > maxBytes - out.size()) {
      result = Z_BUF_ERROR;  // past the bound: the rest is never inflated
      break;
    }
    out.append(reinterpret_cast<const char*>(buffer), produced);
    if (result == Z_BUF_ERROR && stream.avail_in == 0) result = Z_OK;  // wants more input
  }
  inflateEnd(&stream);
  if (result != Z_STREAM_END) out.clear();
  return result == Z_STREAM_END;
}

}  // namespace korval
