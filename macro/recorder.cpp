// Recording a macro step by step, naming it, and deleting saved macros.
#include "macro/recorder.h"

#include "engine/path_kind.h"
#include "engine/show_message.h"
#include "macro/macro_file.h"
#include "modes/change_mode.h"
#include "platform/data_files.h"
#include "platform/format_text.h"

namespace korval {
namespace {

constexpr size_t kMaxNameChars = 256;

MacroRecordingContext WriteContext(const RecorderContext& context) {
  MacroRecordingContext write;
  write.programFolder = context.programFolder;
  write.fileDir = context.fileDir;
  write.params = context.params;
  write.slotNames = context.slotNames;
  return write;
}

void Tell(UINT style, const wchar_t* caption, const std::wstring& text,
          MessageClass messageClass = MessageClass::Info) {
  ShowMessage(MessageKind::Plain, style, caption, text, messageClass);
}

}  // namespace

int BeginRecording(MacroRecorder& recorder, int selectedSlot, const RecorderContext& context) {
  recorder.startSlot = selectedSlot;
  recorder.state = 1;
  return AppendMacroRecord(kRecordHeader, WriteContext(context));
}

void RecordStep(MacroRecorder& recorder, int mode, const RecorderContext& context) {
  if (recorder.state <= 0 || mode < kModePositionEdit || mode > kModeRandomName) return;
  if (mode == kModeShortName && recorder.state > 1) {
    Tell(MB_OK | MB_ICONINFORMATION, kShortNameOnlyFirstCaption, kShortNameOnlyFirstText);
    return;
  }
  const int result = AppendMacroRecord(mode, WriteContext(context));
  if (result == kMacroWritten) {
    Tell(MB_OK, L"", FormatText(kStepRecordedFormat, recorder.state, ModeLabel(mode)));
    ++recorder.state;
  } else if (result == kMacroFileFull) {
    // The step is lost: an error, which "/errmsg" shows.
    Tell(MB_OK | MB_ICONINFORMATION, kMacroFullCaption, kMacroFullText, MessageClass::Error);
  }
}

std::wstring NamingResult(const std::wstring& name, int slotIndex) {
  const std::wstring cut = name.substr(0, kMaxNameChars);
  return FormatText(L"%s%02d", cut.c_str(), slotIndex);
}

RecordingEndResult EndRecording(MacroRecorder& recorder, const std::optional<std::wstring>& namingResult,
                                const RecorderContext& context) {
  RecordingEndResult result;
  result.slot = recorder.startSlot;
  if (recorder.state < 2) {
    recorder.state = 0;
    return result;
  }
  recorder.state = 0;
  const std::wstring text = namingResult.value_or(std::wstring());
  // The last two characters are the slot; a shorter result means no name came back.
  const bool digits = text.size() >= 3 && iswdigit(text[text.size() - 2]) && iswdigit(text[text.size() - 1]);
  const int slot = digits ? (text[text.size() - 2] - L'0') * 10 + (text[text.size() - 1] - L'0') : -1;
  if (!digits || slot >= kMacroSlotCount) {
    Tell(MB_OK | MB_ICONINFORMATION, kNoNameCaption, kNoNameText);
    result.end = RecordingEnd::NoName;
    return result;
  }
  std::wstring name = text.substr(0, text.size() - 2);
  result.slot = slot;

  FileSystem& fs = *context.fs;
  const std::wstring slotFile = DataFilePath(DataFile::MacroFile, context.programFolder, slot + 1);
  const std::wstring recording = DataFilePath(DataFile::RecordingFile, context.programFolder, 0);
  if (PathKind(slotFile, fs) == kPathIsFile) DeleteFileForce(slotFile, fs);
  fs.Move(recording.c_str(), slotFile.c_str());  // a failed move is not reported

  if (name == kUnregisteredSlotText) name = FormatText(L"macro_%02d", slot + 1);
  if (context.slotNames) {
    (*context.slotNames)[static_cast<size_t>(slot)] = name;
    AppendMacroRecord(kRecordMacroList, WriteContext(context));
  }
  result.end = RecordingEnd::Saved;
  result.name = name;
  return result;
}

std::optional<RecordingEndResult> ToggleRecording(
    MacroRecorder& recorder, int selectedSlot, const RecorderContext& context,
    const std::function<std::optional<std::wstring>(int startSlot)>& askName) {
  if (context.undoMode) return std::nullopt;
  if (!recorder.Recording()) {
    BeginRecording(recorder, selectedSlot, context);
    return std::nullopt;
  }
  std::optional<std::wstring> name;
  if (NeedsName(recorder) && askName) name = askName(recorder.startSlot);
  return EndRecording(recorder, name, context);
}

bool DeleteMacro(const MacroRecorder& recorder, int slotIndex, const RecorderContext& context) {
  if (context.undoMode) return false;
  if (recorder.Recording()) {
    Tell(MB_OK, kRecordingNowCaption, kDeleteWhileRecordingText);
    return false;
  }
  if (slotIndex < 0 || slotIndex >= kMacroSlotCount || !context.slotNames) return false;
  std::wstring& name = (*context.slotNames)[static_cast<size_t>(slotIndex)];
  if (name == kUnregisteredSlotText) return false;
  if (ShowMessage(MessageKind::Plain, MB_OKCANCEL, kDeleteMacroCaption,
                  FormatText(kDeleteMacroFormat, name.c_str()), MessageClass::Question) != IDOK) {
    return false;
  }
  name = kUnregisteredSlotText;
  const std::wstring slotFile = DataFilePath(DataFile::MacroFile, context.programFolder, slotIndex + 1);
  if (PathKind(slotFile, *context.fs) == kPathIsFile) DeleteFileForce(slotFile, *context.fs);
  AppendMacroRecord(kRecordMacroList, WriteContext(context));
  return true;
}

}  // namespace korval
