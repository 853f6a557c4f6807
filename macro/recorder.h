// Recording a macro: every successful execution while the recording runs appends one step to the
// recording file; at the end the recording is named and moved onto its slot's file. The window
// (record button, stop window, naming dialog) calls these functions and shows their results.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "macro/macro_list.h"
#include "modes/mode_params.h"
#include "platform/file_system.h"

namespace korval {

inline constexpr const wchar_t* kShortNameOnlyFirstText = L"8.3形式は1回目のみ記録できます。";
inline constexpr const wchar_t* kShortNameOnlyFirstCaption = L"To 8.3 Format is not Available Now";
inline constexpr const wchar_t* kStepRecordedFormat = L"%d 個目　：　[%s] モード\n\n記録されました。";
inline constexpr const wchar_t* kMacroFullText = L"マクロファイルが最大サイズに到達したため、記録されませんでした。";
inline constexpr const wchar_t* kMacroFullCaption = L"Macro File size Exceeded";
inline constexpr const wchar_t* kNoNameText = L"名前が付けられなかったためマクロを保存しませんでした。";
inline constexpr const wchar_t* kNoNameCaption = L"No File Name, No Save";
inline constexpr const wchar_t* kDeleteWhileRecordingText = L"現在マクロ記録中のため、削除できません。";
inline constexpr const wchar_t* kRecordingNowCaption = L"Macro Recording Now";
inline constexpr const wchar_t* kDeleteMacroFormat = L"マクロ[%s]を削除します。";
inline constexpr const wchar_t* kDeleteMacroCaption = L"Delete Macro File?";
inline constexpr const wchar_t* kStopRecordingQuestion = L"記録を終了しますか？";
inline constexpr const wchar_t* kStopRecordingCaption = L"Stop Recording?";
inline constexpr const wchar_t* kNamingPrompt = L"マクロに名前を付けてください。";

struct MacroRecorder {
  // 0 not recording; 1 recording with no step yet; k + 1 after k recorded steps.
  int state = 0;
  // The slot selected when the recording began; it is selected again at the end.
  int startSlot = 0;

  bool Recording() const { return state > 0; }
};

// What the recorder works with: the program folder, the list target written into the header, the
// mode parameters just used and the slot list's texts.
struct RecorderContext {
  std::wstring programFolder;  // with its trailing backslash
  int fileDir = 0;
  const ModeParams* params = nullptr;
  MacroSlotNames* slotNames = nullptr;
  FileSystem* fs = &SystemFileSystem();
  bool undoMode = false;  // a change log is loaded: recording and deleting do nothing
};

// Starts a recording: remembers the selected slot and writes the header to the recording file. The
// window disables its macro controls, opens the stop window and selects the first change mode.
// Returns the header write's result (0 written).
int BeginRecording(MacroRecorder& recorder, int selectedSlot, const RecorderContext& context);

// Called after an execution that renamed at least one row while recording: appends the step of the
// mode and tells the user, or says why it was not recorded.
void RecordStep(MacroRecorder& recorder, int mode, const RecorderContext& context);

// The naming dialog's result: the typed or shown name (at most 256 characters) with the chosen
// slot index appended as two digits.
std::wstring NamingResult(const std::wstring& name, int slotIndex);

enum class RecordingEnd {
  NothingRecorded,  // no step: nothing saved, nothing shown, the recording file stays
  NoName,           // the dialog gave no name: told, not saved
  Saved,
};

struct RecordingEndResult {
  RecordingEnd end = RecordingEnd::NothingRecorded;
  int slot = 0;       // the slot to select afterwards
  std::wstring name;  // the saved macro's name
};

// Whether ending the recording asks for a name (at least one step was recorded).
inline bool NeedsName(const MacroRecorder& recorder) { return recorder.state >= 2; }

// Ends the recording. namingResult is what the naming dialog returned (nothing when it was closed
// another way, or when NeedsName was false). A saved macro replaces the slot's file, takes its name
// in the slot list and the macro list is written anew.
RecordingEndResult EndRecording(MacroRecorder& recorder, const std::optional<std::wstring>& namingResult,
                                const RecorderContext& context);

// The record button, the stop window's button and its closing: starts a recording when none runs
// (returns nothing), otherwise ends it, asking askName (the naming dialog, given the recording start
// slot) for "%s%02d" only when a step was recorded. Does nothing while a change log is loaded.
std::optional<RecordingEndResult> ToggleRecording(
    MacroRecorder& recorder, int selectedSlot, const RecorderContext& context,
    const std::function<std::optional<std::wstring>(int startSlot)>& askName);

// The "削除" button: asks, then empties the slot and deletes its file. Returns whether it did;
// nothing happens while a change log is loaded.
bool DeleteMacro(const MacroRecorder& recorder, int slotIndex, const RecorderContext& context);

}  // namespace korval
