// Dates and times in names: the creation, modification or capture time of each item, formatted by a
// fixed or typed pattern and placed before, behind or instead of the name.
#pragma once

#include <windows.h>

#include <string>

#include "modes/mode_params.h"
#include "modes/transform_context.h"

namespace korval {

// The calendar record shared by the rows of one run; reset (year 0) when a preview run starts. Every
// row overwrites it before its date is formatted.
struct DateRun {
  SYSTEMTIME record{};
  void Reset() { record = SYSTEMTIME{}; }
};

// `whichdate`
enum DateSource : int { kDateCreated = 0, kDateModified = 1, kDateCaptured = 2, kDateCapturedOrCreated = 3 };
inline constexpr int kTypedDatePattern = -1;  // `datefrom` when the pattern is typed into `ymdform`

// Labels of the choices of the mode panel's boxes, by value.
inline constexpr const wchar_t* kDateSourceLabels[4] = {L"作成日時", L"更新日時", L"撮影日時", L"撮影 or 作成"};
inline constexpr const wchar_t* kDatePatternLabels[9] = {
    L"YYYY〓MM〓DD〓hh〓mm〓ss", L"YYYYMMDD〓hhmmss", L"YYYY〓MM〓DD〓hh〓mm", L"YYYYMMDD〓hhmm", L"YYYY〓MM〓DD",
    L"YYYYMMDDhhmmss",          L"YYYYMMDDhhmm",    L"YYYYMMDD",            L"MMDD"};
inline constexpr const wchar_t* kDatePlacementLabels[5] = {L"新規の名前", L"先頭に追加", L"後ろに追加",
                                                           L"先頭に追加＋〓", L"〓＋後ろに追加"};

// The `DateTime` transform. Reads whichdate, datefrom, ymdform, sepstr, dateins and addyymmdd. The
// file times come from ctx.fs for ctx.itemPath (or the source path when that is empty); a missing
// item gives an empty target. With "撮影日時" and no capture time the target is the source path.
void DateTimeTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

// The date as it goes into the name: fixed pattern datefrom 0..8, or the typed pattern in ymdform
// for -1; "〓" stands for sepstr, and with addyymmdd the units 年月日時分秒 follow the numbers.
std::wstring FormatDateForName(const SYSTEMTIME& time, const ModeParams& params);

// A file time (UTC) as a local calendar record; false when the time cannot be converted.
bool FileTimeToLocalRecord(const FILETIME& fileTime, SYSTEMTIME& record);

}  // namespace korval
