// Loading a change log into the list and reverting its changes.
#include "engine/undo.h"

#include "engine/path_existence.h"

#include <vector>

#include "engine/change_log.h"
#include "engine/checked_rename.h"
#include "engine/collision.h"
#include "engine/file_attributes.h"
#include "engine/file_times.h"
#include "engine/rename_one.h"
#include "engine/undo_preview.h"
#include "platform/digits.h"
#include "platform/full_path.h"

namespace korval {
namespace {

// Positions inside the second field of the time stamp and attribute lines.
constexpr size_t kCreationDateAt = 4;
constexpr size_t kModificationDateAt = 28;
constexpr size_t kLogDateLength = 19;  // YYYY/MM/DD hh:mm:ss
constexpr size_t kAttributeFlagsAt[4] = {3, 8, 13, 18};

enum class UndoKind { Rename = 1, Timestamp = 13, Attribute = 14 };

int Ask(const AskUser& ask, MessageKind kind, int modeOrFlags, const std::wstring& s1, const std::wstring& s2,
        MessageClass messageClass) {
  if (ask) return ask(kind, modeOrFlags, s1, s2, messageClass);
  if (kind != MessageKind::Plain) return IDYES;
  const UINT buttons = static_cast<UINT>(modeOrFlags) & MB_TYPEMASK;
  return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

void Report(const UndoProgress& progress, int percent) {
  if (progress) progress(percent);
}

bool DigitsAt(const std::wstring& text, size_t pos, size_t count, WORD& value) {
  int number = 0;
  if (!ReadFixedDigits(text, pos, count, number)) return false;
  value = static_cast<WORD>(number);
  return true;
}

// A "YYYY/MM/DD hh:mm:ss" at pos, local time, as a file time. The separators are not looked at.
bool ParseLogDate(const std::wstring& text, size_t pos, FILETIME& utc) {
  if (pos + kLogDateLength > text.size()) return false;
  SYSTEMTIME local{};
  const bool digits = DigitsAt(text, pos, 4, local.wYear) && DigitsAt(text, pos + 5, 2, local.wMonth) &&
                      DigitsAt(text, pos + 8, 2, local.wDay) && DigitsAt(text, pos + 11, 2, local.wHour) &&
                      DigitsAt(text, pos + 14, 2, local.wMinute) && DigitsAt(text, pos + 17, 2, local.wSecond);
  return digits && LocalCalendarToFileTime(local, utc);
}

bool RestoreTimes(const std::wstring& described, const std::wstring& path, FileSystem& fs) {
  FILETIME creation{}, modification{};
  if (!ParseLogDate(described, kCreationDateAt, creation) ||
      !ParseLogDate(described, kModificationDateAt, modification)) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  return FileTimes(kTimesBoth, kTimesNone, path, creation, modification, nullptr, kItemUnknown, fs) == 0;
}

bool RestoreAttributes(const std::wstring& described, const std::wstring& path, FileSystem& fs) {
  AttributeChoices choices{};
  for (size_t i = 0; i < choices.size(); ++i) {
    const size_t at = kAttributeFlagsAt[i];
    const wchar_t flag = at < described.size() ? described[at] : L'\0';
    choices[i] = flag == L'Y' ? kAttributeSet : flag == L'N' ? kAttributeClear : kAttributeLeave;
  }
  return FileAttributes(choices, path, nullptr, fs) == 0;
}

// Where an undo rename left the item.
enum class Restored { Done, Failed, Elsewhere };

// An item a two-step rename left under its temporary name (a run cut short, or a second step that
// could not be taken back) goes to target, or, when another item holds that name, to the first free
// serial variant of it; the user is told where it is then. Never left where it was found.
Restored BringBackParked(const std::wstring& temp, const std::wstring& target, FileSystem& fs, const AskUser& ask) {
  if (fs.Move(temp.c_str(), target.c_str())) return Restored::Done;
  const DWORD error = GetLastError();
  std::wstring free = target;
  LiveExistence live(fs);
  if (MakeSerialSuffixName(free, CollisionOptions{}, live) == 0 && fs.Move(temp.c_str(), free.c_str())) {
    Ask(ask, MessageKind::Plain, MB_OK | MB_ICONSTOP, kStrandedCaption, StrandedText(target, free), MessageClass::Error);
    return Restored::Elsewhere;
  }
  SetLastError(error);
  return Restored::Failed;
}

// Puts the item at current back to target. An item the run parked under a temporary name on its
// way to current comes first: whatever stands at current then is another item. An item an undo
// parked on its way to target is looked for when nothing is at current. parked lists the folders as
// the undo found them.
Restored RestoreName(const std::wstring& current, const std::wstring& target, bool ntFamily, FileSystem& fs,
                     FolderSnapshot& parked, const AskUser& ask) {
  // A path that is not full (a log of an older version, written as a relative folder was typed) would
  // name the items of whatever folder the undo starts from: it is refused, never guessed.
  if (!IsFullPath(current) || !IsFullPath(target)) {
    SetLastError(ERROR_INVALID_NAME);
    return Restored::Failed;
  }
  const std::wstring runTemp = TempName(current);
  if (runTemp != current && parked.Exists(runTemp)) {
    parked.Moved(runTemp, L"");
    const Restored result = BringBackParked(runTemp, target, fs, ask);
    // Gone since the folder was listed (an earlier row brought it back): the rename below is the way.
    if (result != Restored::Failed || GetLastError() != ERROR_FILE_NOT_FOUND) return result;
  }
  std::wstring parkedAt;
  if (RenameChecked(fs, current, target, !ntFamily, &parkedAt)) return Restored::Done;
  const DWORD error = GetLastError();
  if (!parkedAt.empty()) {
    Ask(ask, MessageKind::Plain, MB_OK | MB_ICONSTOP, kStrandedCaption, StrandedText(current, parkedAt),
        MessageClass::Error);
  } else if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && IsParked(fs, target)) {
    return BringBackParked(TempName(target), target, fs, ask);
  }
  SetLastError(error);
  return Restored::Failed;
}

enum class RowResult { Done, Failed, FailedAndStop, Stop };

// What became of the row, for the report when there is one.
void Note(ReportRow* report, RowOutcome outcome, std::wstring reason) {
  if (!report) return;
  report->outcome = outcome;
  report->reason = std::move(reason);
}

RowResult UndoRow(const RenameItem& row, const UndoOptions& options, FileSystem& fs, FolderSnapshot& parked,
                  const AskUser& ask, ReportRow* report) {
  const std::wstring current = PathFromUndoDisplay(row.oldName);
  const std::wstring target = PathFromUndoDisplay(row.newName);
  const std::wstring& tag = row.folder;

  UndoKind kind;
  if (tag == kTagRename) {
    kind = UndoKind::Rename;
  } else if (tag == kTagTimestamp) {
    kind = UndoKind::Timestamp;
  } else if (tag == kTagAttribute) {
    kind = UndoKind::Attribute;
  } else {
    // The program writes only the three tags; anything else is a format this version cannot revert.
    Ask(ask, MessageKind::Plain, MB_ICONEXCLAMATION, kUndoUnknownCaption, kUndoUnknownText, MessageClass::Error);
    Note(report, RowOutcome::Skipped, kUndoUnknownText);
    return RowResult::Stop;
  }

  bool ok = false;
  switch (kind) {
    case UndoKind::Rename:
      switch (RestoreName(current, target, options.ntFamily, fs, parked, ask)) {
        case Restored::Done: ok = true; break;
        case Restored::Elsewhere:  // the user was told where the item is
          Note(report, RowOutcome::Failed, kReasonUndoneElsewhere);
          return RowResult::Failed;
        case Restored::Failed: break;
      }
      break;
    case UndoKind::Timestamp: ok = IsFullPath(target) && RestoreTimes(current, target, fs); break;
    case UndoKind::Attribute: ok = IsFullPath(target) && RestoreAttributes(current, target, fs); break;
  }
  if (ok) {
    Note(report, RowOutcome::Changed, kReasonUndone);
    return RowResult::Done;
  }
  Note(report, RowOutcome::Failed, SystemErrorText(GetLastError()));

  const int answer = kind == UndoKind::Rename
                         ? Ask(ask, MessageKind::ChangeFailed, static_cast<int>(kind), current, target,
                               MessageClass::Error)
                         : Ask(ask, MessageKind::ChangeFailed, static_cast<int>(kind), target, L"", MessageClass::Error);
  return answer == IDNO ? RowResult::FailedAndStop : RowResult::Failed;
}

}  // namespace

UndoLoadResult LoadUndoList(RenameList& list, const std::wstring& folder, int slot, const AskUser& ask,
                            FileSystem& fs) {
  std::vector<unsigned char> bytes;
  const bool readable = !folder.empty() && slot >= kLogSlotWriting && slot <= kLogSlotOldest &&
                        ReadLogBytes(ChangeLogPath(folder, slot), bytes, fs);
  if (!readable) {
    Ask(ask, MessageKind::Plain, MB_ICONINFORMATION, kUndoCannotOpenCaption, kUndoCannotOpenText,
        MessageClass::Error);
    // Leaving undo mode drops its rows; a list of files the user was preparing is not touched.
    if (list.undoMode) {
      list.Clear();
      list.undoMode = false;
    }
    return UndoLoadResult::CannotOpen;
  }

  std::vector<ChangeLogEntry> entries = ParseChangeLog(DecodeLogText(bytes.data(), bytes.size()));
  bytes = {};
  list.Clear();
  list.Rows().reserve(entries.size());
  for (ChangeLogEntry& entry : entries) {
    RenameItem row;
    row.oldName = UndoDisplayForm(entry.after);
    row.extension = L" ";
    row.folder = std::move(entry.tag);
    row.newName = UndoDisplayForm(entry.before);
    row.status = ItemStatus::UndoEntry;
    list.Append(std::move(row));
  }
  list.undoMode = true;
  MarkUndoRows(list, fs);
  if (list.Empty()) {
    Ask(ask, MessageKind::Plain, MB_OK, kUndoEmptyCaption, kUndoEmptyText, MessageClass::Info);
    return UndoLoadResult::Empty;
  }
  return UndoLoadResult::Loaded;
}

ReportRow UndoReportRow(const RenameItem& row, const wchar_t* reason) {
  const std::wstring current = PathFromUndoDisplay(row.oldName);
  const std::wstring target = PathFromUndoDisplay(row.newName);
  const bool rename = row.folder == kTagRename;
  const std::wstring& path = rename ? current : target;
  const size_t nameStart = path.find_last_of(L'\\') + 1;  // 0 when there is no folder
  ReportRow r;
  r.folder = path.substr(0, nameStart);
  r.oldName = path.substr(nameStart);
  r.newName = rename ? target.substr(target.find_last_of(L'\\') + 1) : current;
  r.outcome = RowOutcome::Skipped;
  r.reason = reason;
  return r;
}

UndoOutcome RunUndo(RenameList& list, bool go, const UndoOptions& options, FileSystem& fs, const AskUser& ask,
                    const UndoProgress& progress, std::vector<ReportRow>* record) {
  UndoOutcome outcome;
  if (record) {
    record->clear();
    for (const RenameItem& row : list.Rows()) record->push_back(UndoReportRow(row, kReasonNotReached));
  }
  Report(progress, 100);
  const size_t count = list.Count();
  if (go && count > 0 && (options.chgconfirm == 1 || options.chgconfirm == 2)) {
    if (Ask(ask, MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, kUndoConfirmCaption, kUndoConfirmText,
            MessageClass::Question) != IDYES) {
      outcome.stopped = true;
    }
  }
  FolderSnapshot parked(fs);
  // Backwards: the last change is reverted first, so a chain a -> b -> c goes back c -> b -> a.
  for (size_t left = go ? count : 0; left > 0 && !outcome.stopped; --left) {
    const size_t row = left - 1;
    if (row >= list.Count()) break;
    ReportRow* report = record && row < record->size() ? &(*record)[row] : nullptr;
    switch (UndoRow(list.Row(row), options, fs, parked, ask, report)) {
      case RowResult::Done: ++outcome.undone; break;
      case RowResult::Failed: ++outcome.failed; break;
      case RowResult::FailedAndStop:
        ++outcome.failed;
        outcome.stopped = true;
        break;
      case RowResult::Stop: outcome.stopped = true; break;
    }
    if (outcome.stopped) break;
    list.Erase(row);
    Report(progress, static_cast<int>(row * 100 / count));
  }
  list.Clear();
  list.undoMode = false;
  Report(progress, 0);
  return outcome;
}

}  // namespace korval
