// Setting and clearing the read-only, hidden, archive and system attributes of one item, reporting
// what they were so the change can be undone.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "platform/file_system.h"

namespace korval {

// A choice per attribute, in the order read-only, hidden, archive, system.
enum AttributeChoice : int { kAttributeClear = 0, kAttributeSet = 1, kAttributeLeave = 2 };
inline constexpr std::array<DWORD, 4> kChoiceAttributes = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                                                          FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_SYSTEM};

using AttributeChoices = std::array<int, 4>;
using AttributeFlags = std::array<wchar_t, 4>;  // 'Y' or 'N' per attribute, same order

// Reads the attributes, reports them as 'Y'/'N' into oldFlags when it is given, applies the choices
// (1 set, 0 clear, 2 or anything else leave) and writes them back. 0 on success, 1 on failure.
int FileAttributes(const AttributeChoices& choices, const std::wstring& path, AttributeFlags* oldFlags,
                   FileSystem& fs = SystemFileSystem());

// The part of an attribute word that may be written back (the kind bits such as directory or
// compressed are not), FILE_ATTRIBUTE_NORMAL when nothing is left.
DWORD SettableAttributes(DWORD attributes);

}  // namespace korval
