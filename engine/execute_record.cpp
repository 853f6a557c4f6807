// The record of an execution: one row of the report per row of the list, in list order.
#include "engine/execute_pass.h"
#include "engine/transform_name.h"
#include "modes/change_mode.h"

namespace korval {
namespace {

std::wstring ChangedReason(const Pass& s, ItemStatus status) {
  // A plan says what the preview found, or how the pass makes the change possible; a run says that
  // the change was made.
  if (!s.c.record->plan) return StatusReason(ItemStatus::Succeeded, L"");
  if (status == ItemStatus::TargetExists) return kReasonTargetFreedFirst;
  return StatusReason(status, L"");
}

std::wstring NameBehindFolder(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

}  // namespace

void RecordRow(Pass& s, size_t p, const RenameItem& row, RowEnd end, const std::wstring& source,
               const std::wstring& target) {
  if (!s.c.record) return;
  std::vector<ReportRow>& rows = s.c.record->rows;
  if (rows.size() != p) return;  // rows are recorded in list order, each once
  if (row.status == ItemStatus::Filtered) {
    rows.push_back(RowNotDone(row, L""));
    return;
  }
  ReportRow r;
  r.oldName = row.oldName;
  r.folder = row.folder;
  const bool nameMode = IsNameMode(s.mode);
  if (nameMode) {
    AssignNameBehindFolder(r.newName, target, row.folder);
  } else {
    r.newName = row.newName;
  }
  switch (end) {
    case RowEnd::Changed:
      if (s.rowUnchanged || source == target) {
        r.outcome = RowOutcome::Unchanged;
        r.reason = nameMode ? StatusReason(ItemStatus::Unchanged, L"") : row.newName;
      } else {
        r.outcome = RowOutcome::Changed;
        const bool serial = nameMode && r.newName != row.newName;
        r.reason = serial ? kReasonSerialAdded : ChangedReason(s, row.status);
        if (s.report.unlogged) r.reason += kReasonUnlogged;
      }
      break;
    case RowEnd::NotChanged:
      if (s.rowFailed) {
        r.outcome = RowOutcome::Failed;
        r.reason = s.rowFailReason.empty() ? SystemErrorText(s.rowError) : s.rowFailReason;
      } else {
        r.outcome = RowOutcome::Skipped;
        r.reason = s.rowReason.empty() ? StatusReason(ItemStatus::Failed, L"") : s.rowReason;
      }
      break;
    case RowEnd::Skipped:
      r.outcome = RowOutcome::Skipped;
      r.reason = StatusReason(row.status, row.newName);
      break;
    case RowEnd::NothingToDo:  // the name is already what was asked for
      r.outcome = RowOutcome::Unchanged;
      r.reason = StatusReason(row.status, row.newName);
      break;
    case RowEnd::StopPass:
      r.outcome = RowOutcome::Skipped;
      r.reason = kReasonNotReached;
      break;
    case RowEnd::StopAfterFailure:
      r.outcome = RowOutcome::Failed;
      r.reason = !s.rowReason.empty() ? s.rowReason : SystemErrorText(s.rowError);
      break;
  }
  rows.push_back(std::move(r));
}

void RecordRowsNotReached(Pass& s) {
  if (!s.c.record) return;
  std::vector<ReportRow>& rows = s.c.record->rows;
  for (size_t p = rows.size(); p < s.list.Count(); ++p) rows.push_back(RowNotDone(s.list.Row(p), kReasonNotReached));
}

void RecordSerialTakenOff(Pass& s, const CollisionEntry& entry) {
  if (!s.c.record || entry.row < 0 || static_cast<size_t>(entry.row) >= s.c.record->rows.size()) return;
  ReportRow& r = s.c.record->rows[static_cast<size_t>(entry.row)];
  r.newName = NameBehindFolder(entry.wanted);
  r.reason = s.c.record->plan ? kReasonSerialTakenOff : ChangedReason(s, ItemStatus::Ready);
}

}  // namespace korval
