// Path kinds and forced deletes, through the file-system seam.
#include "engine/path_kind.h"

namespace korval {

int PathKind(const std::wstring& path, FileSystem& fs) {
  if (path.empty()) return kPathIsMissing;
  const DWORD attributes = fs.GetAttributes(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return kPathIsMissing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kPathIsFolder : kPathIsFile;
}

bool DeleteFileForce(const std::wstring& path, FileSystem& fs) {
  if (path.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  const DWORD attributes = fs.GetAttributes(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    SetLastError(ERROR_ACCESS_DENIED);  // what deleting a folder as a file reports
    return false;
  }
  constexpr DWORD kCleared =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  // The file goes anyway, so its other attributes need no keeping. A failure here is left to the
  // delete, which reports the reason that matters.
  if (attributes & kCleared) fs.SetAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return fs.Delete(path.c_str());
}

}  // namespace korval
