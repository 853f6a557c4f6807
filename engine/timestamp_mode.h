// The time stamp mode (13) and the attribute mode (14): the preview writes a description of the change
// into the row's new name field; the execution reads that description back and applies it.
#pragma once

#include <windows.h>

#include <string>

#include "engine/file_attributes.h"
#include "engine/file_times.h"
#include "modes/mode_params.h"
#include "modes/transform_context.h"
#include "platform/file_system.h"

namespace korval {

// The time stamp selections (creatmodif).
enum TimestampSelection : int {
  kStampSetCreation = 0,
  kStampSetModification = 1,
  kStampSetBoth = 2,
  kStampCreationFromModification = 3,
  kStampModificationFromCreation = 4,
  kStampShiftCreation = 5,
  kStampShiftModification = 6,
};

// The condition of selections 3 and 4 (timestpsm).
enum TimestampCondition : int { kCopyAlways = 0, kCopyIfLater = 1, kCopyIfEarlier = 2 };

// The direction of selections 5 and 6 (fwdback).
enum ShiftDirection : int { kShiftEarlier = 0, kShiftLater = 1 };

inline constexpr const wchar_t* kTimestampUnchanged = L"** 変更されません **";

// The base time of one pass, read from the pickers at the first row that needs it.
struct TimestampRun {
  bool started = false;    // the pickers were read in this pass
  bool baseValid = false;  // base holds a real date and time
  bool timeValid = false;  // the time text was readable (selections 5 and 6 need only that)
  SYSTEMTIME base{};       // local; seconds rounded down to even on a FAT volume
  long long timeOfDay = 0; // seconds since midnight of the base
};

// Reads the base from baseDate ("yyyy/MM/dd") and baseTime ("HH:mm:ss") once per run: nothing happens
// when run.started is set. The volume of source decides the FAT rounding.
void PrepareTimestampBase(const ModeParams& params, const std::wstring& source, TimestampRun& run,
                          FileSystem& fs = SystemFileSystem());

// The description of the time stamp change of the row with counter row (the rows that are not
// Filtered, from 0 in list order) and source path source. Empty when it cannot be made (the times
// cannot be read, the base is no real date, the result leaves the years 1601..9999).
std::wstring DescribeTimestamp(const ModeParams& params, TimestampRun& run, int row, const std::wstring& source,
                               FileSystem& fs = SystemFileSystem());

// Applies a time stamp description. target is the row's folder followed by the description; a target
// without "\<", or whose date is not made of digits, is left alone (0, nothing reported). A date that
// is no real date or time fails. The times before the change are reported into old (both of them).
int ApplyTimestamp(const std::wstring& source, const std::wstring& target, OldFileTimes* old,
                   FileSystem& fs = SystemFileSystem());

// "<読：Y, 隠：N, ア：-, シ：->" for the four choices (1 "Y", 0 "N", anything else "-").
std::wstring DescribeAttributes(const AttributeChoices& choices);

// Applies an attribute description (the flags 17, 12, 7 and 2 characters before the end of target;
// any character but 'Y' and 'N' leaves its attribute). The attributes before it go into oldFlags.
int ApplyAttributes(const std::wstring& source, const std::wstring& target, AttributeFlags* oldFlags,
                    FileSystem& fs = SystemFileSystem());

// Entry points of the mode dispatcher; the target is the description itself. Without a run record in
// the context the base is read for this row alone.
void TimestampTransform(const TransformContext& ctx, const std::wstring& source, int rowCounter,
                        std::wstring& target);
void AttributeTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

}  // namespace korval
