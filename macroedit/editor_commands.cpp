// One row per command: its id and what it does.
#include "macroedit/editor_commands.h"

#include "macroedit/list_commands.h"
#include "macroedit/slot_commands.h"
#include "macroedit/window_commands.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

constexpr DWORD kButtonQuietMs = 100;

struct Command {
  int id;
  void (*run)(EditorState&);
};

const Command kCommands[] = {
    {IDM_EXIT, [](EditorState& s) { PostMessageW(s.window, WM_CLOSE, 0, 0); }},
    {IDM_CUT, CutCommand},
    {IDM_COPY, CopyCommand},
    {IDM_PASTE, PasteCommand},
    {IDM_REDUCE, ReduceReplacementSteps},
    {IDM_TOPMOST, ToggleTopmost},
    {IDM_STATUS_BAR, ToggleStatusBar},
    {IDM_SELECT_ALL, SelectAllCommand},
    {IDM_INVERT_SELECTION, InvertSelection},
    {IDM_MOVE_UP, [](EditorState& s) { MoveRows(s, MoveDirection::Up); }},
    {IDM_MOVE_DOWN, [](EditorState& s) { MoveRows(s, MoveDirection::Down); }},
    {IDM_RESET, ReloadSlot},
    {IDM_ADD_STEP, AddStepFromPanel},
    {IDM_PREVIOUS_MODE, [](EditorState& s) { StepMode(s, -1); }},
    {IDM_NEXT_MODE, [](EditorState& s) { StepMode(s, +1); }},
    {IDM_HELP, ShowHelp},
    {IDM_REMOVE_SETTINGS, RemoveSettingsAndClose},
    {IDM_ABOUT, ShowAbout},
    {IDM_DELETE_ROWS, DeleteRows},
    {IDM_DELETE_ALL_ROWS, DeleteAllRows},
    {IDC_PREVIOUS_SLOT, PreviousSlot},
    {IDC_NEXT_SLOT, NextSlot},
    {IDC_DELETE_MACRO, DeleteMacroFile},
    {IDC_SAVE_AS, SaveListAs},
    {IDC_ASSIST, OpenSerialAssist},
    {IDC_SERIAL_TAGS, OpenTagMenu},
    {IDC_ADD_TAGS, OpenTagMenu},
    {IDC_REPLACE_TAGS, OpenTagMenu},
    {IDM_TAG_MENU, OpenTagMenu},
    {IDC_POSITION_SET, TogglePositionSample},
};

constexpr int kLastModeButton = 14;

// Whether the buttons are still quiet after the last one; starts a new quiet time otherwise.
bool ButtonsQuiet(EditorState& state) {
  const DWORD now = GetTickCount();
  if (static_cast<LONG>(now - state.buttonsQuietUntil) < 0) return true;
  state.buttonsQuietUntil = now + kButtonQuietMs;
  return false;
}

}  // namespace

bool DispatchEditorCommand(EditorState& state, int id, bool fromButton) {
  const bool modeButton = id > IDC_MODE_BUTTON && id <= IDC_MODE_BUTTON + kLastModeButton;
  const Command* found = nullptr;
  for (const Command& command : kCommands) {
    if (command.id == id) found = &command;
  }
  if (!modeButton && !found) return false;
  if (fromButton && ButtonsQuiet(state)) return true;
  if (modeButton) {
    SelectMode(state, id - IDC_MODE_BUTTON);
  } else {
    found->run(state);
  }
  return true;
}

}  // namespace korval
