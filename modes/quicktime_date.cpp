// Movie times into calendar dates: the setting's whole hours, or the system's time zone rules.
#include "modes/quicktime_date.h"

#include <utility>
#include <vector>

namespace korval {
namespace {

constexpr long long kSeconds1904To1972 = 2145916800;  // 68 years with 17 leap days
constexpr long long kLatestSeconds = 1LL << 50;        // far beyond any year a record can hold
constexpr ULONGLONG kZoneKeptMs = 2000;

// Under Wine, asking for the system's zone and its rules for a year costs more than reading the
// movie. The answers are kept for two seconds: a run over a thousand movies asks once, and a change
// of the system's zone is seen soon after.
struct ZoneCache {
  ULONGLONG askedAt = 0;
  bool haveZone = false;
  DYNAMIC_TIME_ZONE_INFORMATION zone{};
  std::vector<std::pair<WORD, TIME_ZONE_INFORMATION>> years;
};

bool RulesForYear(WORD year, TIME_ZONE_INFORMATION& rules) {
  thread_local ZoneCache cache;
  const ULONGLONG now = GetTickCount64();
  if (cache.askedAt == 0 || now - cache.askedAt > kZoneKeptMs) {
    cache = ZoneCache{};
    cache.askedAt = now;
    cache.haveZone = GetDynamicTimeZoneInformation(&cache.zone) != TIME_ZONE_ID_INVALID;
  }
  if (!cache.haveZone) return false;
  for (const auto& [kept, keptRules] : cache.years) {
    if (kept == year) {
      rules = keptRules;
      return true;
    }
  }
  if (!GetTimeZoneInformationForYear(year, &cache.zone, &rules)) return false;
  cache.years.emplace_back(year, rules);
  return true;
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

bool MovieTimeToLocal(long long seconds, const std::wstring& timezone, SYSTEMTIME& record) {
  if (seconds < 0 || seconds > kLatestSeconds) return false;
  if (timezone != kSystemTimeZone) {
    int hours = 0;
    if (!ParseTimeZoneHours(timezone, hours)) hours = 0;
    return QuickTimeSecondsToDate(seconds + hours * 3600LL, record);
  }
  SYSTEMTIME utc{};
  if (!QuickTimeSecondsToDate(seconds, utc)) return false;
  // The zone's rules for the movie's year, not today's offset: a summer movie keeps its summer time,
  // and a year before the rules changed keeps the old ones. (This is what the dynamic zone conversion
  // of Windows 7 and later does; Wine has only these two steps of it.)
  TIME_ZONE_INFORMATION rules{};
  SYSTEMTIME local{};
  if (RulesForYear(utc.wYear, rules) && SystemTimeToTzSpecificLocalTime(&rules, &utc, &local)) {
    record = local;
    return true;
  }
  if (SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    record = local;
    return true;
  }
  return false;
}

}  // namespace korval
