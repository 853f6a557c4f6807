// Macro records written byte by byte for the tests, independently of the program's own writers.
#pragma once

#include <string>

namespace korval {

// Stored texts have bit 6 of every byte toggled unless its low six bits are all zero.
inline std::string Stored(const std::string& text) {
  std::string bytes = text;
  for (char& c : bytes) {
    if (static_cast<unsigned char>(c) & 0x3F) c = static_cast<char>(c ^ 0x40);
  }
  return bytes;
}

// An ordinary step record: the code, three digits, the two stored texts each ended by a zero byte.
inline std::string Record(const std::string& code, const std::string& digits, const std::string& a,
                          const std::string& b) {
  return code + digits + Stored(a) + std::string(1, '\0') + Stored(b) + std::string(1, '\0') + "\n";
}

}  // namespace korval
