// The tag menu: the tags in groups, the file's values beside them, the choice written at the caret.
#include "modes/tag_choice.h"

#include "modes/tags_in_names.h"

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

std::wstring TagMenuText(const TagDescriptor& tag, const TagValues& values) {
  std::wstring text = MenuSafe(tag.label) + L"  <:" + tag.name + L">";
  if (const std::wstring* value = values.Find(tag.tag)) {
    const std::wstring shown = TagValueForName(tag.tag, *value, 0);
    if (!shown.empty()) text += L"\t" + MenuSafe(shown);
  }
  return text;
}

void ChooseTagIntoBox(HWND owner, HWND button, HWND box, const TagValues& values) {
  if (!box || !button) return;
  // Where the caret stood: a combo box selects all its text when it takes the focus back.
  HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  if (!edit) edit = box;
  DWORD selectionStart = 0, selectionEnd = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (const TagDescriptor& tag : kTagTable) {
    AppendMenuW(menu, MF_STRING, kFirstTagItem + static_cast<int>(tag.tag), TagMenuText(tag, values).c_str());
    if (EndsGroup(tag.tag)) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
  RECT at{};
  GetWindowRect(button, &at);
  const int chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.left, at.bottom, 0,
                                    owner, nullptr);
  DestroyMenu(menu);
  if (chosen < kFirstTagItem || chosen >= kFirstTagItem + kTagCount) return;
  const std::wstring text = std::wstring(L"<:") + kTagTable[chosen - kFirstTagItem].name + L">";
  // The tag replaces what was selected; the edit's change notice starts live names as typing does.
  SetFocus(box);
  SendMessageW(edit, EM_SETSEL, selectionStart, selectionEnd);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace korval
