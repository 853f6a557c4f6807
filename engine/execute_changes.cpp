// The preview and execution pass.
#include "engine/execute_changes.h"

#include <vector>

#include "engine/change_log.h"
#include "engine/collision.h"
#include "engine/file_attributes.h"
#include "engine/file_times.h"
#include "engine/list_filter.h"
#include "engine/path_existence.h"
#include "engine/rename_one.h"
#include "engine/show_message.h"
#include "engine/timestamp_mode.h"
#include "engine/transform_name.h"
#include "engine/validate_row.h"
#include "modes/change_mode.h"
#include "modes/date_time.h"
#include "modes/regex_binding.h"
#include "modes/serial_number.h"
#include "modes/string_helpers.h"
#include "platform/format_text.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

std::wstring Cut(std::wstring text) {
  Truncate(text, kMaxPathChars);
  return text;
}

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

ListAfterRun EffectiveListAfterRun(const ExecuteOptions& options, const RunState& state) {
  ListAfterRun chosen = static_cast<ListAfterRun>(Clamp(0, options.del, 3));
  if (state.shiftEnter) chosen = chosen == ListAfterRun::Continue ? ListAfterRun::ClearAll : ListAfterRun::Continue;
  if (state.recording) chosen = ListAfterRun::Continue;
  return chosen;
}

// A changed row becomes a fresh row for the next change.
void MakeFreshRow(RenameItem& row, const std::wstring& path) {
  const PathParts parts = SplitPath(path);
  row.oldName = parts.stem + parts.extension;
  row.extension = parts.extension;
  row.folder = parts.Directory();
  row.newName.clear();
}

// When folders are listed with everything below them, the rows inside a renamed folder follow it.
void MoveRowsBelow(RenameList& list, const std::wstring& source, const std::wstring& target) {
  const std::wstring inside = source + L"\\";
  for (RenameItem& row : list.Rows()) {
    const std::wstring folder = row.folder + L"\\";
    const size_t at = folder.find(inside);
    if (at != std::wstring::npos) row.folder = Cut(row.folder.replace(at, source.size(), target));
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

// Everything one pass keeps from its start to its end.
struct Pass {
  Pass(RunKind k, ExecuteContext& context, RunState& s)
      : kind(k), c(context), state(s), list(*context.list), fs(*context.fs), o(context.options), mode(context.mode),
        folderCounters(context.list->Count()), log(*context.fs), snapshot(*context.fs) {}

  RunKind kind;
  ExecuteContext& c;
  RunState& state;
  RenameList& list;
  FileSystem& fs;
  const ExecuteOptions& o;
  const int mode;
  RunReport report;

  ModeParams localParams;
  PanelValues emptyPanel;
  DateRun dateRun;
  FolderCounterTable folderCounters;
  TimestampRun timestampRun;
  RegexBinding regex;
  TransformContext transform;
  ListAfterRun after = ListAfterRun::Keep;
  bool computeNames = false;
  int rowCounter = 0;
  bool macroRead = false;

  ChangeLog log;
  bool logBroken = false;
  CollisionTable collisions;
  CollisionOptions collisionOptions;
  RenameOneOptions renameOptions;
  // What the disk holds: for a preview as it was; for an execution as this pass's renames made it.
  FolderSnapshot snapshot;
};

void Progress(const ExecuteContext& c, int percent) {
  if (c.progress) c.progress(percent);
}

// Reads the mode parameters, binds what the mode needs and opens the change log. False when the
// pass is refused before its first row (the user was told why).
bool PreparePass(Pass& s) {
  ExecuteContext& c = s.c;
  if (s.kind != RunKind::EditorPreview) s.state.editedInTextEditor = false;
  s.dateRun.Reset();
  Progress(c, 0);

  ModeParams& params = c.params ? *c.params : s.localParams;
  PanelValues& panel = c.panel ? *c.panel : s.emptyPanel;
  panel.mode = s.mode;
  if (ReadModeParams(panel, params, c.histories, c.autoReplace)) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, L"Too Many Characters",
                L"入力した文字数が多すぎます。", MessageClass::Error);
    return false;
  }
  if (s.kind == RunKind::Preview) ApplyFilter(s.list, FilterKind::SelectionOnly, c.filterText);
  s.after = EffectiveListAfterRun(s.o, s.state);
  if (s.mode == kModeReplace && params.regexp && !s.regex.Load()) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, kRegexLibraryMissingCaption,
                FormatText(kRegexLibraryMissingText, L"BREGEXP.DLL"), MessageClass::Error);
    return false;
  }
  s.report.unlogged = s.kind == RunKind::Execute && s.o.writelog && !s.log.Open(c.programFolder);
  if (s.report.unlogged &&
      ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, kLogCreateFailedCaption,
                  kLogCreateFailedText, MessageClass::Question) != IDYES) {
    return false;
  }
  s.collisionOptions = {s.o.collisionOption, s.o.adddiffpad, s.o.addrenbegin, s.o.fileDir};
  s.renameOptions.ntFamily = s.o.ntFamily;
  s.renameOptions.showRenameErrors = s.o.showRenameErrors != 0;

  TransformContext& t = s.transform;
  t.params = &params;
  t.fileDir = s.o.fileDir;
  t.fs = &s.fs;
  t.timezone = s.o.timezone;
  t.folderCounters = &s.folderCounters;
  t.dateRun = &s.dateRun;
  t.timestampRun = &s.timestampRun;
  t.regex = &s.regex;
  s.computeNames = s.kind == RunKind::Preview || (s.kind == RunKind::Execute && !s.state.previewed);
  return true;
}

// Computes the row's source and target paths (and its new name when the pass computes names). False
// when the macro of a macro preview cannot be read: the pass ends.
bool PreviewRow(Pass& s, RenameItem& row, std::wstring& source, std::wstring& target) {
  ExecuteContext& c = s.c;
  if (s.mode == kModeMacro && s.kind == RunKind::Preview && !s.macroRead) {
    s.macroRead = true;
    if (c.readMacro && !c.readMacro()) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, kMacroUnreadableCaption,
                  kMacroUnreadableText, MessageClass::Error);
      return false;
    }
  }
  source = Cut(row.folder + (c.sourceFromNewNames ? row.newName : row.oldName));
  const bool descriptionOnly = s.kind == RunKind::EditorPreview && !IsNameMode(s.mode);
  target = Cut(descriptionOnly ? row.newName : row.folder + row.newName);
  if (s.computeNames) {
    // Dates and times are read from the item on disk, also when a playback step starts from the
    // name the step before produced.
    s.transform.itemPath = Cut(row.folder + row.oldName);
    TransformName(target, source, s.mode, s.rowCounter, s.transform);
    // The new name column holds what the row is checked and changed with.
    row.newName = Cut(IsNameMode(s.mode) ? NewNameBehindFolder(target, row.folder) : target);
  }
  ++s.rowCounter;
  return true;
}

// The log could not take a line: nothing more is changed in this pass, since it could not be undone.
void StopForLog(Pass& s) {
  s.logBroken = true;
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kLogWriteFailedCaption, kLogWriteFailedText,
              MessageClass::Error);
}

enum class RowEnd { Changed, NotChanged, Skipped, StopPass, StopAfterFailure };

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
  switch (outcome) {
    case RenameOutcome::Unchanged: return RowEnd::Changed;
    case RenameOutcome::Failed: return RowEnd::NotChanged;
    case RenameOutcome::Abort: return RowEnd::StopAfterFailure;
    case RenameOutcome::Changed: break;
  }
  if (!logFirst && !LogChangeAfter(s.log, s.mode, source, result, s.fs)) {
    StopForLog(s);
    return RowEnd::StopAfterFailure;
  }
  return RowEnd::Changed;
}

// Decides whether the row is changed (its status, a name collision, the per-row question) and
// changes it.
// A collision serial rewrites target.
RowEnd ExecuteRow(Pass& s, size_t p, const std::wstring& source, std::wstring& target) {
  RenameItem& row = s.list.Row(p);
  if (Skipped(row.status, s.o)) return RowEnd::Skipped;
  CollisionEntry collision;
  if (ValidateRow(s.list, p, s.mode, false, s.snapshot) == ItemStatus::TargetExists) {
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

// What becomes of the row after its change: dropped (true; the rows leave the list together after
// the pass), or kept and marked (and made fresh for the next change).
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

// The serials of rows whose blocking item moved away later in the pass are taken off again, each
// logged before it happens. The clean-up ends at a line the log cannot take.
void CleanUpSerials(Pass& s) {
  for (const CollisionEntry& entry : s.collisions) {
    if (entry.serial.empty() || s.snapshot.Exists(entry.wanted)) break;
    const bool logged = s.log.IsOpen() && IsNameMode(s.mode);
    if (logged && !s.log.AppendRename(entry.serial, entry.wanted)) break;
    if (!s.fs.Move(entry.serial.c_str(), entry.wanted.c_str())) {
      if (logged && !s.log.TakeBackLastLine()) break;
      continue;
    }
    s.snapshot.Moved(entry.serial, entry.wanted);
    --s.report.serialRows;
    if (s.o.chgconfirm == 2) {
      ShowMessage(MessageKind::Plain, MB_OK, L"Serial Number Deleted",
                  FormatText(L"付与した連番を削除しました\n\n%s\n　↓\n%s", entry.serial.c_str(), entry.wanted.c_str()),
                  MessageClass::Info);
    }
    if (s.after == ListAfterRun::Continue && entry.row >= 0 && static_cast<size_t>(entry.row) < s.list.Count()) {
      MakeFreshRow(s.list.Row(entry.row), entry.wanted);
    }
  }
}

// The messages after the last row, the log's rotation and the state for the next pass.
void FinishPass(Pass& s) {
  ExecuteContext& c = s.c;
  if (s.regex.nonSjisFound && s.o.nonsjiswarn) {
    const int answer = ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONINFORMATION, kNonSjisWarningCaption,
                                   kNonSjisWarningText, MessageClass::Error);
    if (answer != IDYES && c.nonsjiswarnSetting) *c.nonsjiswarnSetting = 0;
  }
  if (s.kind == RunKind::Execute) {
    if (!s.logBroken) CleanUpSerials(s);
    if (!s.log.Close()) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kLogRotateFailedCaption,
                  kLogRotateFailedText, MessageClass::Error);
    }
    s.report.logged = s.log.Written();
    if (s.report.serialRows > 0 && s.o.addrenmsg) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, L"Added Serial Number",
                  L"同名のファイルがあったため、連番を付与したファイルがあります。", MessageClass::Info);
    }
    s.state.previewed = false;
    s.state.enterExecutes = false;
    if (s.state.recording && s.report.changed > 0 && c.recordStep) c.recordStep(s.mode);
  } else {
    s.state.previewed = true;
    s.state.enterExecutes = !s.o.enterdont;
  }
  s.state.shiftEnter = false;
  Progress(c, 0);
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

  RenameList& list = s.list;
  const size_t count = list.Count();
  std::vector<bool> dropped;  // rows the list leaves out after an execution
  if (kind == RunKind::Execute) dropped.assign(count, false);
  for (size_t p = 0; p < count; ++p) {
    RenameItem& row = list.Row(p);
    const bool filtered = row.status == ItemStatus::Filtered;
    std::wstring source, target;
    if (filtered) {
      row.newName.clear();
    } else if (!PreviewRow(s, row, source, target)) {
      return refuse(s.report);
    }
    if (kind != RunKind::Execute) {
      if (!filtered) ValidateRow(list, p, s.mode, true, s.snapshot);
      Progress(c, static_cast<int>((p + 1) * 100 / count));
      continue;
    }
    if (p == 0 && s.o.chgconfirm == 1 && !(CurrentMessagePolicy().automatic && CurrentMessagePolicy().show) &&
        ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, L"Rename?", L"変更を開始しますか。",
                    MessageClass::Question) != IDYES) {
      break;
    }
    const RowEnd end = filtered ? RowEnd::NotChanged : ExecuteRow(s, p, source, target);
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
    }
    dropped[p] = SettleRow(s, row, changed, filtered, source, target);
    Progress(c, static_cast<int>((p + 1) * 100 / count));
  }
  list.EraseFlagged(dropped);
  FinishPass(s);
  if (reportOut) *reportOut = s.report;
  return 0;
}

}  // namespace korval
