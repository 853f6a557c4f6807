// The preview and execution pass: its steps in order (engine/execute_pass.h).
#include "engine/execute_changes.h"

#include <chrono>
#include <vector>

#include "engine/execute_pass.h"
#include "engine/name_refusal.h"
#include "engine/show_message.h"
#include "engine/validate_row.h"
#include "modes/change_mode.h"

namespace korval {
namespace {

// Each question asks the system (about 0.1 ms under Wine): fast rows are asked about every few
// milliseconds, not every few hundred rows.
constexpr size_t kRowsBetweenInterruptChecks = 4096;
// Rows that take long (a regular expression near its budget, a slow rename) are checked by time as
// well, so a key pressed during a pass is answered within this.
constexpr std::chrono::milliseconds kTimeBetweenInterruptChecks{20};

// The hint of a preview says why the first name the system would refuse is invalid.
void NoteRefusedName(RunReport& report, const RenameItem& row, int mode) {
  if (!report.hint.empty() || !IsNameMode(mode)) return;
  if (const wchar_t* reason = RefusedNameReason(row.newName)) report.hint = row.newName + L" : " + reason;
}

// The hint of a preview names the first row that lacks a tag its new name asks for.
void NoteMissingTag(RunReport& report, const RenameItem& row) {
  if (report.hint.empty()) report.hint = row.oldName + L" : " + MissingTagReason(static_cast<Tag>(row.missingTag - 1));
}

// The rows from first on were not reached by a stopped preview: what they showed belongs to an
// earlier pass.
void ForgetRowsNotReached(RenameList& list, size_t first) {
  for (size_t p = first; p < list.Count(); ++p) {
    RenameItem& row = list.Row(p);
    if (row.status == ItemStatus::Filtered) continue;
    row.newName.clear();
    row.status = ItemStatus::None;
  }
}

}  // namespace

int ExecuteChanges(RunKind kind, ExecuteContext& c, RunReport* reportOut) {
  RunState localState;
  RunState& state = c.state ? *c.state : localState;
  // While the pass runs, a message box of it lets other window messages through; the window refuses
  // what would change the rows under it (drops, hand-overs).
  struct PassFlag {
    bool& flag;
    bool before;
    explicit PassFlag(bool& f) : flag(f), before(f) { flag = true; }
    ~PassFlag() { flag = before; }
  } passFlag(state.passRunning);
  auto refuse = [reportOut](const RunReport& report) {
    if (reportOut) {
      *reportOut = report;
      reportOut->refused = true;
    }
    return 1;
  };
  if (c.list->Empty()) return refuse({});
  Pass s(kind, c, state);
  if (!PreparePass(s)) return refuse(s.report);
  if (c.keptListings) {
    if (kind == RunKind::Execute) {
      c.keptListings->MarkAllStale();
    } else {
      c.keptListings->BeginPass();
    }
  }

  RenameList& list = s.list;
  const size_t count = list.Count();
  std::vector<bool> dropped;  // rows the list leaves out after an execution
  if (kind == RunKind::Execute) dropped.assign(count, false);
  std::wstring source, target;  // reused from row to row: their buffers are allocated once
  auto lastInterruptCheck = std::chrono::steady_clock::now();
  // Asked between rows, every so many rows and every so often.
  auto interrupted = [&](size_t p) {
    if (!c.interrupted) return false;
    const auto now = std::chrono::steady_clock::now();
    if (p % kRowsBetweenInterruptChecks != 0 && now - lastInterruptCheck < kTimeBetweenInterruptChecks) return false;
    lastInterruptCheck = now;
    return c.interrupted();
  };
  for (size_t p = 0; p < count; ++p) {
    RenameItem& row = list.Row(p);
    const bool filtered = row.status == ItemStatus::Filtered;
    if (filtered) {
      source.clear();
      target.clear();
      row.newName.clear();
    } else if (!PreviewRow(s, row, source, target)) {
      return refuse(s.report);
    }
    if (kind != RunKind::Execute) {
      if (!filtered && ValidateRow(list, p, s.mode, true, s.existence, s.o.longPaths) == ItemStatus::InvalidName) {
        NoteRefusedName(s.report, row, s.mode);
      }
      if (!filtered && (row.cutOff || row.missingTag != 0)) row.status = ItemStatus::Failed;
      if (!filtered && row.missingTag != 0) NoteMissingTag(s.report, row);
      Progress(s, p + 1, count);
      if (p + 1 < count && interrupted(p)) {
        s.report.aborted = true;
        ForgetRowsNotReached(list, p + 1);
        break;
      }
      continue;
    }
    if (p == 0 && s.o.chgconfirm == 1 && !(CurrentMessagePolicy().automatic && CurrentMessagePolicy().show) &&
        ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, L"Rename?", L"変更を開始しますか。",
                    MessageClass::Question) != IDYES) {
      break;
    }
    const RowEnd end = filtered ? RowEnd::NotChanged : ExecuteRow(s, p, source, target);
    RecordRow(s, p, row, end, source, target);
    if (end == RowEnd::StopPass) break;
    if (end == RowEnd::StopAfterFailure) {
      s.report.aborted = true;
      ++s.report.failed;
      if (s.after == ListAfterRun::Keep || s.after == ListAfterRun::Continue) row.status = ItemStatus::Failed;
      break;
    }
    const bool changed = end == RowEnd::Changed;
    if (changed) {
      ++s.report.changed;
    } else if (!filtered) {
      ++s.report.failed;
      if (end == RowEnd::Skipped) ++s.report.skipped;
      if (end == RowEnd::NothingToDo) ++s.report.alreadyDone;
    }
    dropped[p] = SettleRow(s, row, changed, filtered, source, target);
    Progress(s, p + 1, count);
    if (p + 1 < count && interrupted(p)) {
      s.report.aborted = true;
      break;
    }
  }
  if (kind == RunKind::Execute) RecordRowsNotReached(s);
  list.EraseFlagged(dropped);
  FinishPass(s);
  if (reportOut) *reportOut = s.report;
  return 0;
}

}  // namespace korval
