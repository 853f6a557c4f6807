// The preview and execution pass.
#include "engine/execute_changes.h"

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

// Writes the change's line. When the line cannot be written the change is taken back, so the log
// never misses a change that happened; false then, and the pass stops.
bool LogChange(ChangeLog& log, int mode, const std::wstring& source, const std::wstring& target,
               const RenameOneResult& result, FileSystem& fs, HWND owner, FolderSnapshot& current) {
  if (!log.IsOpen()) return true;
  if (mode == kModeTimestamp) {
    if (log.AppendTimestamp(source, result.oldTimes)) return true;
    FileTimes(kTimesBoth, kTimesNone, source, result.oldTimes.creation, result.oldTimes.modification, nullptr, 2, fs);
  } else if (mode == kModeAttribute) {
    if (log.AppendAttributes(source, result.oldFlags)) return true;
    AttributeChoices previous{};
    for (size_t k = 0; k < previous.size(); ++k) previous[k] = result.oldFlags[k] == L'Y' ? 1 : 0;
    FileAttributes(previous, source, nullptr, fs);
  } else {
    if (log.AppendRename(source, target)) return true;
    if (RenameSafely(fs, target, source)) {
      current.Moved(target, source);
    } else {
      ReportStranded(owner, source, target);
    }
  }
  return false;
}

// The serials of rows whose blocking item moved away later in the pass are taken off again. A
// clean-up rename that cannot be logged is taken back, and the clean-up ends there.
void CleanUpSerials(ExecuteContext& c, const CollisionTable& table, ListAfterRun after, ChangeLog& log,
                    FolderSnapshot& current, RunReport& report) {
  FileSystem& fs = *c.fs;
  for (const CollisionEntry& entry : table) {
    if (entry.serial.empty() || current.Exists(entry.wanted)) break;
    if (!fs.Move(entry.serial.c_str(), entry.wanted.c_str())) continue;
    if (log.IsOpen() && IsNameMode(c.mode) && !log.AppendRename(entry.serial, entry.wanted)) {
      if (!RenameSafely(fs, entry.wanted, entry.serial)) ReportStranded(c.owner, entry.serial, entry.wanted);
      break;
    }
    current.Moved(entry.serial, entry.wanted);
    --report.serialRows;
    if (c.options.chgconfirm == 2) {
      ShowMessage(c.owner, MessageKind::Plain, MB_OK, L"Serial Number Deleted",
                  FormatText(L"付与した連番を削除しました\n\n%s\n　↓\n%s", entry.serial.c_str(), entry.wanted.c_str()),
                  MessageClass::Info);
    }
    if (after == ListAfterRun::Continue && entry.row >= 0 && static_cast<size_t>(entry.row) < c.list->Count()) {
      MakeFreshRow(c.list->Row(entry.row), entry.wanted);
    }
  }
}

void Progress(const ExecuteContext& c, int percent) {
  if (c.progress) c.progress(percent);
}

}  // namespace

int ExecuteChanges(RunKind kind, ExecuteContext& c, RunReport* reportOut) {
  RunReport report;
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
  RenameList& list = *c.list;
  FileSystem& fs = *c.fs;
  const ExecuteOptions& o = c.options;
  const int mode = c.mode;
  if (list.Empty()) return 1;
  if (kind != RunKind::EditorPreview) state.editedInTextEditor = false;

  // Run state: the date record, the per-folder serial counters and the time stamp base start anew.
  DateRun dateRun;
  dateRun.Reset();
  FolderCounterTable folderCounters(list.Count());
  TimestampRun timestampRun;
  RegexBinding regex;
  Progress(c, 0);

  ModeParams localParams;
  ModeParams& params = c.params ? *c.params : localParams;
  PanelValues emptyPanel;
  PanelValues& panel = c.panel ? *c.panel : emptyPanel;
  panel.mode = mode;
  if (ReadModeParams(panel, params, c.histories, c.autoReplace)) {
    ShowMessage(c.owner, MessageKind::Plain, MB_OK | MB_ICONSTOP, L"Too Many Characters",
                L"入力した文字数が多すぎます。", MessageClass::Error);
    return 1;
  }
  if (kind == RunKind::Preview) ApplyFilter(list, FilterKind::SelectionOnly, c.filterText);
  const ListAfterRun after = EffectiveListAfterRun(o, state);
  if (mode == kModeReplace && params.regexp && !regex.Load()) {
    ShowMessage(c.owner, MessageKind::Plain, MB_OK | MB_ICONINFORMATION, kRegexLibraryMissingCaption,
                FormatText(kRegexLibraryMissingText, L"BREGEXP.DLL"), MessageClass::Error);
    return 1;
  }

  ChangeLog log(fs);
  if (kind == RunKind::Execute && o.writelog && !log.Open(c.programFolder) &&
      ShowMessage(c.owner, MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, kLogCreateFailedCaption,
                  kLogCreateFailedText, MessageClass::Question) != IDYES) {
    return 1;
  }
  bool logBroken = false;
  CollisionTable collisions;
  const CollisionOptions collisionOptions{o.collisionOption, o.adddiffpad, o.addrenbegin, o.fileDir};
  RenameOneOptions renameOptions;
  renameOptions.ntFamily = o.ntFamily;
  renameOptions.showRenameErrors = o.showRenameErrors != 0;
  renameOptions.owner = c.owner;

  TransformContext transform;
  transform.params = &params;
  transform.fileDir = o.fileDir;
  transform.fs = &fs;
  transform.timezone = o.timezone;
  transform.folderCounters = &folderCounters;
  transform.dateRun = &dateRun;
  transform.timestampRun = &timestampRun;
  transform.regex = &regex;

  // What the disk holds: for a preview as it was; for an execution as this pass's renames made it.
  FolderSnapshot snapshot(fs);
  const bool computeNames = kind == RunKind::Preview || (kind == RunKind::Execute && !state.previewed);
  const size_t count = list.Count();
  size_t p = 0;
  int rowCounter = 0;
  bool macroRead = false;
  for (size_t i = 0; i < count && p < list.Count(); ++i) {
    RenameItem& row = list.Row(p);
    const bool filtered = row.status == ItemStatus::Filtered;
    std::wstring source, target, temp;
    if (filtered) {
      row.newName.clear();
    } else {
      if (mode == kModeMacro && kind == RunKind::Preview && !macroRead) {
        macroRead = true;
        if (c.readMacro && !c.readMacro()) {
          ShowMessage(c.owner, MessageKind::Plain, MB_OK | MB_ICONINFORMATION, kMacroUnreadableCaption,
                      kMacroUnreadableText, MessageClass::Error);
          return 1;
        }
      }
      source = Cut(row.folder + (c.sourceFromNewNames ? row.newName : row.oldName));
      const bool descriptionOnly = kind == RunKind::EditorPreview && !IsNameMode(mode);
      target = Cut(descriptionOnly ? row.newName : row.folder + row.newName);
      if (computeNames) {
        // Dates and times are read from the item on disk, also when a playback step starts from
        // the name the step before produced.
        transform.itemPath = Cut(row.folder + row.oldName);
        TransformName(target, source, mode, rowCounter, transform);
        // The new name column holds what the row is checked and changed with.
        row.newName = Cut(IsNameMode(mode) ? NewNameBehindFolder(target, row.folder) : target);
      }
      ++rowCounter;
      temp = TempName(target, row.folder);
    }

    if (kind != RunKind::Execute) {
      if (!filtered) ValidateRow(list, p, mode, true, snapshot);
      ++p;
      Progress(c, static_cast<int>((i + 1) * 100 / count));
      continue;
    }

    if (i == 0 && o.chgconfirm == 1 && !(state.automatic && state.automaticShow) &&
        ShowMessage(c.owner, MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, L"Rename?", L"変更を開始しますか。",
                    MessageClass::Question) != IDYES) {
      break;
    }

    bool change = !Skipped(row.status, o);
    CollisionEntry collision;
    if (change && ValidateRow(list, p, mode, false, snapshot) == ItemStatus::TargetExists) {
      collision.wanted = target;
      collision.row = static_cast<int>(p);
      change = AddsSerialOnCollision(o.collisionOption) && MakeSerialSuffixName(target, collisionOptions, snapshot) == 0;
      if (change) temp = TempName(target, row.folder);
      collision.serial = change ? target : std::wstring();
    }
    if (change && !state.automatic && o.chgconfirm == 2) {
      const int answer = ShowMessage(c.owner, MessageKind::ConfirmChange, mode, source, target, MessageClass::Question);
      if (answer == IDCANCEL) break;
      if (answer != IDYES) change = false;
    }

    bool changed = false;
    if (change) {
      RenameOneResult result;
      const int outcome = RenameOne(mode, source, target, temp, renameOptions, fs, &result);
      if (outcome == 2) {
        report.aborted = true;
        ++report.failed;
        if (after == ListAfterRun::Keep || after == ListAfterRun::Continue) row.status = ItemStatus::Failed;
        break;
      }
      changed = outcome == 0;
      if (changed && IsNameMode(mode)) snapshot.Moved(source, target);
      if (changed && !LogChange(log, mode, source, target, result, fs, c.owner, snapshot)) {
        logBroken = true;
        ShowMessage(c.owner, MessageKind::Plain, MB_OK | MB_ICONSTOP, kLogWriteFailedCaption, kLogWriteFailedText,
                    MessageClass::Error);
        report.aborted = true;
        ++report.failed;
        if (after == ListAfterRun::Keep || after == ListAfterRun::Continue) row.status = ItemStatus::Failed;
        break;
      }
      if (changed) {
        if (!collision.serial.empty()) {
          collisions.push_back(collision);
          ++report.serialRows;
        }
        if (o.filefolder == 1 && o.folderread == 2 && IsNameMode(mode)) MoveRowsBelow(list, source, target);
      }
    }
    if (changed) {
      ++report.changed;
    } else if (!filtered) {
      ++report.failed;
    }

    switch (after) {
      case ListAfterRun::ClearAll:
        list.Erase(p);
        break;
      case ListAfterRun::ClearSucceeded:
        if (changed) {
          list.Erase(p);
        } else {
          ++p;
        }
        break;
      case ListAfterRun::Keep:
      case ListAfterRun::Continue:
        if (changed) {
          row.status = ItemStatus::Succeeded;
          if (after == ListAfterRun::Continue) {
            MakeFreshRow(row, IsNameMode(mode) ? target : source);
            if (mode == kModeTimestamp) RefreshDateColumn(row, o, source, fs);
          }
        } else if (!filtered) {
          row.status = ItemStatus::Failed;
        }
        ++p;
        break;
    }
    Progress(c, static_cast<int>((i + 1) * 100 / count));
  }

  if (regex.nonSjisFound && o.nonsjiswarn) {
    const int answer = ShowMessage(c.owner, MessageKind::Plain, MB_YESNO | MB_ICONINFORMATION, kNonSjisWarningCaption,
                                   kNonSjisWarningText, MessageClass::Error);
    if (answer != IDYES && c.nonsjiswarnSetting) *c.nonsjiswarnSetting = 0;
  }
  if (kind == RunKind::Execute) {
    // After a line of the log could not be written nothing more is changed: it could not be undone.
    if (!logBroken) CleanUpSerials(c, collisions, after, log, snapshot, report);
    if (!log.Close()) {
      ShowMessage(c.owner, MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kLogRotateFailedCaption,
                  kLogRotateFailedText, MessageClass::Error);
    }
    report.logged = log.Written();
    if (report.serialRows > 0 && o.addrenmsg) {
      ShowMessage(c.owner, MessageKind::Plain, MB_OK | MB_ICONINFORMATION, L"Added Serial Number",
                  L"同名のファイルがあったため、連番を付与したファイルがあります。", MessageClass::Info);
    }
    state.previewed = false;
    state.enterExecutes = false;
    if (state.recording && report.changed > 0 && c.recordStep) c.recordStep(mode);
  } else {
    state.previewed = true;
    state.enterExecutes = !o.enterdont;
  }
  state.shiftEnter = false;
  Progress(c, 0);
  if (reportOut) *reportOut = report;
  return 0;
}

}  // namespace korval
