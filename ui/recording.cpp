// Macro slots and recording from the window.
#include "ui/recording.h"

#include "macro/macro_file.h"
#include "macro/recorder.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/macro_name_dialog.h"
#include "ui/mode_selection.h"
#include "ui/recording_window.h"
#include "ui/toolbar.h"

namespace korval {
namespace {

// While a recording runs the slot list, its buttons, the undo button and the toolbar's execute and
// record buttons rest.
void EnableMacroControls(const Workspace& work, const Frame& frame, bool enable) {
  EnableMacroSlotControls(frame, enable);
  EnableWindow(frame.Item(IDC_UNDO), enable && work.settings.writelog);
  SetToolbarButtonEnabled(frame.toolbar, IDM_ENTER, enable);
  SetToolbarButtonEnabled(frame.toolbar, IDM_RECORD_MACRO, enable);
}

}  // namespace

RecorderContext RecorderContextFor(Workspace& work) {
  RecorderContext context;
  context.programFolder = work.programFolder;
  context.fileDir = work.settings.file_dir;
  context.params = &work.params;
  context.slotNames = &work.macroSlots;
  context.undoMode = work.UndoMode();
  return context;
}

void EnableMacroSlotControls(const Frame& frame, bool enable) {
  for (int id : {IDC_MACRO_SLOT, IDC_MACRO_RECORD, IDC_MACRO_EDIT, IDC_MACRO_DELETE}) EnableWindow(frame.Item(id), enable);
}

void ReloadMacroSlots(Workspace& work, const Frame& frame) {
  work.macroSlots = ReadMacroList(work.programFolder, MacroProgram::Main);
  ShowMacroSlots(work, frame);
}

void ShowMacroSlots(const Workspace& work, const Frame& frame) {
  HWND slots = frame.Item(IDC_MACRO_SLOT);
  if (!slots) return;
  SendMessageW(slots, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& name : work.macroSlots) SendMessageW(slots, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(slots, CB_SETCURSEL, work.panel.macrono, 0);
}

void ToggleRecordingFromWindow(Workspace& work, Frame& frame) {
  if (work.UndoMode() || work.Playing()) return;
  if (work.Recording()) {
    StopRecording(work, frame);
    return;
  }
  // Without its recording file a recording could keep nothing: it does not start.
  if (BeginRecording(work.recorder, work.panel.macrono, RecorderContextFor(work)) != 0) {
    work.recorder.state = 0;
    return;
  }
  work.run.recording = true;
  EnableMacroControls(work, frame, false);
  frame.recordingWindow = OpenRecordingWindow(frame.main, [&work, &frame] { StopRecording(work, frame); });
  SelectModeIndex(work, frame, kModePositionEdit - 1);
}

void StopRecording(Workspace& work, Frame& frame) {
  if (!work.Recording()) return;
  CloseRecordingWindow(frame.recordingWindow);
  frame.recordingWindow = nullptr;
  EnableMacroControls(work, frame, true);
  const std::optional<RecordingEndResult> end = ToggleRecording(
      work.recorder, work.panel.macrono, RecorderContextFor(work), [&](int startSlot) -> std::optional<std::wstring> {
        MacroNameData data{&work.macroSlots, startSlot, L""};
        if (!ShowMacroNameDialog(frame.main, &data)) return std::nullopt;
        return NamingResult(data.name, data.slot);
      });
  work.run.recording = false;
  if (end) work.panel.macrono = end->slot;
  SelectModeIndex(work, frame, kModeMacro - 1);
  ReloadMacroSlots(work, frame);
}

void DeleteSelectedMacro(Workspace& work, const Frame& frame) {
  if (DeleteMacro(work.recorder, work.panel.macrono, RecorderContextFor(work))) ReloadMacroSlots(work, frame);
}

}  // namespace korval
