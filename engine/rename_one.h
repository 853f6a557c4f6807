// Changing one row on disk: a rename (in two steps through a temporary name where the system needs
// it), or a time stamp or attribute change.
#pragma once

#include <string>

#include "engine/file_attributes.h"
#include "engine/file_times.h"
#include "platform/file_system.h"

namespace korval {

// The temporary name of a two-step rename, from the target path and its folder.
std::wstring TempName(const std::wstring& target, const std::wstring& folder);

struct RenameOneOptions {
  bool ntFamily = true;
  bool showRenameErrors = true;
  void* owner = nullptr;  // the window that owns the questions (HWND)
};

// What the change left behind for the change log.
struct RenameOneResult {
  OldFileTimes oldTimes;
  AttributeFlags oldFlags{};
};

// A plain rename; one that only changes letter case goes through a temporary name (a direct one is
// a silent no-op under Wine), and is put back when its second step fails.
bool RenameSafely(FileSystem& fs, const std::wstring& from, const std::wstring& to);

// Says that an item could not be moved back to its original name and where it is now.
void ReportStranded(void* owner, const std::wstring& original, const std::wstring& current);

// S the source path, T the target path (for modes 13 and 14: folder + description), Q the
// temporary name. Returns 0 changed, 1 failed (or declined after a failure), 2 abort the whole pass.
// A two-step rename whose second step fails moves the item back to S, so no file is ever left under
// its temporary name without being reported.
int RenameOne(int mode, const std::wstring& source, const std::wstring& target, const std::wstring& temp,
              const RenameOneOptions& options, FileSystem& fs, RenameOneResult* result = nullptr);

}  // namespace korval
