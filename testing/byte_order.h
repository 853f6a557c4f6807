// Test helper for the file readers' samples: numbers as the bytes of either byte order.
#pragma once

#include <cstdint>
#include <string>

namespace korval::samples {

inline std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }
inline std::string Be32(uint32_t v) { return Be16(static_cast<uint16_t>(v >> 16)) + Be16(static_cast<uint16_t>(v)); }
inline std::string Be64(uint64_t v) { return Be32(static_cast<uint32_t>(v >> 32)) + Be32(static_cast<uint32_t>(v)); }
inline std::string Le16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
inline std::string Le32(uint32_t v) { return Le16(static_cast<uint16_t>(v)) + Le16(static_cast<uint16_t>(v >> 16)); }
inline std::string Le64(uint64_t v) { return Le32(static_cast<uint32_t>(v)) + Le32(static_cast<uint32_t>(v >> 32)); }

}  // namespace korval::samples
