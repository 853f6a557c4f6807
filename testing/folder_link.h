// Folder links for tests: a link on the disk that leads to another folder, as a junction or a
// symbolic link does on Windows.
#pragma once

#include <string>

namespace korval {

// Makes link (a path that does not exist yet) lead to the folder target; true once the link is
// there and the system shows it as a folder link.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);

}  // namespace korval
