// Attribute changes of one item through the file-system seam.
#include "engine/file_attributes.h"

namespace korval {

DWORD SettableAttributes(DWORD attributes) {
  constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD settable = attributes & kSettable;
  return settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL;
}

int FileAttributes(const AttributeChoices& choices, const std::wstring& path, AttributeFlags* oldFlags,
                   FileSystem& fs) {
  if (path.empty()) return 1;
  const DWORD before = fs.GetAttributes(path.c_str());
  if (before == INVALID_FILE_ATTRIBUTES) return 1;
  DWORD after = before;
  for (size_t i = 0; i < kChoiceAttributes.size(); ++i) {
    const DWORD bit = kChoiceAttributes[i];
    if (oldFlags) (*oldFlags)[i] = (before & bit) ? L'Y' : L'N';
    if (choices[i] == kAttributeSet) after |= bit;
    if (choices[i] == kAttributeClear) after &= ~bit;
  }
  return fs.SetAttributes(path.c_str(), SettableAttributes(after)) ? 0 : 1;
}

}  // namespace korval
