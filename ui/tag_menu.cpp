// The renamer's tag menu: read the focused row's file once for every tag but the hashes (a hash
// would read the whole file while the menu waits) and offer them for the mode's box.
#include "ui/tag_menu.h"

#include <commctrl.h>

#include "metadata/read_tags.h"
#include "modes/tag_choice.h"
#include "resources/resource.h"
#include "ui/command_table.h"

namespace korval {

void OnTagMenu(CommandContext& c) {
  // The tag button of the mode shown; modes without one have no box that takes tags.
  for (const int button : {IDC_SERIAL_TAGS, IDC_ADD_TAGS, IDC_REPLACE_TAGS}) {
    HWND control = c.frame.Item(button);
    if (control && IsWindowVisible(control)) return ShowTagMenu(c.work, c.frame, button);
  }
}

int TagBoxOf(int buttonId) {
  switch (buttonId) {
    case IDC_SERIAL_TAGS: return IDC_SERIAL_TEMPLATE;
    case IDC_ADD_TAGS: return IDC_ADD_TEXT;
    case IDC_REPLACE_TAGS: return IDC_REPLACE_TO;
    default: return 0;
  }
}

void ShowTagMenu(Workspace& work, Frame& frame, int buttonId) {
  const TagSet shown = TagSet::All().Without(kHashTags);
  TagValues values(shown);
  // The focused row's values, or the first row's while none has the focus.
  if (const size_t row = frame.FocusedRow().value_or(0); row < work.list.Count()) {
    values = work.tagCache.ValuesFor(work.list.Row(row).SourcePath(), shown);
  }
  ChooseTagIntoBox(frame.main, frame.Item(buttonId), frame.Item(TagBoxOf(buttonId)), values);
}

}  // namespace korval
