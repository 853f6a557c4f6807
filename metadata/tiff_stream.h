// The walk over a TIFF stream's directories that the date reader and the camera-tag reader share:
// both byte orders, every offset checked against the stream's length, each directory visited once.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "metadata/byte_source.h"
#include "metadata/capture_readers.h"

namespace korval {

constexpr uint16_t kTiffTagExifDirectory = 0x8769;
constexpr uint16_t kTiffTypeAscii = 2;
constexpr uint16_t kTiffTypeShort = 3;
constexpr uint16_t kTiffTypeLong = 4;
constexpr uint16_t kTiffTypeRational = 5;
constexpr uint16_t kTiffTypeDirectory = 13;
constexpr size_t kTiffEntrySize = 12;
constexpr size_t kMaxTiffDirectories = 8;  // the first, its EXIF directory and a few chained ones

// One directory entry. `value` is the value field read as a number: the value itself when it fits
// in four bytes, else the offset of the value from the stream's start.
struct TiffEntry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  uint32_t value = 0;
  unsigned char field[4] = {};
};

class TiffStream {
 public:
  TiffStream(ByteSource& source, uint64_t start, uint64_t length)
      : source_(source), start_(start), length_(source.Holds(start, 0) ? std::min(length, source.Size() - start) : 0) {}

  bool ReadHeader(uint32_t& firstDirectory) {
    unsigned char header[8];
    if (length_ < 8 || !source_.Read(start_, 8, header) || !IsTiffHeader(header)) return false;
    big_ = header[0] == 'M';
    firstDirectory = Value32(header + 4);
    return true;
  }

  // Makes a directory whose count of entries runs past the stream's end count as damaged, instead of
  // being read up to the entries that are there: values must not come from bytes that only look
  // like entries.
  void RefuseCutDirectories() { refuseCut_ = true; }

  // Calls visit(entry) for each entry of the directory at `at` but the EXIF pointer, which goes to
  // `exif`; `next` gets the link to the following directory (0: none, or the count was cut).
  template <typename Visit>
  bool ReadDirectory(uint32_t at, uint32_t& exif, uint32_t& next, Visit&& visit) {
    exif = next = 0;
    unsigned char countBytes[2];
    if (!Inside(at, 2) || !source_.Read(start_ + at, 2, countBytes)) return false;
    // A count larger than the stream can hold is cut to the entries that are really there.
    const uint64_t room = (length_ - at - 2) / kTiffEntrySize;
    const uint64_t entries = std::min<uint64_t>(Value16(countBytes), room);
    if (refuseCut_ && entries != Value16(countBytes)) return false;
    for (uint64_t i = 0; i < entries; ++i) {
      unsigned char e[kTiffEntrySize];
      if (!source_.Read(start_ + at + 2 + i * kTiffEntrySize, kTiffEntrySize, e)) return false;
      TiffEntry entry;
      entry.tag = Value16(e);
      entry.type = Value16(e + 2);
      entry.count = Value32(e + 4);
      entry.value = Value32(e + 8);
      std::copy(e + 8, e + 12, entry.field);
      if (entry.tag == kTiffTagExifDirectory && (entry.type == kTiffTypeLong || entry.type == kTiffTypeDirectory) &&
          entry.count == 1) {
        exif = entry.value;
      } else {
        visit(entry);
      }
    }
    const uint64_t nextAt = uint64_t{at} + 2 + entries * kTiffEntrySize;
    unsigned char nextBytes[4];
    if (entries == Value16(countBytes) && Inside(nextAt, 4) && source_.Read(start_ + nextAt, 4, nextBytes)) {
      next = Value32(nextBytes);
    }
    return true;
  }

  // The first `size` bytes of an entry's value of `typeSize`-byte items: from the value field when the
  // whole value fits there, else from where it points, which must hold the whole value.
  bool ValueBytes(const TiffEntry& entry, uint64_t typeSize, size_t size, unsigned char* out) {
    const uint64_t total = typeSize * entry.count;  // both below 2^32: no overflow
    if (entry.count == 0 || size > total) return false;
    if (total <= 4) {
      std::copy(entry.field, entry.field + size, out);
      return true;
    }
    return Inside(entry.value, total) && source_.Read(start_ + entry.value, size, out);
  }

  bool Inside(uint64_t offset, uint64_t count) const { return offset <= length_ && count <= length_ - offset; }
  uint64_t Start() const { return start_; }
  ByteSource& Source() { return source_; }
  uint16_t Value16(const unsigned char* p) const {
    return big_ ? static_cast<uint16_t>(p[0] << 8 | p[1]) : static_cast<uint16_t>(p[1] << 8 | p[0]);
  }
  uint32_t Value32(const unsigned char* p) const {
    return big_ ? (uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3])
                : (uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]);
  }

 private:
  ByteSource& source_;
  uint64_t start_;
  uint64_t length_;
  bool big_ = false;
  bool refuseCut_ = false;
};

// Which directories a walk visits: the first, the EXIF directories the visited ones point to, and
// the directories chained behind the first.
enum class TiffChain { kFollow, kWithExif, kFirstOnly };

// Visits the first directory, with kWithExif and kFollow its EXIF directory (before the next image's
// directory: it is where a photograph's tags are), with kFollow the directories chained behind; calls visit(entry,
// directoryNumber), the first directory being number 0. At most kMaxTiffDirectories are visited,
// each once, so a pointer back to an earlier one ends the walk. False when there is no TIFF header.
template <typename Visit>
bool WalkTiffDirectories(TiffStream& stream, TiffChain chain, Visit&& visit) {
  uint32_t first = 0;
  if (!stream.ReadHeader(first)) return false;
  std::vector<uint32_t> visited;
  std::vector<uint32_t> pending = {first};
  while (!pending.empty() && visited.size() < kMaxTiffDirectories) {
    const uint32_t at = pending.front();
    pending.erase(pending.begin());
    if (at == 0 || std::find(visited.begin(), visited.end(), at) != visited.end()) continue;
    const size_t number = visited.size();
    visited.push_back(at);
    uint32_t exif = 0, next = 0;
    if (!stream.ReadDirectory(at, exif, next, [&](const TiffEntry& entry) { visit(entry, number); })) continue;
    if (exif != 0 && chain != TiffChain::kFirstOnly) pending.insert(pending.begin(), exif);
    if (next != 0 && chain == TiffChain::kFollow) pending.push_back(next);
  }
  return true;
}

}  // namespace korval
