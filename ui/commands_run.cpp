// Commands that preview, execute, undo and reset, step through the modes and switch the list
// target.
#include <windows.h>

#include <commctrl.h>

#include "engine/show_message.h"
#include "macro/recorder.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/live_preview.h"
#include "ui/mode_selection.h"
#include "platform/data_files.h"
#include "ui/recording.h"
#include "ui/text_editor_dialog.h"
#include "ui/undo_mode_view.h"
#include "ui/window_actions.h"

namespace korval {

void PressExecuteButton(Workspace& work, Frame& frame) {
  if (work.commandLine.testMode) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kTestModeRefusalCaption, kTestModeRefusalText,
                MessageClass::Error);
    return;
  }
  DispatchCommand(work, frame, IDM_EXECUTE);
}

void PressPreviewButton(Workspace& work, Frame& frame) { DispatchCommand(work, frame, IDM_PREVIEW); }

void ShowListTarget(const Workspace& work, const Frame& frame) {
  const int target = work.settings.file_dir ? 1 : 0;
  CheckMenuItem(GetMenu(frame.main), IDM_TOGGLE_TARGET, MF_BYCOMMAND | (target ? MF_CHECKED : MF_UNCHECKED));
  if (HWND picture = frame.Item(IDC_TARGET_PICTURE)) {
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(frame.targetPictures[target]));
  }
}

void OnPreview(CommandContext& c) {
  if (c.work.Mode() == kModeMacro) {
    CollectPanel(c.work, c.frame);
    PreviewMacro(c.work.commandLine, c.work.autoWork, false);
    return;
  }
  RunPass(c.work, c.frame, RunKind::Preview);
}

void OnExecute(CommandContext& c) {
  Workspace& work = c.work;
  if (work.UndoMode()) {
    if (!work.commandLine.testMode) LeaveUndoMode(work, c.frame, true);
    return;
  }
  if (!work.run.previewed) {
    // In the macro mode the preview is the playback, and the execution follows when it ends.
    if (work.Mode() == kModeMacro) {
      CollectPanel(work, c.frame);
      PreviewMacro(work.commandLine, work.autoWork, !work.commandLine.testMode);
      return;
    }
    RunReport preview;
    // A preview stopped by Esc worked out only some names: nothing is executed.
    if (RunPass(work, c.frame, RunKind::Preview, &preview) != 0 || preview.aborted) return;
  }
  if (work.commandLine.testMode) return;
  RunPass(work, c.frame, RunKind::Execute);
  SetPositionSample(work, c.frame);
}

void OnEnter(CommandContext& c) {
  // While a name is edited in place, Enter only ends the edit.
  if (c.frame.list && ListView_GetEditControl(c.frame.list)) {
    SetFocus(c.frame.list);
    return;
  }
  if (c.work.UndoMode() || c.work.run.enterExecutes) {
    c.work.run.shiftEnter = c.id == IDM_SHIFT_ENTER;
    PressExecuteButton(c.work, c.frame);
    c.work.run.shiftEnter = false;
  } else {
    PressPreviewButton(c.work, c.frame);
  }
}

// The text editor, refused where its names could not stand: while recording, in undo mode, on an
// empty list, and in the time-stamp and attribute modes before their descriptions were previewed.
void OnTextEditor(CommandContext& c) {
  Workspace& work = c.work;
  auto refuse = [](const wchar_t* caption, const wchar_t* text) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, caption, text, MessageClass::Error);
  };
  if (work.Recording()) return refuse(L"Macro Recording Now", L"マクロ記録中はテキストエディタを開けません。");
  if (work.UndoMode()) return refuse(L"UnDo Mode Now", L"UnDoモード中はテキストエディタを開けません。");
  if (work.list.Empty()) return refuse(L"Empty List", L"リストが空です。編集するファイル名がありません。");
  if ((work.Mode() == kModeTimestamp || work.Mode() == kModeAttribute) && !work.run.previewed) {
    return refuse(L"Confirm First", L"タイムスタンプ・属性変更モードでは先に変更確認をしてください。");
  }
  TextEditorData data;
  data.list = &work.list;
  data.settings = &work.settings;
  data.mode = work.Mode();
  data.firstMode = work.settings.txtedtbox ? 0 : work.settings.txteditor + 1;
  data.exchangePath = DataFilePath(DataFile::EditorExchange, work.programFolder);
  data.applied = [&work, &c] {
    RunPass(work, c.frame, RunKind::EditorPreview);
    work.run.editedInTextEditor = true;
  };
  ShowTextEditorDialog(c.frame.main, &data);
}

void OnReset(CommandContext& c) {
  if (c.work.UndoMode()) {
    LeaveUndoMode(c.work, c.frame, false);
    return;
  }
  ResetNames(c.work, c.frame);
}

void OnEscape(CommandContext& c) {
  Workspace& work = c.work;
  if (work.Recording() &&
      ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONQUESTION, kStopRecordingCaption,
                  kStopRecordingQuestion, MessageClass::Question) == IDYES) {
    StopRecording(work, c.frame);
    return;
  }
  if (work.UndoMode()) return;
  if (!work.Recording()) ShowModePanel(work, c.frame, work.modeIndex % 12 + 1);
  ResetNames(work, c.frame);
}

void OnStepMode(CommandContext& c) {
  SelectModeIndex(c.work, c.frame, SteppedModeIndex(c.work.modeIndex, c.id == IDM_NEXT_MODE ? 1 : -1));
  ScheduleLivePreview(c.work, c.frame);
  if (c.frame.list) SetFocus(c.frame.list);
}

void OnUndoMode(CommandContext& c) {
  if (c.work.UndoMode()) {
    LeaveUndoMode(c.work, c.frame, false);
  } else if (c.work.settings.writelog) {
    EnterUndoMode(c.work, c.frame, 1);
  }
}

void OnToggleTarget(CommandContext& c) {
  Workspace& work = c.work;
  work.settings.file_dir = work.settings.file_dir ? 0 : 1;
  work.settings.filefolder = work.settings.file_dir;
  if (!work.UndoMode()) {
    work.list.Clear();
    SetPositionSample(work, c.frame);
    RefreshList(work, c.frame);
  }
  ShowListTarget(work, c.frame);
}

}  // namespace korval
