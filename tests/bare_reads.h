// What the benchmark's readers of file contents are measured against: opening each file and reading
// its first 64 KB, the least any reader of a file's content does.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/scoped_handle.h"

namespace korval {

inline double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The bytes read in all.
inline size_t BareReads(const std::vector<std::wstring>& paths) {
  constexpr DWORD kBareReadBytes = 64 * 1024;
  std::vector<char> buffer(kBareReadBytes);
  size_t total = 0;
  for (const std::wstring& path : paths) {
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD got = 0;
    if (file && ReadFile(file.Get(), buffer.data(), kBareReadBytes, &got, nullptr)) total += got;
  }
  return total;
}

}  // namespace korval
