// Test helper for the file readers: bytes in memory that remember where and how much a reader read,
// so a test can see that a reader left alone what it was not asked for.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "metadata/byte_source.h"

namespace korval {

class WatchedSource final : public ByteSource {
 public:
  explicit WatchedSource(std::string_view bytes) : inner_(bytes) {}
  uint64_t Size() const override { return inner_.Size(); }
  bool Read(uint64_t offset, size_t count, unsigned char* out) override {
    offsets.push_back(offset);
    bytes += count;
    return inner_.Read(offset, count, out);
  }
  size_t Reads() const { return offsets.size(); }

  std::vector<uint64_t> offsets;  // of each read, in order
  size_t bytes = 0;               // asked for in all

 private:
  MemoryByteSource inner_;
};

}  // namespace korval
