// A small reader of ZIP archives for the document readers: the central directory, and one entry's
// bytes, stored or inflated through zlib, never more than a bound the caller gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "metadata/byte_source.h"

namespace korval {

struct ZipEntry {
  uint64_t localHeader = 0;
  uint64_t compressedSize = 0;
  uint64_t size = 0;
  uint32_t crc = 0;
  uint16_t method = 0;  // 0 stored, 8 deflated
  uint16_t nameLength = 0;
};

class ZipArchive {
 public:
  explicit ZipArchive(ByteSource& source) : source_(source) {}

  // Finds the end record and the central directory; false when the file is no readable ZIP.
  bool Open();
  // The entry with exactly this name (the first one, as the directory lists them).
  bool Find(std::string_view name, ZipEntry& entry);
  // The entry's whole content, checked against its size and CRC; false when it is damaged,
  // encrypted, compressed otherwise than stored or deflated, or larger than `maxBytes`.
  bool Read(std::string_view name, const ZipEntry& entry, size_t maxBytes, std::string& out);

 private:
  bool ReadEnd(const unsigned char* record, size_t available, uint64_t endRecord);
  bool ReadZip64End(uint64_t endRecord);

  ByteSource& source_;
  uint64_t directoryStart_ = 0;
  uint64_t directoryEnd_ = 0;
  uint64_t entryCount_ = 0;
};

// Inflates `length` bytes from `offset`: raw deflate data when `raw`, else a zlib stream. False when
// the data is damaged, ends early or would give more than `maxBytes`.
bool InflateFromSource(ByteSource& source, uint64_t offset, uint64_t length, bool raw, size_t maxBytes,
                       std::string& out);

}  // namespace korval
