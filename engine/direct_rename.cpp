// The end of an in-place edit.
#include "engine/direct_rename.h"

#include "engine/change_log.h"
#include "engine/execute_changes.h"
#include "engine/list_filter.h"
#include "engine/name_refusal.h"
#include "engine/rename_one.h"
#include "engine/show_message.h"
#include "platform/format_text.h"
#include "platform/long_paths.h"
#include "platform/path_limits.h"

namespace korval {

bool CanStartDirectRename(const RenameList& list, size_t row) { return !list.undoMode && row < list.Count(); }

bool FinishDirectRename(RenameList& list, size_t row, const std::wstring& edited, FileSystem& fs,
                        const std::wstring& filterText, const std::wstring& logFolder) {
  if (!CanStartDirectRename(list, row)) return false;
  RenameItem& item = list.Row(row);
  // A path of 260 or more is made only where the system takes long paths; a name never exceeds 255.
  const size_t pathLength = item.folder.size() + edited.size();
  if (edited.size() > kMaxNameChars || pathLength > kMaxLongPathChars ||
      (pathLength >= kPathBuffer && !SystemTakesLongPaths())) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, L"Too Long", L"ファイル名が長すぎます。",
                MessageClass::Error);
    return false;
  }
  if (edited == item.oldName) return false;
  // A name Windows refuses (or would silently change) is never attempted: the file system of the
  // moment may take it, but no other program could use it.
  if (edited.empty() || edited.find_first_of(L"\"/:?<>|\\*") != std::wstring::npos || RefusedNameReason(edited)) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, L"Rename Failed.", L"ファイル名を変更できませんでした。",
                MessageClass::Error);
    return false;
  }
  const std::wstring question =
      FormatText(L"%s → %s\n\n直接リネームの場合はUnDoできません。リネームしてよろしいですか。", item.oldName.c_str(),
                 edited.c_str());
  if (ShowMessage(MessageKind::Plain, MB_OKCANCEL | MB_ICONINFORMATION, L"Rename it now?", question,
                  MessageClass::Question) != IDOK) {
    return false;
  }
  ChangeLog log(fs);
  const std::wstring source = item.folder + item.oldName, target = item.folder + edited;
  if (!logFolder.empty() && !log.Open(logFolder) &&
      ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, kLogCreateFailedCaption, kLogCreateFailedText,
                  MessageClass::Question) != IDYES) {
    return false;
  }
  // The line goes first: a rename the log does not know of could not be undone.
  const bool logged = !log.IsOpen() || log.AppendRename(source, target);
  if (!logged || !RenameSafely(fs, source, target)) {
    if (logged && log.IsOpen()) log.TakeBackLastLine();
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, L"Rename Failed.", L"ファイル名を変更できませんでした。",
                MessageClass::Error);
    return false;
  }
  item.oldName = edited;
  const size_t dot = edited.rfind(L'.');
  item.extension = dot == std::wstring::npos ? std::wstring() : edited.substr(dot);
  ApplyFilter(list, FilterKind::ChangedOnly, filterText);
  return true;
}

}  // namespace korval
