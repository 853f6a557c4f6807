// Writing data files whole.
#include "platform/write_file.h"

#include <algorithm>

#include "platform/scoped_handle.h"

namespace korval {
namespace {

constexpr DWORD kClearedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM;

}  // namespace

void ClearDataFileAttributes(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if ((attributes & kClearedAttributes) == 0) return;
  const DWORD kept = attributes & ~kClearedAttributes;
  SetFileAttributesW(path.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
}

bool WriteAllBytes(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 24));
    if (!WriteFile(file, bytes.data(), ask, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes) {
  if (path.empty()) return false;
  ClearDataFileAttributes(path);
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  return WriteAllBytes(file.Get(), bytes);
}

}  // namespace korval
