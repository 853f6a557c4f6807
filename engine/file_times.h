// Reading and setting the creation and modification times of one file or folder, with the old
// times reported (also as local calendar values) so that the change log can undo the change.
#pragma once

#include <windows.h>

#include <string>

#include "platform/file_system.h"

namespace korval {

// Which times to set or report.
enum TimeSelection : int { kTimesNone = 0, kTimesCreation = 1, kTimesModification = 2, kTimesBoth = 3 };

// The folder flag of FileTimes: what the caller knows about the item.
enum ItemKindFlag : int { kItemFile = 0, kItemFolder = 1, kItemUnknown = -1 };

// The times an item had before a change.
struct OldFileTimes {
  int reported = kTimesNone;  // which of the values below were read
  FILETIME creation{};        // as the file system keeps them (UTC)
  FILETIME modification{};
  SYSTEMTIME localCreation{};  // the same as local calendar values, as the change log writes them
  SYSTEMTIME localModification{};
};

// Sets the times chosen by setWhat to creation / modification (UTC) after reading the times chosen by
// reportWhat into old (when given; a reportWhat outside 0..3 reports nothing). A read-only item loses
// that attribute for the change and gets it back afterwards, whether the change worked or not.
// folderFlag: 1 folder, 0 file, anything else unknown (then the path's kind is looked up, which also
// settles whether anything is there). Files and folders are opened alike by the seam (folders with
// backup semantics), so the flag spares a lookup and changes nothing else.
// Returns 0 on success; 1 when nothing is at the path, the path holds wildcards, setWhat is not 0..3,
// a time to set is one the system reads as "leave it" (0, the first moment of 1601 UTC, or all ones),
// the read-only attribute cannot be cleared, or reading or setting the times fails.
int FileTimes(int setWhat, int reportWhat, const std::wstring& path, const FILETIME& creation,
              const FILETIME& modification, OldFileTimes* old, int folderFlag,
              FileSystem& fs = SystemFileSystem());

// The sign of b - a, comparing two calendar values to the second (milliseconds and the day of the week
// are not looked at): 1 when b is later, -1 when it is earlier, 0 when they agree.
int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b);

// A file time (UTC) as a local calendar value, and back; false when the value cannot be converted
// (a calendar value that is no real date or time, or one outside the range of file times).
bool FileTimeToLocalCalendar(const FILETIME& utc, SYSTEMTIME& local);
// A calendar value that is a real date and time of the years file times cover (1601..30827): the day
// exists in its month, hours 0..23, minutes and seconds 0..59. Checked here because not every
// system's conversion refuses a 29 February of a common year.
bool IsRealCalendarValue(const SYSTEMTIME& value);
bool LocalCalendarToFileTime(const SYSTEMTIME& local, FILETIME& utc);

}  // namespace korval
