// What is at a path (a folder, a file, or nothing), and deleting a file whatever its attributes say.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace korval {

enum PathKindResult : int { kPathIsFile = 0, kPathIsFolder = 1, kPathIsMissing = 3 };

// 1 for an existing folder, 0 for an existing file, 3 when nothing is there (or the path is empty).
// Asks for the attributes rather than a find-first lookup, so wildcard characters in the path match
// nothing and a drive root counts as a folder.
int PathKind(const std::wstring& path, FileSystem& fs = SystemFileSystem());

// Clears the read-only, hidden, system and archive attributes of a file and deletes it. A folder is
// left alone. Returns whether the file is gone (false, with the error of the failing call, otherwise).
bool DeleteFileForce(const std::wstring& path, FileSystem& fs = SystemFileSystem());

}  // namespace korval
