// Dates and times in names: picks the row's date (file time or capture time), formats it and puts
// it into the new name.
#include "modes/date_time.h"

#include <string_view>

#include "modes/calendar.h"
#include "modes/capture_date.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr size_t kMaxSeparator = 6;
constexpr size_t kMaxTypedPattern = 127;
constexpr const wchar_t* kSeparatorMark = L"〓";

// The fixed patterns as sequences of parts: Y year, M month, D day, h hour, m minute, s second,
// S the separator.
constexpr const char* kFixedPatterns[9] = {"YSMSDShSmSs", "YMDShms", "YSMSDShSm", "YMDShm", "YSMSD",
                                           "YMDhms",      "YMDhm",   "YMD",       "MD"};

constexpr const wchar_t* kEnglishDays[7] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
constexpr const wchar_t* kJapaneseDays[7] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};

struct Units {
  const wchar_t* year = L"";
  const wchar_t* month = L"";
  const wchar_t* day = L"";
  const wchar_t* hour = L"";
  const wchar_t* minute = L"";
  const wchar_t* second = L"";
};

Units UnitsFor(const ModeParams& params) {
  if (!params.addyymmdd) return {};
  return {L"年", L"月", L"日", L"時", L"分", L"秒"};
}

// The number with leading zeros up to the width (a wider number is written whole).
std::wstring Digits(unsigned value, size_t width) {
  std::wstring text = std::to_wstring(value);
  if (text.size() < width) text.insert(0, width - text.size(), L'0');
  return text;
}

bool ReplaceFirst(std::wstring& text, std::wstring_view token, const std::wstring& with) {
  const size_t at = text.find(token);
  if (at == std::wstring::npos) return false;
  text.replace(at, token.size(), with);
  return true;
}

std::wstring FormatFixed(const SYSTEMTIME& t, int pattern, const std::wstring& separator, const Units& units) {
  std::wstring text;
  for (const char* part = kFixedPatterns[pattern]; *part != '\0'; ++part) {
    switch (*part) {
      case 'Y': text += Digits(t.wYear, 4) + units.year; break;
      case 'M': text += Digits(t.wMonth, 2) + units.month; break;
      case 'D': text += Digits(t.wDay, 2) + units.day; break;
      case 'h': text += Digits(t.wHour, 2) + units.hour; break;
      case 'm': text += Digits(t.wMinute, 2) + units.minute; break;
      case 's': text += Digits(t.wSecond, 2) + units.second; break;
      default: text += separator; break;
    }
  }
  return text;
}

// The typed pattern: the first occurrence of each token is replaced, in this order, then every mark.
std::wstring FormatTyped(const SYSTEMTIME& t, std::wstring text, const std::wstring& separator,
                         const Units& units) {
  Truncate(text, kMaxTypedPattern);
  if (!ReplaceFirst(text, L"YYYY", Digits(t.wYear, 4) + units.year)) {
    ReplaceFirst(text, L"2Y", Digits(t.wYear % 100, 2) + units.year);
  }
  struct Field {
    const wchar_t* twoDigits;
    const wchar_t* plain;
    unsigned value;
    const wchar_t* unit;
  };
  const Field fields[] = {{L"MM", L"1M", t.wMonth, units.month},   {L"DD", L"1D", t.wDay, units.day},
                          {L"hh", L"1h", t.wHour, units.hour},     {L"mm", L"1m", t.wMinute, units.minute},
                          {L"ss", L"1s", t.wSecond, units.second}};
  for (const Field& f : fields) {
    if (!ReplaceFirst(text, f.twoDigits, Digits(f.value, 2) + f.unit)) {
      ReplaceFirst(text, f.plain, std::to_wstring(f.value) + f.unit);
    }
  }
  const int weekday = DayOfWeek(t.wYear, t.wMonth, t.wDay);
  ReplaceFirst(text, L"www", kEnglishDays[weekday]);
  ReplaceFirst(text, L"ww", kJapaneseDays[weekday]);
  ReplaceText(text, kMaxBuiltPath + 1, kSeparatorMark, separator, 1);
  return text;
}

}  // namespace

std::wstring FormatDateForName(const SYSTEMTIME& time, const ModeParams& params) {
  std::wstring separator = params.sepstr;
  Truncate(separator, kMaxSeparator);
  const Units units = UnitsFor(params);
  const int pattern = Clamp(kTypedDatePattern, params.datefrom, 8);
  std::wstring text = pattern == kTypedDatePattern ? FormatTyped(time, params.ymdform, separator, units)
                                                   : FormatFixed(time, pattern, separator, units);
  Truncate(text, kMaxBuiltPath);
  return text;
}

bool FileTimeToLocalRecord(const FILETIME& fileTime, SYSTEMTIME& record) {
  FILETIME local{};
  SYSTEMTIME converted{};
  if (!FileTimeToLocalFileTime(&fileTime, &local) || !FileTimeToSystemTime(&local, &converted)) return false;
  record = converted;
  return true;
}

void DateTimeTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  static const ModeParams kDefaults;
  const ModeParams& params = ctx.params ? *ctx.params : kDefaults;
  DateRun localRun;
  DateRun& run = ctx.dateRun ? *ctx.dateRun : localRun;
  const std::wstring& item = ctx.itemPath.empty() ? source : ctx.itemPath;
  const int which = Clamp(kDateCreated, params.whichdate, kDateCapturedOrCreated);

  // The photograph or movie is read where it lies on disk: during macro playback the source path
  // names what the item will be called, not a file that exists. A file that gives its capture time
  // exists, so its times are asked for only when it gives none: one opening of the file per row.
  bool haveDate = false;
  if (item.empty() || ctx.fs == nullptr) {
    target.clear();
    return;
  }
  if (which == kDateCaptured || which == kDateCapturedOrCreated) {
    SYSTEMTIME captured{};
    if (ReadCaptureDate(item, captured, ctx.timezone) == kDateFound) {
      run.record = captured;
      haveDate = true;
    }
  }
  if (!haveDate) {
    // The item must exist under its name on disk, whatever date is wanted.
    FILETIME created{}, modified{};
    if (!ctx.fs->GetTimes(item.c_str(), &created, nullptr, &modified)) {
      target.clear();
      return;
    }
    if (which == kDateCaptured) {
      target = source;
      Truncate(target, kMaxBuiltPath);
      return;
    }
    haveDate = FileTimeToLocalRecord(which == kDateModified ? modified : created, run.record);
  }
  if (!haveDate) {
    target.clear();
    return;
  }

  const std::wstring date = FormatDateForName(run.record, params);
  std::wstring separator = params.sepstr;
  Truncate(separator, kMaxSeparator);
  const PathParts parts = SplitPathForMode(source, ctx.fileDir);
  std::wstring name;
  switch (Clamp(0, params.dateins, 4)) {
    case 0: name = date + parts.extension; break;
    case 1: name = date + parts.stem + parts.extension; break;
    case 2: name = parts.stem + date + parts.extension; break;
    case 3: name = date + separator + parts.stem + parts.extension; break;
    default: name = parts.stem + separator + date + parts.extension; break;
  }
  target = parts.Directory() + name;
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
