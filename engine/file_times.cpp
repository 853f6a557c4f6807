// Time stamp changes of one item through the file-system seam.
#include "engine/file_times.h"

#include "engine/file_attributes.h"
#include "engine/path_kind.h"

namespace korval {
namespace {

bool ItemExists(const std::wstring& path, int folderFlag, FileSystem& fs) {
  if (folderFlag != kItemFile && folderFlag != kItemFolder) return PathKind(path, fs) != kPathIsMissing;
  return fs.Find(path.c_str(), nullptr);
}

// Reads the old times and keeps them, with their local calendar values, in old.
bool ReportTimes(int reportWhat, const std::wstring& path, OldFileTimes& old, FileSystem& fs) {
  const bool creation = reportWhat == kTimesCreation || reportWhat == kTimesBoth;
  const bool modification = reportWhat == kTimesModification || reportWhat == kTimesBoth;
  if (!creation && !modification) return true;
  if (!fs.GetTimes(path.c_str(), creation ? &old.creation : nullptr, nullptr,
                   modification ? &old.modification : nullptr)) {
    return false;
  }
  if (creation && !FileTimeToLocalCalendar(old.creation, old.localCreation)) return false;
  if (modification && !FileTimeToLocalCalendar(old.modification, old.localModification)) return false;
  old.reported = reportWhat;
  return true;
}

// The two values the system takes for "leave this time as it is": setting them would report success
// and change nothing (1601-01-01 00:00:00 UTC is the first).
bool Settable(const FILETIME& time) {
  const bool zero = time.dwLowDateTime == 0 && time.dwHighDateTime == 0;
  const bool allOnes = time.dwLowDateTime == 0xFFFFFFFF && time.dwHighDateTime == 0xFFFFFFFF;
  return !zero && !allOnes;
}

bool SetTimes(int setWhat, const std::wstring& path, const FILETIME& creation, const FILETIME& modification,
              FileSystem& fs) {
  switch (setWhat) {
    case kTimesNone:
      return true;
    case kTimesCreation:
      return fs.SetTimes(path.c_str(), &creation, nullptr, nullptr);
    case kTimesModification:
      return fs.SetTimes(path.c_str(), nullptr, nullptr, &modification);
    case kTimesBoth:
      return fs.SetTimes(path.c_str(), &creation, nullptr, &modification);
    default:
      return false;
  }
}

}  // namespace

int FileTimes(int setWhat, int reportWhat, const std::wstring& path, const FILETIME& creation,
              const FILETIME& modification, OldFileTimes* old, int folderFlag, FileSystem& fs) {
  OldFileTimes found;
  if (old) *old = found;
  if (setWhat < kTimesNone || setWhat > kTimesBoth) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 1;
  }
  // A find-first lookup would take a pattern for the first item it matches.
  if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return 1;
  }
  if (((setWhat & kTimesCreation) && !Settable(creation)) || ((setWhat & kTimesModification) && !Settable(modification))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 1;
  }
  if (!ItemExists(path, folderFlag, fs)) return 1;

  // A read-only item may refuse the change; the attribute is lifted only for its duration.
  DWORD restore = INVALID_FILE_ATTRIBUTES;
  if (setWhat != kTimesNone) {
    const DWORD attributes = fs.GetAttributes(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      if (!fs.SetAttributes(path.c_str(), SettableAttributes(attributes & ~FILE_ATTRIBUTE_READONLY))) return 1;
      restore = attributes;
    }
  }

  bool ok = ReportTimes(reportWhat, path, found, fs);
  if (ok) ok = SetTimes(setWhat, path, creation, modification, fs);

  if (restore != INVALID_FILE_ATTRIBUTES) {
    // Keep the error of the change itself for the caller's message.
    const DWORD error = GetLastError();
    fs.SetAttributes(path.c_str(), SettableAttributes(restore));
    SetLastError(error);
  }
  if (ok && old) *old = found;
  return ok ? 0 : 1;
}

int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  const WORD SYSTEMTIME::*fields[] = {&SYSTEMTIME::wYear, &SYSTEMTIME::wMonth,  &SYSTEMTIME::wDay,
                                      &SYSTEMTIME::wHour, &SYSTEMTIME::wMinute, &SYSTEMTIME::wSecond};
  for (const auto field : fields) {
    if (a.*field != b.*field) return b.*field > a.*field ? 1 : -1;
  }
  return 0;
}

bool FileTimeToLocalCalendar(const FILETIME& utc, SYSTEMTIME& local) {
  SYSTEMTIME universal;
  if (!FileTimeToSystemTime(&utc, &universal)) return false;
  // The zone rules of that date, not today's: a summer time stays a summer time in winter.
  return SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) != FALSE;
}

bool IsRealCalendarValue(const SYSTEMTIME& value) {
  if (value.wYear < 1601 || value.wYear > 30827 || value.wMonth < 1 || value.wMonth > 12) return false;
  if (value.wHour > 23 || value.wMinute > 59 || value.wSecond > 59 || value.wMilliseconds > 999) return false;
  static constexpr WORD kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int year = value.wYear;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const WORD days = value.wMonth == 2 && leap ? 29 : kDays[value.wMonth - 1];
  return value.wDay >= 1 && value.wDay <= days;
}

bool LocalCalendarToFileTime(const SYSTEMTIME& local, FILETIME& utc) {
  if (!IsRealCalendarValue(local)) return false;
  SYSTEMTIME checked = local;
  checked.wDayOfWeek = 0;
  SYSTEMTIME universal;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &checked, &universal)) return false;
  return SystemTimeToFileTime(&universal, &utc) != FALSE;
}

}  // namespace korval
