// Test helper for the file readers' mutation loops: damages a sample as real damage does (flipped
// bytes, sizes and offsets made huge or zero, a cut end) and hands it to a reader fenced on both
// sides, so that a read even one byte outside faults at once.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

#include "testing/guarded_bytes.h"

namespace korval {

inline std::string MutatedBytes(std::mt19937& random, std::string bytes) {
  auto below = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(random() % n); };
  if (bytes.size() > 100000) bytes.resize(100000);
  for (int f = static_cast<int>(below(10)); f > 0 && !bytes.empty(); --f) {
    const size_t at = below(bytes.size());
    switch (below(4)) {
      case 0: bytes[at] = static_cast<char>(random()); break;
      case 1: bytes[at] = '\xFF'; break;
      case 2: bytes[at] = '\0'; break;
      default:
        for (size_t i = at; i < at + 4 && i < bytes.size(); ++i) bytes[i] = static_cast<char>(below(2) ? 0xFF : 0);
    }
  }
  if (below(4) == 0) bytes.resize(below(bytes.size() + 1));
  return bytes;
}

// Calls read(std::string_view) twice: with the bytes ending at a fence and starting at one.
template <typename Read>
bool ReadFenced(const std::string& bytes, Read read) {
  for (auto fence : {GuardedBytes::Fence::kAfterEnd, GuardedBytes::Fence::kBeforeStart}) {
    GuardedBytes guarded(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), fence);
    if (!guarded.Valid()) return false;
    read(std::string_view(reinterpret_cast<const char*>(guarded.Data()), guarded.Size()));
  }
  return true;
}

}  // namespace korval
