// The editor's command table: every menu item, key and button of the main dialog by its id.
#pragma once

#include "macroedit/editor_state.h"

namespace korval {

// Runs the command; false when the id is not a command. Buttons of the main dialog are ignored for
// 100 ms after each one.
bool DispatchEditorCommand(EditorState& state, int id, bool fromButton);

}  // namespace korval
