// Ending a macro recording from the window.
#include "ui/recording.h"

#include "macro/recorder.h"
#include "modes/change_mode.h"
#include "ui/macro_name_dialog.h"
#include "ui/mode_selection.h"

namespace korval {

RecorderContext RecorderContextFor(Workspace& work, const Frame& frame) {
  RecorderContext context;
  context.programFolder = work.programFolder;
  context.fileDir = work.settings.file_dir;
  context.params = &work.params;
  context.slotNames = &work.macroSlots;
  context.owner = frame.main;
  context.undoMode = work.UndoMode();
  return context;
}

void StopRecording(Workspace& work, Frame& frame) {
  if (!work.Recording()) return;
  const std::optional<RecordingEndResult> end = ToggleRecording(
      work.recorder, work.panel.macrono, RecorderContextFor(work, frame), [&](int startSlot) -> std::optional<std::wstring> {
        MacroNameData data{&work.macroSlots, startSlot, L""};
        if (!ShowMacroNameDialog(frame.main, &data)) return std::nullopt;
        return NamingResult(data.name, data.slot);
      });
  work.run.recording = false;
  if (end) work.panel.macrono = end->slot;
  SelectModeIndex(work, frame, kModeMacro - 1);
}

}  // namespace korval
