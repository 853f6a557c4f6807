// Size and date texts of the list's optional columns.
#include "filelist/list_texts.h"

#include <cwchar>

#include "modes/calendar.h"
#include "modes/capture_date.h"
#include "modes/date_time.h"
#include "platform/format_text.h"

namespace korval {
namespace {

constexpr std::uint64_t kGigaFormFrom = 10000000000ull;

std::uint64_t KbRoundedUp(std::uint64_t bytes) { return bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0); }

// Copies digits and suffix right to left into the field, a comma before every further group of three
// digits but never in the field's first column.
std::wstring RightAligned(const std::wstring& digits, const std::wstring& suffix, size_t width) {
  std::wstring field(width, L' ');
  long pos = static_cast<long>(width) - 1;
  for (size_t i = suffix.size(); i-- > 0 && pos >= 0;) field[pos--] = suffix[i];
  int inGroup = 0;
  for (size_t i = digits.size(); i-- > 0 && pos >= 0;) {
    if (inGroup == 3) {
      if (pos > 0) field[pos--] = L',';
      inGroup = 0;
    }
    field[pos--] = digits[i];
    ++inGroup;
  }
  return field;
}

}  // namespace

size_t SizeFieldWidth(int unit) { return unit == kSizeInKb || unit == kSizeInMb ? kSizeFieldUnits : kSizeFieldBytes; }

std::wstring BlankSizeText(int unit) { return std::wstring(SizeFieldWidth(unit), L' '); }

std::wstring SizeTextOf(std::uint64_t bytes, int unit) {
  const size_t width = SizeFieldWidth(unit);
  if (bytes >= kGigaFormFrom) {
    // The format itself is made first, so the number's width follows the field's.
    const std::wstring format = FormatText(L">=%%%d.1f G", static_cast<int>(width) - 4);
    const double tenths = static_cast<double>(KbRoundedUp(bytes) / 102400);
    wchar_t buffer[64] = {};
    std::swprintf(buffer, 64, format.c_str(), tenths / 10.0);
    std::wstring text = buffer;
    if (text.size() < width) text.insert(0, width - text.size(), L' ');
    return text;
  }
  if (unit == kSizeInKb) return RightAligned(std::to_wstring(KbRoundedUp(bytes)), L" K", width);
  if (unit == kSizeInMb) {
    const std::uint64_t mb = bytes / 1048576;
    return RightAligned(std::to_wstring(mb < 2 ? 1 : mb), L" M", width);
  }
  return RightAligned(std::to_wstring(bytes), L"", width);
}

SizeResult FormatSizeText(const std::wstring& path, int unit, FileSystem& fs) {
  SizeResult result;
  WIN32_FIND_DATAW found{};
  if (!path.empty() && fs.Find(path.c_str(), &found)) {
    result.bytes = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  }
  result.text = SizeTextOf(result.bytes, unit);
  return result;
}

// "%4d/%02d/%02d %02d:%02d:%02d", written digit by digit: a read of a large tree makes one per row,
// and the formatted print took most of the date column's time.
std::wstring DateTextOf(const SYSTEMTIME& time) {
  if (time.wYear > 9999 || time.wMonth > 99 || time.wDay > 99 || time.wHour > 99 || time.wMinute > 99 ||
      time.wSecond > 99) {
    return FormatText(L"%4d/%02d/%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                      time.wSecond);
  }
  std::wstring text = L"0000/00/00 00:00:00";
  auto put = [&text](size_t at, unsigned value, size_t digits) {
    for (size_t i = digits; i-- > 0; value /= 10) text[at + i] = static_cast<wchar_t>(L'0' + value % 10);
  };
  put(0, time.wYear, 4);
  // The year is padded with spaces, not zeros.
  for (size_t i = 0; i < 3 && text[i] == L'0'; ++i) text[i] = L' ';
  put(5, time.wMonth, 2);
  put(8, time.wDay, 2);
  put(11, time.wHour, 2);
  put(14, time.wMinute, 2);
  put(17, time.wSecond, 2);
  return text;
}

bool DateTextFromTimes(const std::wstring& path, int kind, const FILETIME& created, const FILETIME& written,
                       const std::wstring& timezone, std::wstring& text) {
  text = L" ";
  SYSTEMTIME record{};
  if (kind == kDateKindCaptured || kind == kDateKindCapturedOrCreated) {
    if (ReadCaptureDate(path, record, timezone) == kDateFound) {
      text = DateTextOf(record);
      return true;
    }
    if (kind == kDateKindCaptured) return false;
  }
  const FILETIME& chosen = kind == kDateKindWritten ? written : created;
  if (!FileTimeToLocalRecord(chosen, record)) return false;
  text = DateTextOf(record);
  return true;
}

bool FormatDateText(const std::wstring& path, int kind, const std::wstring& timezone, std::wstring& text,
                    FileSystem& fs) {
  WIN32_FIND_DATAW found{};
  if (path.empty() || !fs.Find(path.c_str(), &found)) {
    text = L" ";
    return false;
  }
  return DateTextFromTimes(path, kind, found.ftCreationTime, found.ftLastWriteTime, timezone, text);
}

}  // namespace korval
