// Changing one row in a pass: whether it is changed, the change with its log line, and what becomes
// of the row afterwards.
#include "engine/execute_pass.h"

#include "engine/file_attributes.h"
#include "engine/file_times.h"
#include "engine/name_arrival.h"
#include "engine/show_message.h"
#include "engine/validate_row.h"
#include "modes/change_mode.h"
#include "platform/format_text.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

// Rows with these statuses are left alone unless the matching force option says otherwise.
bool Skipped(ItemStatus status, const ExecuteOptions& o) {
  switch (status) {
    case ItemStatus::Filtered: return true;
    case ItemStatus::TooLong:
    case ItemStatus::InvalidName:
    case ItemStatus::SourceMissing: return !o.force1;
    case ItemStatus::Backslash: return !o.force2;
    case ItemStatus::UnsuitableChar: return !o.force3;
    case ItemStatus::Unchanged: return !o.force4;
    default: return false;
  }
}

// A row left alone that has nothing to change: its name is already the new one, or the condition of
// a time stamp copy holds the change back.
bool NothingToChange(const RenameItem& row, int mode) {
  return row.status == ItemStatus::Unchanged || (mode == kModeTimestamp && row.newName == kTimestampUnchanged);
}

// Whether target names the reserved path, in any letter case.
bool TakesReservedPath(const std::wstring& reserved, const std::wstring& target) {
  return !reserved.empty() && reserved.size() == target.size() && FileSystemKey(reserved) == FileSystemKey(target);
}

// When folders are listed with everything below them, the rows inside a renamed folder follow it.
void MoveRowsBelow(RenameList& list, const std::wstring& source, const std::wstring& target) {
  const std::wstring inside = source + L"\\";
  for (RenameItem& row : list.Rows()) {
    const std::wstring folder = row.folder + L"\\";
    const size_t at = folder.find(inside);
    if (at != std::wstring::npos) row.folder = CutToPath(row.folder.replace(at, source.size(), target));
  }
}

// After a time stamp change the date column shows the new time, when it shows the time that was set.
void RefreshDateColumn(RenameItem& row, const ExecuteOptions& o, const std::wstring& path, FileSystem& fs) {
  if (!o.dateColumnShown || o.columndate == 2) return;
  OldFileTimes times;
  if (FileTimes(kTimesNone, kTimesBoth, path, {}, {}, &times, 2, fs) != 0) return;
  const SYSTEMTIME& t = o.columndate == 1 ? times.localModification : times.localCreation;
  row.date = FormatText(L"%4d/%02d/%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

// A time stamp or attribute change is logged after it happened (its line holds what it replaced);
// when the line cannot be written the change is taken back, so the log never misses one. False then,
// and the pass stops.
bool LogChangeAfter(ChangeLog& log, int mode, const std::wstring& source, const RenameOneResult& result,
                    FileSystem& fs) {
  if (!log.IsOpen()) return true;
  if (mode == kModeTimestamp) {
    if (log.AppendTimestamp(source, result.oldTimes)) return true;
    FileTimes(kTimesBoth, kTimesNone, source, result.oldTimes.creation, result.oldTimes.modification, nullptr, 2, fs);
  } else {
    if (log.AppendAttributes(source, result.oldFlags)) return true;
    AttributeChoices previous{};
    for (size_t k = 0; k < previous.size(); ++k) previous[k] = result.oldFlags[k] == L'Y' ? 1 : 0;
    FileAttributes(previous, source, nullptr, fs);
  }
  return false;
}

// The log could not take a line: nothing more is changed in this pass, since it could not be undone.
void StopForLog(Pass& s) {
  s.logBroken = true;
  s.rowReason = kLogWriteFailedText;
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kLogWriteFailedCaption, kLogWriteFailedText,
              MessageClass::Error);
}

// The system took the rename but gave the item another name (platform limits it never told of). The
// row failed: the item is put back and the line taken back; an item that could not be put back is
// logged where it is, so the undo finds it, and the user is told.
RowEnd NameNotKept(Pass& s, const ArrivalResult& arrival, const std::wstring& source, bool logged) {
  s.rowFailed = true;
  s.rowError = ERROR_FILENAME_EXCED_RANGE;
  switch (arrival.arrival) {
    case Arrival::AsAsked: return RowEnd::Changed;
    case Arrival::PutBack:
      s.rowFailReason = kReasonNamePutBack;
      if (logged && !s.log.TakeBackLastLine()) {
        StopForLog(s);
        return RowEnd::StopAfterFailure;
      }
      return RowEnd::NotChanged;
    case Arrival::Elsewhere:
      s.rowFailReason = FormatText(kReasonNameCutTo, arrival.at.substr(arrival.at.find_last_of(L'\\') + 1).c_str());
      s.snapshot.Moved(source, arrival.at);
      ReportStranded(source, arrival.at);
      if (logged && !(s.log.TakeBackLastLine() && s.log.AppendRename(source, arrival.at))) {
        StopForLog(s);
        return RowEnd::StopAfterFailure;
      }
      return RowEnd::NotChanged;
    case Arrival::Lost: s.rowFailReason = kReasonNameLost; return RowEnd::NotChanged;
  }
  return RowEnd::NotChanged;
}

// A rename's line is written before the rename and taken back when the rename does not happen: an
// interruption between the two leaves a line without a change (which the undo passes over), never
// a change without its line. A failed two-step rename whose item stays under its temporary name
// keeps its line, so that the undo finds the item there.
RowEnd LoggedChange(Pass& s, const std::wstring& source, const std::wstring& target) {
  const bool logFirst = s.log.IsOpen() && IsNameMode(s.mode);
  if (logFirst && !s.log.AppendRename(source, target)) {
    StopForLog(s);
    return RowEnd::StopAfterFailure;
  }
  RenameOneResult result;
  const RenameOutcome outcome = RenameOne(s.mode, source, target, s.renameOptions, s.fs, &result);
  if (logFirst && outcome != RenameOutcome::Changed && result.parkedAt.empty() && !s.log.TakeBackLastLine()) {
    StopForLog(s);
    return RowEnd::StopAfterFailure;
  }
  s.rowFailed = outcome == RenameOutcome::Failed || outcome == RenameOutcome::Abort;
  s.rowError = result.error;
  switch (outcome) {
    case RenameOutcome::Unchanged: s.rowUnchanged = true; return RowEnd::Changed;
    case RenameOutcome::Failed: return RowEnd::NotChanged;
    case RenameOutcome::Abort: return RowEnd::StopAfterFailure;
    case RenameOutcome::Changed: break;
  }
  if (IsNameMode(s.mode)) {
    const ArrivalResult arrival = CheckArrival(s.fs, s.snapshot, source, target);
    if (arrival.arrival != Arrival::AsAsked) return NameNotKept(s, arrival, source, logFirst);
  }
  if (!logFirst && !LogChangeAfter(s.log, s.mode, source, result, s.fs)) {
    StopForLog(s);
    return RowEnd::StopAfterFailure;
  }
  return RowEnd::Changed;
}

}  // namespace

RowEnd ExecuteRow(Pass& s, size_t p, const std::wstring& source, std::wstring& target) {
  RenameItem& row = s.list.Row(p);
  s.rowReason.clear();
  s.rowError = 0;
  s.rowFailReason.clear();
  s.rowFailed = s.rowUnchanged = false;
  // A name the cut regular expression never worked out is not a name to change to, even when rows
  // with errors are forced.
  if (row.cutOff) {
    s.rowReason = kReasonRegexCutOff;
    return RowEnd::NotChanged;
  }
  if (row.missingTag != 0) {
    s.rowReason = MissingTagReason(static_cast<Tag>(row.missingTag - 1));
    return RowEnd::NotChanged;
  }
  if (Skipped(row.status, s.o)) return NothingToChange(row, s.mode) ? RowEnd::NothingToDo : RowEnd::Skipped;
  // Even when told to force rows with errors, a path the system cannot take is never tried.
  if (IsNameMode(s.mode) && target.size() > (s.o.longPaths ? kMaxLongPathChars : kMaxPathChars)) {
    s.rowReason = StatusReason(ItemStatus::TooLong, L"");
    return RowEnd::NotChanged;
  }
  if (IsNameMode(s.mode) && TakesReservedPath(s.c.reservedPath, target)) {
    s.rowReason = kReasonReportPath;
    return RowEnd::NotChanged;
  }
  CollisionEntry collision;
  if (ValidateRow(s.list, p, s.mode, false, s.snapshot, s.o.longPaths) == ItemStatus::TargetExists) {
    s.rowReason = StatusReason(ItemStatus::TargetExists, L"");
    collision.wanted = target;
    collision.row = static_cast<int>(p);
    if (!AddsSerialOnCollision(s.o.collisionOption) ||
        MakeSerialSuffixName(target, s.collisionOptions, s.snapshot) != 0) {
      return RowEnd::NotChanged;
    }
    collision.serial = target;
  }
  if (!CurrentMessagePolicy().automatic && s.o.chgconfirm == 2) {
    const int answer = ShowMessage(MessageKind::ConfirmChange, s.mode, source, target, MessageClass::Question);
    if (answer == IDCANCEL) return RowEnd::StopPass;
    if (answer != IDYES) return RowEnd::NotChanged;
  }
  const RowEnd end = LoggedChange(s, source, target);
  if (end != RowEnd::Changed || !IsNameMode(s.mode)) return end;
  s.snapshot.Moved(source, target);
  if (!collision.serial.empty()) {
    s.collisions.push_back(collision);
    ++s.report.serialRows;
  }
  if (s.o.filefolder == 1 && s.o.folderread == 2) MoveRowsBelow(s.list, source, target);
  return end;
}

bool SettleRow(Pass& s, RenameItem& row, bool changed, bool filtered, const std::wstring& source,
               const std::wstring& target) {
  switch (s.after) {
    case ListAfterRun::ClearAll: return true;
    case ListAfterRun::ClearSucceeded: return changed;
    case ListAfterRun::Keep:
    case ListAfterRun::Continue:
      if (changed) {
        row.status = ItemStatus::Succeeded;
        if (s.after == ListAfterRun::Continue) {
          MakeFreshRow(row, IsNameMode(s.mode) ? target : source);
          if (s.mode == kModeTimestamp) RefreshDateColumn(row, s.o, source, s.fs);
        }
      } else if (!filtered) {
        row.status = ItemStatus::Failed;
      }
      return false;
  }
  return false;
}

}  // namespace korval
