// The tag menu: read the focused row's file once for every tag but the hashes (a hash would read
// the whole file while the menu waits), list the tags in groups, insert the choice at the caret.
#include "ui/tag_menu.h"

#include <commctrl.h>

#include "metadata/read_tags.h"
#include "modes/tags_in_names.h"
#include "resources/resource.h"
#include "ui/command_table.h"

namespace korval {
namespace {

constexpr int kFirstTagItem = 1;
// The menu's groups end behind these tags.
constexpr Tag kGroupEnds[] = {Tag::Composer, Tag::FocalLength, Tag::Duration, Tag::Subject};
constexpr size_t kMaxShownValueChars = 60;

bool EndsGroup(Tag tag) {
  for (const Tag end : kGroupEnds) {
    if (end == tag) return true;
  }
  return false;
}

// Menus take "&" as the sign of an access key: a value's own "&" is doubled.
std::wstring MenuSafe(std::wstring text) {
  if (text.size() > kMaxShownValueChars) text = text.substr(0, kMaxShownValueChars) + L"…";
  for (size_t at = text.find(L'&'); at != std::wstring::npos; at = text.find(L'&', at + 2)) text.insert(at, 1, L'&');
  return text;
}

}  // namespace

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

std::wstring TagMenuText(const TagDescriptor& tag, const TagValues& values) {
  std::wstring text = MenuSafe(tag.label) + L"  <:" + tag.name + L">";
  if (const std::wstring* value = values.Find(tag.tag)) {
    const std::wstring shown = TagValueForName(tag.tag, *value, 0);
    if (!shown.empty()) text += L"\t" + MenuSafe(shown);
  }
  return text;
}

void ShowTagMenu(Workspace& work, Frame& frame, int buttonId) {
  HWND box = frame.Item(TagBoxOf(buttonId));
  HWND button = frame.Item(buttonId);
  if (!box || !button) return;
  // Where the caret stood: a combo box selects all its text when it takes the focus back.
  HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  if (!edit) edit = box;
  DWORD selectionStart = 0, selectionEnd = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
  TagValues values(TagSet::All().Without(kHashTags));
  // The focused row's values, or the first row's while none has the focus.
  if (const size_t row = frame.FocusedRow().value_or(0); row < work.list.Count()) {
    const RenameItem& item = work.list.Row(row);
    values = work.tagCache.ValuesFor(item.SourcePath(), TagSet::All().Without(kHashTags));
  }
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (const TagDescriptor& tag : kTagTable) {
    AppendMenuW(menu, MF_STRING, kFirstTagItem + static_cast<int>(tag.tag), TagMenuText(tag, values).c_str());
    if (EndsGroup(tag.tag)) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
  RECT at{};
  GetWindowRect(button, &at);
  const int chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.left, at.bottom, 0,
                                    frame.main, nullptr);
  DestroyMenu(menu);
  if (chosen < kFirstTagItem || chosen >= kFirstTagItem + kTagCount) return;
  const std::wstring text = std::wstring(L"<:") + kTagTable[chosen - kFirstTagItem].name + L">";
  // The tag replaces what was selected; the edit's change notice starts live names as typing does.
  SetFocus(box);
  SendMessageW(edit, EM_SETSEL, selectionStart, selectionEnd);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace korval
