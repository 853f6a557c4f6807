// Starting the macro editor from the main program.
#include "ui/macro_editor_launch.h"

#include <shellapi.h>

#include "engine/show_message.h"
#include "macro/macro_file.h"
#include "platform/format_text.h"

namespace korval {

EditorLaunch OpenMacroEditor(const MacroRecorder& recorder, int slotIndex, const std::wstring& programFolder,
                             bool& editorStarted, MacroSlotNames& slotNames, HWND owner) {
  if (recorder.Recording()) {
    ShowMessage(MessageKind::Plain, MB_OK, kEditWhileRecordingCaption, kEditWhileRecordingText, MessageClass::Info);
    return EditorLaunch::Refused;
  }
  if (editorStarted) {
    editorStarted = false;
    slotNames = ReadMacroList(programFolder, MacroProgram::Main);
    return EditorLaunch::ListReread;
  }
  const std::wstring program = FormatText(L"%skorvalmacroedit.exe", programFolder.c_str());
  const std::wstring parameters = FormatText(L"/macro%d", slotIndex + 1);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, nullptr, program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
  if (result > 32) {
    editorStarted = true;
    return EditorLaunch::Started;
  }
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONERROR, kEditorMissingCaption, kEditorMissingText,
              MessageClass::Error);
  return EditorLaunch::NotFound;
}

}  // namespace korval
