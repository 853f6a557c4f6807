// Automatic runs: the settings handed to the reader and the executor, and the two steps of a run.
#include "ui/auto_run.h"

#include "engine/list_filter.h"
#include "engine/show_message.h"
#include "engine/undo.h"
#include "macro/macro_file.h"
#include "modes/change_mode.h"

namespace korval {

ReadSettings ReadSettingsFrom(const Settings& s, const CommandLine& commandLine) {
  ReadSettings r;
  r.fileDir = s.file_dir;
  r.subdir = s.subdir;
  r.subdirtree = s.subdirtree != 0;
  r.depthOverride = commandLine.IsAutomatic() ? commandLine.subfolderDepth : -1;
  r.folderread = s.folderread;
  r.folderreadWorking = commandLine.folderRead >= 0 ? commandLine.folderRead : s.folderread;
  r.shortcutlink = s.shortcutlink != 0;
  r.maxfilenum = s.maxfilenum;
  r.noSubFolderAsked = s.noSubFolderAsked;
  r.listcols1 = s.listcols1 != 0;
  r.listcols2 = s.listcols2 != 0;
  r.columndate = s.columndate;
  r.sizeUnit = s.sizeUnit;
  r.showRenameErrors = s.showRenameErrors != 0;
  r.timezone = s.timezone;
  r.automaticRun = commandLine.IsAutomatic();
  // An unattended run skips size and date texts unless its sort order needs them.
  const int sortColumn = commandLine.sortRequest >= 0 ? commandLine.sortRequest / 10 : -1;
  r.sortedBySize = sortColumn == 4 && s.listcols1;
  r.sortedByDate = sortColumn == 5 || (sortColumn == 4 && !s.listcols1);
  r.filter.filterextall = s.filterextall;
  r.filter.extensionsExclude = s.extFilterExclude != 0;
  r.filter.filterfsize1 = s.filterfsize1;
  r.filter.filterfsize2 = s.filterfsize2;
  r.filter.sizeExclude = s.sizeFilterExclude != 0;
  r.filter.readReadOnly = s.readReadOnly != 0;
  r.filter.readHidden = s.readHidden != 0;
  r.filter.readSystem = s.readSystem != 0;
  return r;
}

void KeepReadAnswers(const ReadSettings& r, Settings& s) {
  s.file_dir = r.fileDir;  // a Yes to the first-item question switched the list to files
  s.maxfilenum = r.maxfilenum;
  s.folderread = r.folderread;
  s.noSubFolderAsked = r.noSubFolderAsked;
}


SortOptions SortOptionsFrom(const Settings& s) {
  SortOptions o;
  o.numberLogical = s.sortnumlogical != 0;
  o.sizeShown = s.listcols1 != 0;
  o.dateShown = s.listcols2 != 0;
  return o;
}

void ApplyFilterAndSortRequest(const CommandLine& commandLine, AutoRunWork& work) {
  if (commandLine.hasFilter) ApplyFilter(*work.list, FilterKind::Full, commandLine.filterText);
  if (work.sort && commandLine.sortRequest >= 0) {
    ApplySortRequest(*work.list, *work.sort, commandLine.sortRequest, SortOptionsFrom(*work.settings));
  }
}

int PrepareAutomaticRun(const CommandLine& commandLine, AutoRunWork& work) {
  ReadSettings readSettings = ReadSettingsFrom(*work.settings, commandLine);
  ReadHooks hooks;
  if (commandLine.IsAutomatic()) hooks.escapeDown = [] { return false; };  // nobody holds ESC in an unattended run
  if (work.sort) hooks.markListChanged = [&work] { work.sort->listChanged = true; };
  // A plan reads through its own file system: the folders read are then listed once for the whole plan.
  // Otherwise the listings are kept for the run's preview.
  if (!work.planFs && work.listings) {
    hooks.listFolder = [&work](const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries) {
      return work.listings->List(folder, entries);
    };
  }
  readSettings.ownFile = work.reportPath;
  ListReader reader(*work.list, readSettings, hooks, work.planFs ? *work.planFs : SystemFileSystem());
  if (!commandLine.paths.empty()) {
    work.end.rowsLeftOut = reader.ReadDroppedItems(commandLine.paths).outcome == ReadOutcome::LimitReached;
  }
  for (const RefusedPath& refused : reader.RefusedPaths()) {
    const size_t nameStart = refused.NameStart();
    work.end.leftOut.push_back(ReportRow{refused.path.substr(nameStart), L"", refused.path.substr(0, nameStart),
                                         RowOutcome::Skipped, refused.reason});
  }
  work.end.listEmpty = work.list->Count() == 0;
  KeepReadAnswers(readSettings, *work.settings);
  ApplyFilterAndSortRequest(commandLine, work);
  if (commandLine.Kind() == kAutoUndo) {
    LoadUndoList(*work.list, work.programFolder, commandLine.undoSlot, {});
    return 1000;
  }
  return 260;
}


int ExitCodeOf(const RunReport& report, const AutoRunEnd& end) {
  if (report.refused && LeftOutOfEmptyList(end)) return kExitSomeFailed;
  // A run that went on without its change log and changed files ends with 1, never 2: a script may
  // take 2 for "nothing changed" and run it again.
  if (report.refused || (report.unlogged && report.changed == 0)) return kExitNotStarted;
  if (report.unlogged) return kExitSomeFailed;
  if (end.cut) return report.changed > 0 ? kExitSomeFailed : kExitNotStarted;
  const bool allDone =
      report.failed <= report.alreadyDone && !report.aborted && !end.rowsLeftOut && end.leftOut.empty();
  return allDone ? kExitAllDone : kExitSomeFailed;
}

WatchdogStep TickWatchdog(int& ticks, int limit) {
  if (ticks >= kRunFinished) return WatchdogStep::Close;
  return ++ticks <= limit ? WatchdogStep::Wait : WatchdogStep::Cut;
}

void CutAutomaticRun(const CommandLine& commandLine, AutoRunWork& work) {
  work.end.cut = true;
  // A box that waits for an answer ends with its stop answer: nobody is there to give one.
  CloseOpenMessageBoxes();
  if (work.playback && work.playback->Running()) {
    if (work.owner) KillTimer(work.owner, kTimerPlayback);
    work.playback->executeAfter = false;
    work.playback->Abort(PlaybackHooksFor(commandLine, work));
  }
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kRunCutCaption, kRunCutText, MessageClass::Error);
}

namespace {

// The record of the automatic run's execution; later executions of a window left open are not its.
RunRecord* RecordOf(AutoRunWork& work) { return work.record && work.record->rows.empty() ? work.record : nullptr; }

RunReport RunAutomaticHere(const CommandLine& commandLine, AutoRunWork& work) {
  RunReport report;
  Settings& s = *work.settings;
  if (commandLine.Kind() == kAutoUndo) {
    report.refused = !work.list->undoMode;  // the log slot could not be loaded
    if (commandLine.testMode || !work.list->undoMode) return report;
    RunRecord* record = RecordOf(work);
    const UndoOutcome outcome = RunUndo(*work.list, true, UndoOptions{s.chgconfirm, work.windows.ntFamily},
                                        SystemFileSystem(), ShowMessage, {}, record ? &record->rows : nullptr);
    report.changed = outcome.undone;
    report.failed = outcome.failed;
    report.aborted = outcome.stopped;  // an unknown tag, or a No after a failure
    return report;
  }
  const int mode = AutoRunMode(commandLine);
  if (mode != kModeAttribute && mode != kModeTimestamp && mode != kModeReplace && mode != kModeMacro) return report;
  if (mode == kModeMacro) {
    // The macro slot is selected; the execution follows when the playback has ended.
    if (commandLine.Kind() >= 1 && commandLine.Kind() <= kAutoLastMacroSlot) work.panel->macrono = commandLine.Kind() - 1;
    // The macro's execution reports when its playback ends.
    report.refused = PreviewMacro(commandLine, work, !commandLine.testMode) != 0;
    return report;
  }
  ApplyAutoRunToPanel(commandLine, *work.panel);
  const AutoReplace autoReplace = ToAutoReplace(commandLine);
  ExecuteContext c = ContextFor(commandLine, work, mode);
  c.autoReplace = mode == kModeReplace ? &autoReplace : nullptr;
  if (ExecuteChanges(RunKind::Preview, c, &report) != 0 || commandLine.testMode) return report;
  c.record = RecordOf(work);
  ExecuteChanges(RunKind::Execute, c, &report);
  return report;
}

}  // namespace

RunReport RunAutomatic(const CommandLine& commandLine, AutoRunWork& work) {
  RunReport report = RunAutomaticHere(commandLine, work);
  // A plan plays the macro's steps without pauses: there is nobody to watch them.
  if (work.planFs && work.playback && work.playback->Running()) {
    const PlaybackHooks hooks = PlaybackHooksFor(commandLine, work);
    while (work.playback->PlaybackTick(hooks) > 0) {
    }
    if (work.report) report = *work.report;
  }
  if (work.report) *work.report = report;
  return report;
}

int PreviewMacro(const CommandLine& commandLine, AutoRunWork& work, bool executeAfter) {
  if (!work.playback || work.playback->Running()) return 1;
  work.panel->mode = kModeMacro;
  // The buffer starts empty: a preview whose rows are all filtered out reads no macro, and must not
  // play the one read before.
  work.playback->LoadBytes({});
  ExecuteContext c = ContextFor(commandLine, work, kModeMacro);
  if (ExecuteChanges(RunKind::Preview, c) != 0) return 1;
  work.playback->executeAfter = executeAfter;
  const int pause = work.playback->StartPlayback(PlaybackHooksFor(commandLine, work));
  if (work.owner && !work.planFs) SetTimer(work.owner, kTimerPlayback, static_cast<UINT>(pause), nullptr);
  return 0;
}

PlaybackHooks PlaybackHooksFor(const CommandLine& commandLine, AutoRunWork& work) {
  PlaybackHooks hooks;
  hooks.panel = work.panel;
  hooks.params = work.params;
  hooks.previewStep = [&commandLine, &work](int step) {
    ExecuteContext c = ContextFor(commandLine, work, work.panel->mode);
    c.sourceFromNewNames = step >= 2;
    ExecuteChanges(RunKind::Preview, c);
    if (work.listChanged) work.listChanged();
  };
  hooks.execute = [&commandLine, &work] {
    ExecuteContext c = ContextFor(commandLine, work, kModeMacro);
    if (commandLine.IsAutomatic()) c.record = RecordOf(work);
    RunReport report;
    ExecuteChanges(RunKind::Execute, c, &report);
    if (work.report && commandLine.IsAutomatic()) *work.report = report;
  };
  hooks.showPanel = work.panelLoaded;
  hooks.finished = work.playbackEnded;
  hooks.notify = [](const std::wstring& text, const std::wstring& caption, UINT style) {
    ShowMessage(MessageKind::Plain, static_cast<int>(style), caption, text, MessageClass::Error);
  };
  hooks.view = work.playbackView;
  hooks.silent = commandLine.IsAutomatic() && !commandLine.Shows();
  hooks.testMode = commandLine.testMode;
  hooks.macromsec = work.settings->macromsec;
  return hooks;
}

void TickPlayback(const CommandLine& commandLine, AutoRunWork& work) {
  if (!work.playback) return;
  const int pause = work.playback->PlaybackTick(PlaybackHooksFor(commandLine, work));
  if (pause > 0 && work.owner) SetTimer(work.owner, kTimerPlayback, static_cast<UINT>(pause), nullptr);
}

LocalDateTime CurrentLocalDateTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace korval
