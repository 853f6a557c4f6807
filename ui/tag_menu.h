// The menu of the "タグ" buttons beside the boxes whose text may hold tags: every tag with its label
// and the focused row's value, and the chosen tag written in at the box's caret.
#pragma once

#include <string>

#include "ui/workspace.h"

namespace korval {

// The box a tag button writes into (0 for an id that is no tag button).
int TagBoxOf(int buttonId);

// Shows the menu under the button and writes the chosen "<:Name>" into its box.
void ShowTagMenu(Workspace& work, Frame& frame, int buttonId);

}  // namespace korval
