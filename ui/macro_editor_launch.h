// The "編集" button of the macro panel: starts the macro editor on the selected slot, or, once it
// was started, reads the macro list again ("リスト更新").
#pragma once

#include <windows.h>

#include <string>

#include "macro/recorder.h"

namespace korval {

inline constexpr const wchar_t* kEditWhileRecordingText = L"マクロ記録中は編集できません。";
inline constexpr const wchar_t* kEditWhileRecordingCaption = L"Macro Recording";
inline constexpr const wchar_t* kEditorMissingText = L"マクロ編集ツールが見つかりません。";
inline constexpr const wchar_t* kEditorMissingCaption = L"Macro Edit Tool not Found";
inline constexpr const wchar_t* kEditButtonText = L"編集";
inline constexpr const wchar_t* kRefreshListButtonText = L"リスト更新";

enum class EditorLaunch {
  Refused,        // a recording runs
  Started,        // the button now reads "リスト更新"
  NotFound,       // told; the button keeps "編集"
  ListReread,     // the editor was started before: the slot texts were read again, the button reads "編集"
};

// editorStarted is the button's state ("リスト更新" shown); slotNames are re-read from the list file.
EditorLaunch OpenMacroEditor(const MacroRecorder& recorder, int slotIndex, const std::wstring& programFolder,
                             bool& editorStarted, MacroSlotNames& slotNames, HWND owner);

}  // namespace korval
