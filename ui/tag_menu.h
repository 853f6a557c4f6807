// The menu of the "タグ" buttons beside the boxes whose text may hold tags: every tag with its label
// and the focused row's value, and the chosen tag written in at the box's caret.
#pragma once

#include <string>

#include "metadata/tag_values.h"
#include "ui/workspace.h"

namespace korval {

// The box a tag button writes into (0 for an id that is no tag button).
int TagBoxOf(int buttonId);

// One menu line: "タイトル <:Title>" and, when the file has the tag, its value behind a tab.
std::wstring TagMenuText(const TagDescriptor& tag, const TagValues& values);

// Shows the menu under the button and writes the chosen "<:Name>" into its box.
void ShowTagMenu(Workspace& work, Frame& frame, int buttonId);

}  // namespace korval
