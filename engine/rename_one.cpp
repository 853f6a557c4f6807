// The change of one row.
#include "engine/rename_one.h"

#include <windows.h>

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

bool NeedsTwoSteps(int mode, bool ntFamily, const std::wstring& source, const std::wstring& target, FileSystem& fs) {
  return mode == kModeShortName || (mode == kModeLetterCase && !ntFamily) || IsCaseOnlyChange(source, target) ||
         IsOwnShortName(source, target, fs);
}

// Asks whether to go on after a failure; false when the user says No.
bool AskContinue(int mode, const std::wstring& s1, const std::wstring& s2, const RenameOneOptions& options) {
  if (!options.showRenameErrors) return true;
  return ShowMessage(static_cast<HWND>(options.owner), MessageKind::ChangeFailed, mode, s1, s2,
                     MessageClass::Error) != IDNO;
}

}  // namespace

bool RenameSafely(FileSystem& fs, const std::wstring& from, const std::wstring& to) {
  if (!IsCaseOnlyChange(from, to)) return fs.Move(from.c_str(), to.c_str());
  const std::wstring temp = to + L"$korval$.$";
  if (!fs.Move(from.c_str(), temp.c_str())) return false;
  if (fs.Move(temp.c_str(), to.c_str())) return true;
  const DWORD error = GetLastError();
  fs.Move(temp.c_str(), from.c_str());
  SetLastError(error);
  return false;
}

void ReportStranded(void* owner, const std::wstring& original, const std::wstring& current) {
  ShowMessage(static_cast<HWND>(owner), MessageKind::Plain, MB_OK | MB_ICONSTOP, L"Rename Failed.",
              FormatText(L"\"%s\" を元の名前に戻せませんでした。\n\n現在の名前は \"%s\" です。", original.c_str(),
                         current.c_str()),
              MessageClass::Error);
}

std::wstring TempName(const std::wstring& target, const std::wstring& folder) {
  if (target.size() < 249) return target + L"$korval$.$";
  if (target.size() < 254) return folder + L".$k_$";
  return folder;
}

int RenameOne(int mode, const std::wstring& source, const std::wstring& target, const std::wstring& temp,
              const RenameOneOptions& options, FileSystem& fs, RenameOneResult* result) {
  RenameOneResult local;
  RenameOneResult& out = result ? *result : local;

  if (mode == kModeTimestamp || mode == kModeAttribute) {
    const int failed = mode == kModeTimestamp ? ApplyTimestamp(source, target, &out.oldTimes, fs)
                                              : ApplyAttributes(source, target, &out.oldFlags, fs);
    if (failed == 0) return 0;
    return AskContinue(mode, source, L"", options) ? 1 : 2;
  }

  if (!NeedsTwoSteps(mode, options.ntFamily, source, target, fs)) {
    if (fs.Move(source.c_str(), target.c_str())) return 0;
    return AskContinue(mode, NamePart(source), NamePart(target), options) ? 1 : 2;
  }

  if (!fs.Move(source.c_str(), temp.c_str())) {
    return AskContinue(mode, NamePart(source), NamePart(target), options) ? 1 : 2;
  }
  if (fs.Move(temp.c_str(), target.c_str())) return 0;
  // The second step failed: put the item back where it was, so it never stays under the temporary name.
  const DWORD error = GetLastError();
  if (!fs.Move(temp.c_str(), source.c_str())) ReportStranded(options.owner, source, temp);
  SetLastError(error);
  return AskContinue(mode, NamePart(source), NamePart(target), options) ? 1 : 2;
}

}  // namespace korval
