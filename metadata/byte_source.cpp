// Reading a file's bytes by offset for the capture-time readers, from memory or from disk.
#include "metadata/byte_source.h"

#include <algorithm>
#include <cstring>

namespace korval {
namespace {

constexpr size_t kBlockSize = 8192;    // most photographs hold their whole date directory in it
constexpr uint64_t kBlockAlign = 4096;  // blocks start on this boundary, so a step back often still hits

}  // namespace

bool ByteSource::ReadU8(uint64_t offset, uint8_t& value) { return Read(offset, 1, &value); }

bool ByteSource::ReadBe16(uint64_t offset, uint16_t& value) {
  unsigned char b[2];
  if (!Read(offset, 2, b)) return false;
  value = static_cast<uint16_t>(b[0] << 8 | b[1]);
  return true;
}

bool ByteSource::ReadBe32(uint64_t offset, uint32_t& value) {
  unsigned char b[4];
  if (!Read(offset, 4, b)) return false;
  value = uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
  return true;
}

bool ByteSource::ReadBe64(uint64_t offset, uint64_t& value) {
  uint32_t high = 0, low = 0;
  if (!ReadBe32(offset, high) || !ReadBe32(offset + 4, low)) return false;
  value = uint64_t{high} << 32 | low;
  return true;
}

bool ByteSource::ReadLe32(uint64_t offset, uint32_t& value) {
  unsigned char b[4];
  if (!Read(offset, 4, b)) return false;
  value = uint32_t{b[3]} << 24 | uint32_t{b[2]} << 16 | uint32_t{b[1]} << 8 | b[0];
  return true;
}

bool ByteSource::ReadText(uint64_t offset, size_t count, std::string& out) {
  if (offset > Size()) return false;
  count = static_cast<size_t>(std::min<uint64_t>(count, Size() - offset));
  out.assign(count, '\0');
  return count == 0 || Read(offset, count, reinterpret_cast<unsigned char*>(out.data()));
}

bool MemoryByteSource::Read(uint64_t offset, size_t count, unsigned char* out) {
  if (!Holds(offset, count)) return false;
  if (count != 0) std::memcpy(out, bytes_.data() + offset, count);
  return true;
}

FileByteSource::FileByteSource(const std::wstring& path) {
  if (path.empty()) return;
  file_ = ScopedFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (file_ && GetFileSizeEx(file_.Get(), &size) && size.QuadPart >= 0) size_ = static_cast<uint64_t>(size.QuadPart);
}

// Reads the block that starts at the boundary at or before `offset`.
bool FileByteSource::Fill(uint64_t offset) {
  blockFilled_ = 0;
  blockStart_ = offset - offset % kBlockAlign;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(kBlockSize, size_ - blockStart_));
  block_.resize(kBlockSize);
  blockFilled_ = ReadAt(blockStart_, want, block_.data());
  return blockFilled_ == want;
}

// Moves the file pointer (unless it already stands there, as at the first read), then reads. A read
// that names its offset itself (an OVERLAPPED structure on this synchronous handle) costs under Wine
// some 30 microseconds more, a fifth of opening a photograph and reading its first block.
size_t FileByteSource::ReadAt(uint64_t offset, size_t count, unsigned char* out) {
  ++diskReads_;
  if (offset != position_) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    position_ = UINT64_MAX;
    if (!SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN)) return 0;
  }
  size_t have = 0;
  bool whole = true;
  while (have < count) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(count - have, 1u << 30));
    if (!::ReadFile(file_.Get(), out + have, ask, &got, nullptr) || got == 0) {
      whole = false;
      break;
    }
    have += got;
  }
  position_ = whole ? offset + have : UINT64_MAX;
  bytesFromDisk_ += have;
  return have;
}

bool FileByteSource::Read(uint64_t offset, size_t count, unsigned char* out) {
  if (!IsOpen() || !Holds(offset, count)) return false;
  if (count == 0) return true;
  auto inBlock = [&] { return offset >= blockStart_ && offset - blockStart_ + count <= blockFilled_; };
  if (!inBlock()) {
    // Larger than any block can serve: read straight into the caller's buffer.
    if (count > kBlockSize - kBlockAlign) return ReadAt(offset, count, out) == count;
    if (!Fill(offset) && !inBlock()) return false;
    if (!inBlock()) return false;
  }
  std::memcpy(out, block_.data() + (offset - blockStart_), count);
  return true;
}

}  // namespace korval
