// Preparing and finishing a pass, and computing each row's names.
#include "engine/execute_pass.h"

#include "engine/list_filter.h"
#include "engine/show_message.h"
#include "engine/transform_name.h"
#include "modes/change_mode.h"
#include "modes/string_helpers.h"
#include "platform/format_text.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

ListAfterRun EffectiveListAfterRun(const ExecuteOptions& options, const RunState& state) {
  ListAfterRun chosen = static_cast<ListAfterRun>(Clamp(0, options.del, 3));
  if (state.shiftEnter) chosen = chosen == ListAfterRun::Continue ? ListAfterRun::ClearAll : ListAfterRun::Continue;
  if (state.recording) chosen = ListAfterRun::Continue;
  return chosen;
}

// The serials of rows whose blocking item moved away later in the pass are taken off again, each
// logged before it happens: every one whose name is free, whatever the rows before it kept, and again
// while one came off (it may have freed the name another waits for). The clean-up ends at a line the
// log cannot take.
void CleanUpSerials(Pass& s) {
  for (bool tookOne = true; tookOne;) {
    tookOne = false;
    for (CollisionEntry& entry : s.collisions) {
      if (entry.serial.empty() || s.snapshot.Exists(entry.wanted)) continue;
      const bool logged = s.log.IsOpen() && IsNameMode(s.mode);
      if (logged && !s.log.AppendRename(entry.serial, entry.wanted)) return;
      if (!s.fs.Move(entry.serial.c_str(), entry.wanted.c_str())) {
        const DWORD error = GetLastError();
        if (logged && !s.log.TakeBackLastLine()) return;
        ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, L"Serial Number Kept",
                    FormatText(L"付与した連番を削除できませんでした\n\n%s\n\n%s", entry.serial.c_str(),
                               SystemErrorText(error).c_str()),
                    MessageClass::Error);
        entry.serial.clear();  // stays: asked once
        continue;
      }
      s.snapshot.Moved(entry.serial, entry.wanted);
      RecordSerialTakenOff(s, entry);
      --s.report.serialRows;
      if (s.o.chgconfirm == 2) {
        ShowMessage(MessageKind::Plain, MB_OK, L"Serial Number Deleted",
                    FormatText(L"付与した連番を削除しました\n\n%s\n　↓\n%s", entry.serial.c_str(), entry.wanted.c_str()),
                    MessageClass::Info);
      }
      if (s.after == ListAfterRun::Continue && entry.row >= 0 && static_cast<size_t>(entry.row) < s.list.Count()) {
        MakeFreshRow(s.list.Row(entry.row), entry.wanted);
      }
      entry.serial.clear();  // taken off
      tookOne = true;
    }
  }
}

}  // namespace

std::wstring CutToPath(std::wstring text) {
  Truncate(text, kMaxLongPathChars);
  return text;
}

void Progress(const ExecuteContext& c, int percent) {
  if (c.progress) c.progress(percent);
}

void Progress(Pass& s, size_t done, size_t count) {
  const int percent = static_cast<int>(done * 100 / count);
  if (percent == s.shownPercent) return;
  s.shownPercent = percent;
  Progress(s.c, percent);
}

void MakeFreshRow(RenameItem& row, const std::wstring& path) {
  const PathParts parts = SplitPath(path);
  row.oldName = parts.stem + parts.extension;
  row.extension = parts.extension;
  row.folder = parts.Directory();
  row.newName.clear();
}

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
  s.regex.SetPassTime(c.regexPassTime.count() > 0 ? c.regexPassTime : RegexPassTime(s.list.Count()));
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
  t.tags = &s.rowTags;
  s.computeNames =
      (s.kind == RunKind::Preview && !c.keepNewNames) || (s.kind == RunKind::Execute && !s.state.previewed);
  return true;
}

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
  // Written into the callers' strings, whose buffers last from row to row.
  source.assign(row.folder).append(c.sourceFromNewNames ? row.newName : row.oldName);
  Truncate(source, kMaxBuiltPath);
  const bool descriptionOnly = s.kind == RunKind::EditorPreview && !IsNameMode(s.mode);
  if (descriptionOnly) {
    target.assign(row.newName);
  } else {
    target.assign(row.folder).append(row.newName);
  }
  Truncate(target, kMaxBuiltPath);
  if (s.computeNames) {
    // Dates and times are read from the item on disk, also when a playback step starts from the
    // name the step before produced.
    s.transform.itemPath.assign(row.folder).append(row.oldName);
    Truncate(s.transform.itemPath, kMaxLongPathChars);
    s.rowTags.StartRow(s.transform.itemPath);
    TransformName(target, source, s.mode, s.rowCounter, s.transform);
    // A playback step after the first keeps what an earlier step's cut or missing tag left.
    if (s.regex.cutOff) {
      row.cutOff = true;
    } else if (!c.sourceFromNewNames) {
      row.cutOff = false;
    }
    if (const std::optional<Tag> missing = s.rowTags.Missing()) {
      row.missingTag = static_cast<uint8_t>(static_cast<int>(*missing) + 1);
    } else if (!c.sourceFromNewNames) {
      row.missingTag = 0;
    }
    // The new name column holds what the row is checked and changed with, whole: a name too long for
    // its folder is refused as it stands, not cut into a name nobody asked for.
    if (IsNameMode(s.mode)) {
      AssignNameBehindFolder(row.newName, target, row.folder);
    } else {
      row.newName.assign(target);
    }
    Truncate(row.newName, kMaxBuiltPath);
  }
  ++s.rowCounter;
  return true;
}

void FinishPass(Pass& s) {
  ExecuteContext& c = s.c;
  if (s.regex.nonSjisFound && s.o.nonsjiswarn) {
    // No turns the warning off for good; a close of the window, or the cut of an unattended run,
    // answers Yes, which leaves the setting as the user chose it.
    const int answer = ShowMessageStoppedBy(IDYES, MB_YESNO | MB_ICONINFORMATION, kNonSjisWarningCaption,
                                            kNonSjisWarningText, MessageClass::Error);
    if (answer != IDYES && c.nonsjiswarnSetting) *c.nonsjiswarnSetting = 0;
  }
  if (s.regex.cutOff) {
    const bool passTime = s.regex.passTimeUsedUp;
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kRegexCutOffCaption,
                FormatText(passTime ? kRegexPassCutOffText : kRegexCutOffText, s.regex.cutOffName.c_str()),
                MessageClass::Error);
    s.report.hint = (passTime ? kRegexPassCutOffHint : kRegexCutOffHint) + s.regex.cutOffName;
  }
  if (s.kind == RunKind::Execute) {
    if (!s.logBroken) CleanUpSerials(s);
    if (!s.log.Close()) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kLogRotateFailedCaption,
                  kLogRotateFailedText, MessageClass::Error);
    }
    s.report.logged = s.log.Written();
    if (s.report.unlogged && s.report.changed > 0) {
      const std::wstring text = FormatText(kChangedUnloggedText, s.report.changed);
      if (s.report.hint.empty()) s.report.hint = text;
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kLogCreateFailedCaption, text, MessageClass::Error);
    }
    if (s.report.skipped > 0 && CurrentMessagePolicy().automatic) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kRowsLeftAloneCaption,
                  FormatText(kRowsLeftAloneText, s.report.skipped), MessageClass::Error);
    }
    if (s.report.serialRows > 0 && s.o.addrenmsg) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, L"Added Serial Number",
                  L"同名のファイルがあったため、連番を付与したファイルがあります。", MessageClass::Info);
    }
    s.state.previewed = false;
    s.state.enterExecutes = false;
    if (s.state.recording && s.report.changed > 0 && c.recordStep) c.recordStep(s.mode);
  } else {
    // A stopped preview worked out only some names: the next Enter previews again.
    s.state.previewed = !s.report.aborted;
    s.state.enterExecutes = !s.report.aborted && !s.o.enterdont;
  }
  s.state.shiftEnter = false;
  Progress(c, 0);
}

}  // namespace korval
