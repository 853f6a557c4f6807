// Descriptions of time stamp and attribute changes, and applying them to a file or folder.
#include "engine/timestamp_mode.h"

#include <string_view>

#include "platform/probe_file_system.h"
#include "modes/calendar.h"
#include "platform/format_text.h"
#include "platform/digits.h"

namespace korval {
namespace {

constexpr long long kSecondsPerDay = 86400;
constexpr const wchar_t* kLabelCreation = L"作成";
constexpr const wchar_t* kLabelModification = L"更新";
constexpr const wchar_t* kLabelBoth = L"両方";

// The number written with `count` digits from text[start], or -1 when there is none.
int ReadDigits(const std::wstring& text, size_t start, size_t count) {
  int value = -1;
  ReadFixedDigits(text, start, count, value);
  return value;
}

// A calendar value moved by a number of seconds, as plain calendar arithmetic (no zone rules). Fails
// outside the years a description can hold.
// The calendar arithmetic of the date mode; the result must stay within what file times can hold
// and the descriptions can print.
bool AddSeconds(const SYSTEMTIME& from, long long seconds, SYSTEMTIME& to) {
  if (!IsRealCalendarValue(from)) return false;
  to = from;
  return AddToDateTime(to, 0, seconds) && to.wYear >= 1601 && to.wYear <= 9999;
}

std::wstring Describe(const wchar_t* label, const SYSTEMTIME& t) {
  return FormatText(L"<%s：%4d/%02d/%02d %02d:%02d:%02d>", label, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                    t.wSecond);
}

// Selections 3 and 4: the new time is the other one, unless the condition holds it back.
std::wstring DescribeCopy(const ModeParams& params, const std::wstring& source, FileSystem& fs) {
  const bool toCreation = params.creatmodif == kStampCreationFromModification;
  const int condition = params.timestpsm;
  const int report = condition == kCopyIfLater || condition == kCopyIfEarlier ? kTimesBoth
                     : toCreation                                             ? kTimesModification
                                                                              : kTimesCreation;
  OldFileTimes old;
  if (FileTimes(kTimesNone, report, source, {}, {}, &old, kItemUnknown, fs) != 0) return {};
  const SYSTEMTIME& current = toCreation ? old.localCreation : old.localModification;
  const SYSTEMTIME& copied = toCreation ? old.localModification : old.localCreation;
  if (condition == kCopyIfLater && CompareTimes(current, copied) != 1) return kTimestampUnchanged;
  if (condition == kCopyIfEarlier && CompareTimes(current, copied) != -1) return kTimestampUnchanged;
  if (copied.wYear > 9999) return {};  // the description has room for four digits
  return Describe(toCreation ? kLabelCreation : kLabelModification, copied);
}

// Selections 5 and 6: the time moved by the days plus the base's time of day.
std::wstring DescribeShift(const ModeParams& params, const TimestampRun& run, const std::wstring& source,
                           FileSystem& fs) {
  if (!run.timeValid) return {};
  OldFileTimes old;
  if (FileTimes(kTimesNone, kTimesBoth, source, {}, {}, &old, kItemUnknown, fs) != 0) return {};
  const bool creation = params.creatmodif == kStampShiftCreation;
  const long long distance = params.fwdbackdays * kSecondsPerDay + run.timeOfDay;
  SYSTEMTIME moved;
  if (!AddSeconds(creation ? old.localCreation : old.localModification,
                  params.fwdback == kShiftLater ? distance : -distance, moved)) {
    return {};
  }
  return Describe(creation ? kLabelCreation : kLabelModification, moved);
}

}  // namespace

void PrepareTimestampBase(const ModeParams& params, const std::wstring& source, TimestampRun& run,
                          FileSystem& fs) {
  if (run.started) return;
  run = TimestampRun{};
  run.started = true;
  const int hour = ReadDigits(params.baseTime, 0, 2);
  const int minute = ReadDigits(params.baseTime, 3, 2);
  int second = ReadDigits(params.baseTime, 6, 2);
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return;
  // FAT keeps times in steps of two seconds.
  if (ProbeFileSystem(source, fs) == kFsFat) second &= ~1;
  run.timeValid = true;
  run.timeOfDay = hour * 3600LL + minute * 60LL + second;

  const int year = ReadDigits(params.baseDate, 0, 4);
  const int month = ReadDigits(params.baseDate, 5, 2);
  const int day = ReadDigits(params.baseDate, 8, 2);
  if (year < 0 || month < 0 || day < 0) return;
  SYSTEMTIME base{};
  base.wYear = static_cast<WORD>(year);
  base.wMonth = static_cast<WORD>(month);
  base.wDay = static_cast<WORD>(day);
  base.wHour = static_cast<WORD>(hour);
  base.wMinute = static_cast<WORD>(minute);
  base.wSecond = static_cast<WORD>(second);
  if (!IsRealCalendarValue(base)) return;
  run.base = base;
  run.baseValid = true;
}

std::wstring DescribeTimestamp(const ModeParams& params, TimestampRun& run, int row, const std::wstring& source,
                               FileSystem& fs) {
  switch (params.creatmodif) {
    case kStampSetCreation:
    case kStampSetModification:
    case kStampSetBoth: {
      PrepareTimestampBase(params, source, run, fs);
      if (!run.baseValid) return {};
      SYSTEMTIME when;
      const long long step = params.timeplus > 0 ? params.timeplus : 0;
      if (!AddSeconds(run.base, (row > 0 ? row : 0) * step, when)) return {};
      const wchar_t* label = params.creatmodif == kStampSetCreation       ? kLabelCreation
                             : params.creatmodif == kStampSetModification ? kLabelModification
                                                                          : kLabelBoth;
      return Describe(label, when);
    }
    case kStampCreationFromModification:
    case kStampModificationFromCreation:
      return DescribeCopy(params, source, fs);
    case kStampShiftCreation:
    case kStampShiftModification:
      PrepareTimestampBase(params, source, run, fs);
      return DescribeShift(params, run, source, fs);
    default:
      return {};
  }
}

int ApplyTimestamp(const std::wstring& source, const std::wstring& target, OldFileTimes* old, FileSystem& fs) {
  if (old) *old = OldFileTimes{};
  const size_t slash = target.find(L"\\<");
  if (slash == std::wstring::npos) return 0;
  const size_t open = slash + 1;
  const size_t date = open + 4;
  const int year = ReadDigits(target, date, 4);
  const int month = ReadDigits(target, date + 5, 2);
  const int day = ReadDigits(target, date + 8, 2);
  const int hour = ReadDigits(target, date + 11, 2);
  const int minute = ReadDigits(target, date + 14, 2);
  const int second = ReadDigits(target, date + 17, 2);
  if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) return 0;

  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(year);
  local.wMonth = static_cast<WORD>(month);
  local.wDay = static_cast<WORD>(day);
  local.wHour = static_cast<WORD>(hour);
  local.wMinute = static_cast<WORD>(minute);
  local.wSecond = static_cast<WORD>(second);
  FILETIME value;
  if (!LocalCalendarToFileTime(local, value)) {
    SetLastError(ERROR_INVALID_DATA);
    return 1;
  }

  // Only the description is searched: a folder may well be called 作成 or 更新.
  const std::wstring_view description = std::wstring_view(target).substr(open);
  int which = kTimesNone;
  if (description.find(kLabelCreation) != std::wstring_view::npos) which = kTimesCreation;
  if (description.find(kLabelModification) != std::wstring_view::npos) which = kTimesModification;
  if (description.find(kLabelBoth) != std::wstring_view::npos) which = kTimesBoth;
  return FileTimes(which, kTimesBoth, source, value, value, old, kItemUnknown, fs);
}

std::wstring DescribeAttributes(const AttributeChoices& choices) {
  const wchar_t* flags[4];
  for (size_t i = 0; i < 4; ++i) {
    flags[i] = choices[i] == kAttributeSet ? L"Y" : choices[i] == kAttributeClear ? L"N" : L"-";
  }
  return FormatText(L"<読：%s, 隠：%s, ア：%s, シ：%s>", flags[0], flags[1], flags[2], flags[3]);
}

int ApplyAttributes(const std::wstring& source, const std::wstring& target, AttributeFlags* oldFlags,
                    FileSystem& fs) {
  // Where the read-only, hidden, archive and system flags stand, counted back from the end.
  constexpr size_t kFromEnd[4] = {17, 12, 7, 2};
  AttributeChoices choices{kAttributeLeave, kAttributeLeave, kAttributeLeave, kAttributeLeave};
  for (size_t i = 0; i < 4; ++i) {
    if (target.size() < kFromEnd[i]) continue;
    const wchar_t flag = target[target.size() - kFromEnd[i]];
    if (flag == L'Y') choices[i] = kAttributeSet;
    if (flag == L'N') choices[i] = kAttributeClear;
  }
  return FileAttributes(choices, source, oldFlags, fs);
}

void TimestampTransform(const TransformContext& ctx, const std::wstring& source, int rowCounter,
                        std::wstring& target) {
  target.clear();
  if (!ctx.params) return;
  TimestampRun local;
  TimestampRun& run = ctx.timestampRun ? *ctx.timestampRun : local;
  target = DescribeTimestamp(*ctx.params, run, rowCounter, source, ctx.fs ? *ctx.fs : SystemFileSystem());
}

void AttributeTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  (void)source;
  target.clear();
  if (!ctx.params) return;
  target = DescribeAttributes(ctx.params->attributes);
}

}  // namespace korval
