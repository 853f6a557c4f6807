// The one way the capture-time readers see a file: its length and the bytes at an offset. A file on
// disk is read through a small cache, so walking a structure costs a few reads however large the
// file is; tests read from memory instead, or count the reads.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/scoped_handle.h"

namespace korval {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies exactly `count` bytes from `offset`; false (nothing promised about `out`) when they do not
  // all lie inside the file or cannot be read.
  virtual bool Read(uint64_t offset, size_t count, unsigned char* out) = 0;

  // Whether [offset, offset + count) lies inside the file, without overflow.
  bool Holds(uint64_t offset, uint64_t count) const { return offset <= Size() && count <= Size() - offset; }
  bool ReadU8(uint64_t offset, uint8_t& value);
  bool ReadBe16(uint64_t offset, uint16_t& value);
  bool ReadBe32(uint64_t offset, uint32_t& value);
  bool ReadBe64(uint64_t offset, uint64_t& value);
  bool ReadLe32(uint64_t offset, uint32_t& value);
  // Up to `count` bytes (fewer at the end of the file) into `out`.
  bool ReadText(uint64_t offset, size_t count, std::string& out);
};

class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool Read(uint64_t offset, size_t count, unsigned char* out) override;

 private:
  std::string_view bytes_;
};

// A file opened for reading (shared with every other opener). Reads are served from one cached
// block: a directory of entries read one by one costs one read of the disk, not one per entry.
class FileByteSource final : public ByteSource {
 public:
  explicit FileByteSource(const std::wstring& path);
  bool IsOpen() const { return file_.Valid(); }
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, size_t count, unsigned char* out) override;
  size_t DiskReads() const { return diskReads_; }
  uint64_t BytesFromDisk() const { return bytesFromDisk_; }

 private:
  bool Fill(uint64_t offset);
  size_t ReadAt(uint64_t offset, size_t count, unsigned char* out);

  ScopedFile file_;
  uint64_t size_ = 0;
  std::vector<unsigned char> block_;
  uint64_t blockStart_ = 0;
  size_t blockFilled_ = 0;
  uint64_t position_ = 0;  // where the file pointer stands (UINT64_MAX when not known)
  size_t diskReads_ = 0;
  uint64_t bytesFromDisk_ = 0;
};

}  // namespace korval
