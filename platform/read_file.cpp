// Reading a data file whole.
#include "platform/read_file.h"

#include <algorithm>

#include "platform/scoped_handle.h"

namespace korval {

bool ReadFileHead(const std::wstring& path, size_t limit, DWORD shareMode, std::vector<unsigned char>& bytes) {
  bytes.clear();
  if (path.empty()) return false;
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return false;
  const size_t want = static_cast<size_t>(std::min<long long>(size.QuadPart, static_cast<long long>(limit)));
  bytes.resize(want);
  size_t have = 0;
  while (have < want) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(want - have, 1u << 24));
    if (!ReadFile(file.Get(), bytes.data() + have, ask, &got, nullptr)) {
      bytes.clear();
      return false;
    }
    if (got == 0) break;  // the file shrank while it was read
    have += got;
  }
  bytes.resize(have);
  return true;
}

}  // namespace korval
