// Dates, their texts and sample files with capture times, shared by the date tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace korval {

inline SYSTEMTIME Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(mo);
  t.wDay = static_cast<WORD>(d);
  t.wHour = static_cast<WORD>(h);
  t.wMinute = static_cast<WORD>(mi);
  t.wSecond = static_cast<WORD>(s);
  t.wMilliseconds = static_cast<WORD>(ms);
  return t;
}

// "YYYY-MM-DD hh:mm:ss.mmm", or without the milliseconds.
inline std::string TimeText(const SYSTEMTIME& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond, t.wMilliseconds);
  return buffer;
}
inline std::string SecondsText(const SYSTEMTIME& t) { return TimeText(t).substr(0, 19); }

// What a record holds before a reader that finds nothing must leave it alone.
inline SYSTEMTIME Sentinel() { return Date(1234, 5, 6); }

// A little-endian JPEG with the capture time in its Exif directory: one APP1 segment, then filler
// to 5,000 bytes.
inline std::string JpegWithCaptureTime(const std::string& text) {
  std::string bytes("\xFF\xD8\xFF\xE1\x13\x84", 6);  // the segment runs to the end of the file
  bytes += std::string("Exif\0\0II\x2A\0\x08\0\0\0", 14);
  bytes += std::string("\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00\x20\x00\x00\x00", 14);  // value at base + 32
  bytes.resize(12 + 32, '\0');
  bytes += text + std::string(1, '\0');
  bytes.resize(5000, '\x55');
  return bytes;
}

// A QuickTime movie: a file-type box, the movie box whose header holds the creation time (seconds
// since 1904, UTC), and a free box.
inline std::string MovieWithCreationTime(uint32_t seconds) {
  auto be32 = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  std::string header = be32(108) + "mvhd" + std::string(4, '\0') + be32(seconds) + be32(seconds) + be32(600) +
                       be32(0) + std::string(80, '\0');
  return be32(20) + "ftypqt  " + std::string(4, '\0') + "qt  " + be32(static_cast<uint32_t>(8 + header.size())) +
         "moov" + header + be32(200) + "free" + std::string(192, '\x33');
}

}  // namespace korval
