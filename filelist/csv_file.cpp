// CSV files on disk.
#include "filelist/csv_file.h"

#include <windows.h>

#include <vector>

#include "filelist/csv_write.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"
#include "platform/read_file.h"
#include "platform/write_file.h"

namespace korval {

bool EnsureExtension(std::wstring& path, std::wstring_view extension) {
  if (EndsWithNoCase(path, extension)) return true;
  if (path.size() + extension.size() > kMaxLongPathChars) return false;
  path += extension;
  return true;
}

bool WriteCsvFile(const std::wstring& path, std::wstring_view text) { return ReplaceFileBytes(path, CsvFileBytes(text)); }

CsvFileText ReadCsvFile(const std::wstring& path, size_t maxRows) {
  const size_t limit = CsvFileByteLimit(maxRows);
  std::vector<unsigned char> bytes;
  // One byte more than the limit tells a file that is too large from one that just fits.
  if (!ReadFileHead(path, limit + 1, FILE_SHARE_READ, bytes)) {
    CsvFileText unreadable;
    unreadable.problem = CsvFileProblem::Unreadable;
    return unreadable;
  }
  return DecodeCsvFileBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), limit);
}

bool CopyFileReplacing(const std::wstring& source, const std::wstring& target) {
  ClearDataFileAttributes(target);
  return CopyFileW(source.c_str(), target.c_str(), FALSE) != 0;
}

}  // namespace korval
