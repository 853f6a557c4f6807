// Changing one row on disk: a rename (in two steps through a temporary name where the system needs
// it), or a time stamp or attribute change.
#pragma once

#include <windows.h>

#include <string>

#include "engine/file_attributes.h"
#include "engine/file_times.h"
#include "platform/file_system.h"

namespace korval {

struct RenameOneOptions {
  bool ntFamily = true;
  bool showRenameErrors = true;
};

// What the change left behind for the change log.
struct RenameOneResult {
  OldFileTimes oldTimes;
  AttributeFlags oldFlags{};
  DWORD error = 0;          // the system's error of a failed change
  std::wstring parkedAt;    // a failed two-step rename left the item under this temporary name
};

// A rename that puts the item back, or reports where it stays, when it cannot be completed.
bool RenameSafely(FileSystem& fs, const std::wstring& from, const std::wstring& to);

// Says that an item could not be moved back to its original name and where it is now.
inline constexpr const wchar_t* kStrandedCaption = L"Rename Failed.";
std::wstring StrandedText(const std::wstring& original, const std::wstring& current);
void ReportStranded(const std::wstring& original, const std::wstring& current);

// What became of one row's change.
enum class RenameOutcome {
  Changed,    // the item was changed; the change log gets its line
  Unchanged,  // there was nothing to do (a time stamp row without a date): it succeeds, unlogged
  Failed,     // it failed, and the user chose to go on (or was not asked)
  Abort,      // it failed and the user chose to stop the whole pass
};

// S the source path, T the target path (for modes 13 and 14: folder + description).
// A two-step rename whose second step fails moves the item back to S, so no file is ever left under
// its temporary name without being reported (and named in result->parkedAt).
RenameOutcome RenameOne(int mode, const std::wstring& source, const std::wstring& target,
                        const RenameOneOptions& options, FileSystem& fs, RenameOneResult* result = nullptr);

}  // namespace korval
