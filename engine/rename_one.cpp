// The change of one row.
#include "engine/rename_one.h"

#include <windows.h>

#include "engine/checked_rename.h"
#include "engine/path_existence.h"
#include "engine/show_message.h"
#include "engine/timestamp_mode.h"
#include "modes/change_mode.h"
#include "modes/string_helpers.h"
#include "platform/format_text.h"

namespace korval {
namespace {

std::wstring NamePart(const std::wstring& path) {
  const PathParts parts = SplitPath(path);
  return parts.stem + parts.extension;
}

// Renames the system may take for no change at all: onto the item's own 8.3 alias, every rename of
// the 8.3 mode, and the letter case mode on the 9x family.
bool NeedsTwoSteps(int mode, bool ntFamily, const std::wstring& source, const std::wstring& target, FileSystem& fs) {
  return mode == kModeShortName || (mode == kModeLetterCase && !ntFamily) || IsOwnShortName(source, target, fs);
}

// Asks whether to go on after a failure: Abort when the user says No.
RenameOutcome AskContinue(int mode, const std::wstring& s1, const std::wstring& s2, const RenameOneOptions& options) {
  if (!options.showRenameErrors) return RenameOutcome::Failed;
  return ShowMessage(MessageKind::ChangeFailed, mode, s1, s2,
                     MessageClass::Error) == IDNO
             ? RenameOutcome::Abort
             : RenameOutcome::Failed;
}

}  // namespace

bool RenameSafely(FileSystem& fs, const std::wstring& from, const std::wstring& to) {
  std::wstring parkedAt;
  if (RenameChecked(fs, from, to, false, &parkedAt)) return true;
  if (!parkedAt.empty()) ReportStranded(from, parkedAt);
  return false;
}

std::wstring StrandedText(const std::wstring& original, const std::wstring& current) {
  return FormatText(L"\"%s\" を元の名前に戻せませんでした。\n\n現在の名前は \"%s\" です。", original.c_str(),
                    current.c_str());
}

void ReportStranded(const std::wstring& original, const std::wstring& current) {
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kStrandedCaption, StrandedText(original, current),
              MessageClass::Error);
}

RenameOutcome RenameOne(int mode, const std::wstring& source, const std::wstring& target,
                        const RenameOneOptions& options, FileSystem& fs, RenameOneResult* result) {
  RenameOneResult local;
  RenameOneResult& out = result ? *result : local;

  if (mode == kModeTimestamp || mode == kModeAttribute) {
    const int failed = mode == kModeTimestamp ? ApplyTimestamp(source, target, &out.oldTimes, fs)
                                              : ApplyAttributes(source, target, &out.oldFlags, fs);
    // A description without a date (such as "** 変更されません **") reads and sets nothing.
    if (failed == 0) {
      return mode == kModeTimestamp && out.oldTimes.reported == kTimesNone ? RenameOutcome::Unchanged
                                                                            : RenameOutcome::Changed;
    }
    out.error = GetLastError();
    return AskContinue(mode, source, L"", options);
  }

  if (RenameChecked(fs, source, target, NeedsTwoSteps(mode, options.ntFamily, source, target, fs), &out.parkedAt)) {
    return RenameOutcome::Changed;
  }
  out.error = GetLastError();
  if (!out.parkedAt.empty()) ReportStranded(source, out.parkedAt);
  SetLastError(out.error);
  return AskContinue(mode, NamePart(source), NamePart(target), options);
}

}  // namespace korval
