// One rename on disk that never loses an item: a change of letter case only is tried directly and its
// result checked; where the system keeps the old spelling, or the caller asks for it, the item goes
// through a temporary name and is moved back when the second step fails. The temporary name follows
// from the target alone, so the undo can find an item an interrupted run left there.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace korval {

// The temporary name for target: target + "$korval$.$" when that stays within the path limit;
// otherwise the last characters of the name give way to "$k$", so it is never longer than target.
std::wstring TempName(const std::wstring& target);

// Renames from to to without ever replacing an existing item (MoveFileW refuses it). twoSteps forces
// the way through the temporary name (8.3 names, the 9x family). The way through the temporary name
// is not taken when another item of the folder carries from's name in another letter case (it could
// not come back): ERROR_ALREADY_EXISTS. False with the system's error when nothing was renamed; when
// the item could not be moved back from the temporary name, parkedAt (if given) receives that name.
bool RenameChecked(FileSystem& fs, const std::wstring& from, const std::wstring& to, bool twoSteps,
                   std::wstring* parkedAt = nullptr);

// Whether an item waits under TempName(parkedFor): a two-step rename towards parkedFor was cut short.
bool IsParked(FileSystem& fs, const std::wstring& parkedFor);

}  // namespace korval
