// Finds the movie header ("moov" holding "mvhd") in the tail or head of a QuickTime file and turns
// its creation time into a calendar date. Nothing read from the file is trusted as an offset.
#include "modes/quicktime_date.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "modes/string_helpers.h"
#include "platform/scoped_handle.h"

namespace korval {
namespace {

constexpr size_t kSearchMargin = 32;                // headers are looked for this far before the end
constexpr long long kSeconds1904To1972 = 2145916800;  // 68 years with 17 leap days

// Reads `want` bytes from the start (or from the end) of the file; the whole file when it is shorter.
using ReadPart = std::function<void(bool fromEnd, size_t want, std::vector<unsigned char>& data)>;

int RunQuickTimeAttempts(const ReadPart& read, SYSTEMTIME& record, const std::wstring& timezone) {
  int zoneHours = 0;
  if (!ParseTimeZoneHours(timezone, zoneHours)) zoneHours = 0;
  std::vector<unsigned char> data;
  for (size_t attempt = 0; attempt < kQuickTimeAttempts; ++attempt) {
    const size_t readSize = kQuickTimeReadSizes[attempt / 2];
    const bool fromEnd = attempt % 2 == 0;  // the header usually sits at the end of a camera's movie
    data.clear();
    read(fromEnd, readSize, data);
    std::vector<unsigned char> buffer(readSize + 1, 0);
    std::copy_n(data.begin(), std::min(data.size(), readSize), buffer.begin());
    if (ScanQuickTimeBuffer(buffer.data(), buffer.size(), readSize, zoneHours, record)) return kDateFound;
  }
  return kDateNotFound;
}

}  // namespace

bool ParseTimeZoneHours(std::wstring_view text, int& hours) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  const size_t digitsStart = i;
  long value = 0;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
    value = value * 10 + (text[i] - L'0');
    if (value > 23) return false;
    ++i;
  }
  if (i == digitsStart) return false;
  while (i < text.size() && text[i] == L' ') ++i;
  if (i != text.size()) return false;
  hours = static_cast<int>(negative ? -value : value);
  return true;
}

bool QuickTimeSecondsToDate(long long seconds, SYSTEMTIME& record) {
  if (seconds <= kSeconds1904To1972) return false;
  // The whole span goes through the calendar arithmetic, which places every day of every year,
  // 31 December of leap years included, where it belongs.
  SYSTEMTIME date{};
  date.wYear = 1972;
  date.wMonth = 1;
  date.wDay = 1;
  if (!AddToDateTime(date, 0, seconds - kSeconds1904To1972)) return false;
  record = date;
  return true;
}

bool ScanQuickTimeBuffer(const unsigned char* buffer, size_t bufferSize, size_t readSize, int zoneHours,
                         SYSTEMTIME& record) {
  if (buffer == nullptr) return false;
  readSize = std::min(readSize, bufferSize);
  if (readSize < kSearchMargin) return false;
  static constexpr unsigned char kMovie[6] = {'m', 'o', 'o', 'v', 0, 0};
  static constexpr unsigned char kHeader[4] = {'m', 'v', 'h', 'd'};
  const size_t last = readSize - kSearchMargin;
  for (size_t p = 0; p <= last && p + 20 <= bufferSize; ++p) {
    if (!std::equal(kMovie, kMovie + 6, buffer + p) || !std::equal(kHeader, kHeader + 4, buffer + p + 8)) continue;
    const unsigned char* t = buffer + p + 16;
    const long long created = static_cast<long long>(uint32_t{t[0]} << 24 | uint32_t{t[1]} << 16 |
                                                     uint32_t{t[2]} << 8 | uint32_t{t[3]});
    // Earlier times are placeholders of cameras without a clock; the search goes on.
    if (QuickTimeSecondsToDate(created + zoneHours * 3600LL, record)) return true;
  }
  return false;
}

int QuickTimeDateFromBytes(std::string_view file, SYSTEMTIME& record, const std::wstring& timezone) {
  auto read = [file](bool fromEnd, size_t want, std::vector<unsigned char>& data) {
    const size_t n = std::min(want, file.size());
    const std::string_view part = fromEnd ? file.substr(file.size() - n) : file.substr(0, n);
    data.assign(part.begin(), part.end());
  };
  return RunQuickTimeAttempts(read, record, timezone);
}

int ReadQuickTimeDate(const std::wstring& path, SYSTEMTIME& record, const std::wstring& timezone) {
  if (!EndsWithNoCase(path, L".mov") && !EndsWithNoCase(path, L".qt")) return kDateNotFound;
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return kDateNotFound;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return kDateNotFound;
  const unsigned long long fileSize = static_cast<unsigned long long>(size.QuadPart);

  auto read = [&](bool fromEnd, size_t want, std::vector<unsigned char>& data) {
    const unsigned long long n = std::min<unsigned long long>(want, fileSize);
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(fromEnd ? fileSize - n : 0);
    if (!SetFilePointerEx(file.Get(), from, nullptr, FILE_BEGIN)) return;
    data.resize(static_cast<size_t>(n));
    size_t have = 0;
    while (have < data.size()) {
      DWORD got = 0;
      if (!::ReadFile(file.Get(), data.data() + have, static_cast<DWORD>(data.size() - have), &got, nullptr) ||
          got == 0) {
        break;
      }
      have += got;
    }
    data.resize(have);
  };
  return RunQuickTimeAttempts(read, record, timezone);
}

}  // namespace korval
