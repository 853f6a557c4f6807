// Paths as the file system knows them: full, with backslashes, "." and ".." resolved, and the 8.3
// aliases of existing folders spelled long, so two spellings of one item compare equal (letter case
// aside) and a path read later from another current folder still names the same item.
#pragma once

#include <string>

namespace korval {

// The full form of path. The folders of it that exist are spelled as on disk (long names); the part
// that does not exist yet is kept as written. An empty string for an empty path or one the system
// cannot make full.
std::wstring FullPath(const std::wstring& path);

// Whether path is already full: a drive letter with a backslash ("C:\...") or a share ("\\server\...").
bool IsFullPath(const std::wstring& path);

}  // namespace korval
