// The date text of EXIF, and the byte search for it in the leading bytes of a JPEG file whose
// segments cannot be followed. Offsets and counts come from the file and are never trusted: every
// read is checked against the buffer first.
#include "metadata/exif_date.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>


namespace korval {
namespace {

constexpr size_t kExifSearchMargin = 1024;  // the "Exif" marker is looked for this far before the end
constexpr size_t kExifValueLength = 20;     // 19 characters and the terminating zero
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagDateTimeDigitized = 0x9004;
constexpr uint16_t kTypeAscii = 2;

struct ByteOrder {
  bool bigEndian = false;
  uint16_t Read16(const unsigned char* p) const {
    return bigEndian ? static_cast<uint16_t>(p[0] << 8 | p[1]) : static_cast<uint16_t>(p[1] << 8 | p[0]);
  }
  uint32_t Read32(const unsigned char* p) const {
    return bigEndian ? (uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3])
                     : (uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]);
  }
};

// Position of the first "Exif" 0 0 at or before readSize - 1024, or npos.
size_t FindExifMarker(const unsigned char* buffer, size_t bufferSize, size_t readSize) {
  static constexpr unsigned char kMarker[6] = {'E', 'x', 'i', 'f', 0, 0};
  if (readSize < kExifSearchMargin) return std::string::npos;
  const size_t last = readSize - kExifSearchMargin;
  for (size_t p = 0; p <= last && p + sizeof(kMarker) <= bufferSize; ++p) {
    if (std::equal(kMarker, kMarker + sizeof(kMarker), buffer + p)) return p;
  }
  return std::string::npos;
}

// The attempts, shared by the file and the in-memory reader. `fill` makes the first `want` bytes of
// the file available in `data` (fewer when the file is shorter).
bool RunExifAttempts(const std::function<void(std::vector<unsigned char>&, size_t)>& fill, SYSTEMTIME& record) {
  std::vector<unsigned char> data;
  for (size_t attempt = 0; attempt < kExifAttempts; ++attempt) {
    const size_t readSize = kExifReadSizes[attempt];
    fill(data, readSize);
    // The attempt's buffer: the bytes read, then zeros up to one byte past the read size.
    std::vector<unsigned char> buffer(readSize + 1, 0);
    std::copy_n(data.begin(), std::min(data.size(), readSize), buffer.begin());
    if (buffer[0] != 0xFF || buffer[1] != 0xD8) return false;

    std::string value, digitized;
    switch (ScanExifBuffer(buffer.data(), buffer.size(), readSize, value, digitized)) {
      case ExifScan::kValue:
        return ParseExifDateText(value, record) ;
      case ExifScan::kOriginalBeyond:
        // No larger attempt is left to reach the capture time: the digitized time is all there is.
        if (attempt + 1 == kExifAttempts && !digitized.empty()) {
          return ParseExifDateText(digitized, record) ;
        }
        break;
      case ExifScan::kNothing:
        break;
    }
  }
  return false;
}

WORD DaysInMonth(WORD year, WORD month) {
  static constexpr WORD kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

ExifScan ScanExifBuffer(const unsigned char* buffer, size_t bufferSize, size_t readSize, std::string& value,
                        std::string& digitized) {
  value.clear();
  digitized.clear();
  if (buffer == nullptr) return ExifScan::kNothing;
  readSize = std::min(readSize, bufferSize);

  const size_t marker = FindExifMarker(buffer, bufferSize, readSize);
  if (marker == std::string::npos) return ExifScan::kNothing;
  const size_t base = marker + 6;  // the TIFF header: every offset counts from here
  if (base + 4 > bufferSize) return ExifScan::kNothing;
  ByteOrder order;
  static constexpr unsigned char kBig[4] = {'M', 'M', 0x00, 0x2A};
  static constexpr unsigned char kLittle[4] = {'I', 'I', 0x2A, 0x00};
  if (std::equal(kBig, kBig + 4, buffer + base)) {
    order.bigEndian = true;
  } else if (!std::equal(kLittle, kLittle + 4, buffer + base)) {
    return ExifScan::kNothing;
  }

  // Every byte position may start a directory entry: tag, type, count, value offset (12 bytes).
  for (size_t q = base; q + 12 <= readSize; ++q) {
    const uint16_t tag = order.Read16(buffer + q);
    if (tag != kTagDateTimeOriginal && tag != kTagDateTimeDigitized) continue;
    if (order.Read16(buffer + q + 2) != kTypeAscii || order.Read32(buffer + q + 4) != kExifValueLength) continue;
    const uint64_t start = uint64_t{base} + order.Read32(buffer + q + 8);
    if (start + kExifValueLength > bufferSize) {
      if (tag == kTagDateTimeOriginal) return ExifScan::kOriginalBeyond;
      continue;
    }
    const std::string text(reinterpret_cast<const char*>(buffer + start), kExifValueLength);
    if (tag == kTagDateTimeOriginal) {
      value = text;
      digitized.clear();
      return ExifScan::kValue;
    }
    if (digitized.empty()) digitized = text;  // the first one met is kept; a capture time replaces it
  }
  if (digitized.empty()) return ExifScan::kNothing;
  value = digitized;
  digitized.clear();
  return ExifScan::kValue;
}

bool ParseExifDateText(std::string_view value, SYSTEMTIME& record) {
  // Exactly 19 characters before the first zero byte (or the end of a value without terminator).
  const size_t length = std::min(value.find('\0'), value.size());
  if (length != 19) return false;
  static constexpr char kForm[] = "9999:99:99 99:99:99";
  for (size_t i = 0; i < 19; ++i) {
    const char c = value[i];
    if (kForm[i] == '9' ? (c < '0' || c > '9') : c != kForm[i]) return false;
  }
  if (value[0] != '1' && value[0] != '2') return false;
  auto number = [&](size_t at, size_t digits) {
    WORD n = 0;
    for (size_t i = 0; i < digits; ++i) n = static_cast<WORD>(n * 10 + (value[at + i] - '0'));
    return n;
  };
  SYSTEMTIME parsed{};
  parsed.wYear = number(0, 4);
  parsed.wMonth = number(5, 2);
  parsed.wDay = number(8, 2);
  parsed.wHour = number(11, 2);
  parsed.wMinute = number(14, 2);
  parsed.wSecond = number(17, 2);
  parsed.wMilliseconds = 0;
  // Blank or zero fields and impossible dates are what cameras without a set clock and some scanners
  // write: such a value is no capture time.
  if (parsed.wMonth < 1 || parsed.wMonth > 12 || parsed.wDay < 1 || parsed.wDay > DaysInMonth(parsed.wYear, parsed.wMonth) ||
      parsed.wHour > 23 || parsed.wMinute > 59 || parsed.wSecond > 59) {
    return false;
  }
  record = parsed;
  return true;
}

bool ExifDateFromBytes(std::string_view fileStart, SYSTEMTIME& record) {
  auto fill = [fileStart](std::vector<unsigned char>& data, size_t want) {
    const size_t n = std::min(want, fileStart.size());
    data.assign(fileStart.begin(), fileStart.begin() + static_cast<std::ptrdiff_t>(n));
  };
  return RunExifAttempts(fill, record);
}

}  // namespace korval
