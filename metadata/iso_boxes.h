// The boxes of ISO media files (QuickTime and MP4 movies, HEIF and AVIF photographs, CR3), walked
// by their sizes (32 or 64 bits, 0 for "to the end"), each bounded by its parent and by the file.
#pragma once

#include <cstdint>
#include <cstring>

#include "metadata/byte_source.h"

namespace korval::iso {

constexpr size_t kMaxBoxesPerLevel = 4096;  // a level with more boxes than this is not a real file

struct Box {
  char type[5] = {};
  uint64_t start = 0;
  uint64_t body = 0;  // behind the header (and behind the 16-byte id of a 'uuid' box)
  uint64_t end = 0;
  bool Is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
  uint64_t BodySize() const { return end - body; }
};

// The box at `at`, which must end by `limit`; false for a header that is cut or lies about its size.
inline bool ReadBox(ByteSource& source, uint64_t at, uint64_t limit, Box& box) {
  uint32_t size32 = 0;
  if (at > limit || limit - at < 8 || !source.ReadBe32(at, size32) || !source.Read(at + 4, 4, reinterpret_cast<unsigned char*>(box.type))) {
    return false;
  }
  box.start = at;
  box.body = at + 8;
  uint64_t size = size32;
  if (size32 == 1) {
    if (limit - at < 16 || !source.ReadBe64(at + 8, size)) return false;
    box.body = at + 16;
  } else if (size32 == 0) {
    size = limit - at;  // the box runs to the end of its parent
  }
  if (size < box.body - at || size > limit - at) return false;
  box.end = at + size;
  return true;
}

// Calls visit(box) for each box inside [from, limit) until it returns true; true when one did.
template <typename Visit>
bool ForEachBox(ByteSource& source, uint64_t from, uint64_t limit, Visit visit) {
  uint64_t at = from;
  for (size_t n = 0; n < kMaxBoxesPerLevel && at < limit; ++n) {
    Box box;
    if (!ReadBox(source, at, limit, box)) return false;
    if (visit(box)) return true;
    if (box.end <= at) return false;
    at = box.end;
  }
  return false;
}

// A big-endian number of 0, 2, 4 or 8 bytes, moved past (sizes 1, 3 and others are not allowed by the format).
inline bool ReadSized(ByteSource& source, uint64_t& at, unsigned size, uint64_t& value) {
  value = 0;
  if (size == 0) return true;
  if (size == 2) {
    uint16_t v = 0;
    if (!source.ReadBe16(at, v)) return false;
    value = v;
  } else if (size == 4) {
    uint32_t v = 0;
    if (!source.ReadBe32(at, v)) return false;
    value = v;
  } else if (size == 8) {
    if (!source.ReadBe64(at, value)) return false;
  } else {
    return false;
  }
  at += size;
  return true;
}

// Where the children of a 'meta' box start: behind version and flags in ISO files, at once in
// QuickTime movies, whose 'meta' is a plain box.
inline uint64_t MetaChildren(ByteSource& source, const Box& meta) {
  unsigned char type[4];
  if (meta.BodySize() >= 8 && source.Read(meta.body + 4, 4, type) &&
      (std::memcmp(type, "hdlr", 4) == 0 || std::memcmp(type, "keys", 4) == 0 || std::memcmp(type, "ilst", 4) == 0)) {
    return meta.body;
  }
  return meta.body + 4;
}

}  // namespace korval::iso
