#include "ui/macro_editor_launch.h"

#include <gtest/gtest.h>

#include "engine/show_message.h"
#include "platform/data_files.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct EditorWindow {
  HWND found = nullptr;
};

BOOL CALLBACK FindEditor(HWND window, LPARAM param) {
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (std::wstring(title) != L"マクロエディタ" || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<EditorWindow*>(param)->found = window;
  return FALSE;
}

HWND WaitForEditor() {
  for (int i = 0; i < 200; ++i) {
    EditorWindow editor;
    EnumWindows(FindEditor, reinterpret_cast<LPARAM>(&editor));
    if (editor.found) return editor.found;
    Sleep(50);
  }
  return nullptr;
}

TEST(MacroEditorLaunch, StartsTheEditorThenRereadsTheList) {
  SetMessagePolicy({});
  ScriptedMessageSink sink;
  TempFolder program;
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"korvalmacroedit.exe").c_str(), (program / L"korvalmacroedit.exe").c_str(), FALSE));
  MacroRecorder recorder;
  MacroSlotNames slots = UnregisteredSlots();
  bool started = false;
  ASSERT_EQ(EditorLaunch::Started, OpenMacroEditor(recorder, 2, program.Path(), started, slots, nullptr));
  EXPECT_TRUE(started);
  HWND editor = WaitForEditor();
  ASSERT_NE(nullptr, editor);
  PostMessageW(editor, WM_CLOSE, 0, 0);

  program.WriteFile(L"macro.lst", "3:renamed\n");
  EXPECT_EQ(EditorLaunch::ListReread, OpenMacroEditor(recorder, 2, program.Path(), started, slots, nullptr));
  EXPECT_FALSE(started);
  EXPECT_EQ(L"renamed", slots[2]);
  EXPECT_TRUE(sink.requests.empty());
}

TEST(MacroEditorLaunch, AMissingEditorAndARecordingAreTold) {
  SetMessagePolicy({});
  ScriptedMessageSink sink;
  TempFolder program;
  MacroSlotNames slots = UnregisteredSlots();
  bool started = false;
  MacroRecorder recorder;
  EXPECT_EQ(EditorLaunch::NotFound, OpenMacroEditor(recorder, 0, program.Path(), started, slots, nullptr));
  EXPECT_FALSE(started);
  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(L"マクロ編集ツールが見つかりません。", sink.requests[0].text);
  EXPECT_EQ(L"Macro Edit Tool not Found", sink.requests[0].caption);

  recorder.state = 1;
  EXPECT_EQ(EditorLaunch::Refused, OpenMacroEditor(recorder, 0, program.Path(), started, slots, nullptr));
  EXPECT_EQ(L"マクロ記録中は編集できません。", sink.requests.back().text);
  EXPECT_EQ(L"Macro Recording", sink.requests.back().caption);
}

}  // namespace
}  // namespace korval
