// Test helper for the file readers: a copy of some bytes fenced by inaccessible pages, so that a
// read even one byte before or past them faults at once instead of passing unnoticed.
#pragma once

#include <windows.h>

#include <cstring>

namespace korval {

class GuardedBytes {
 public:
  enum class Fence { kAfterEnd, kBeforeStart };

  GuardedBytes(const unsigned char* data, size_t size, Fence fence) : size_(size) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t dataPages = size == 0 ? 1 : (size + page - 1) / page;
    const size_t total = (dataPages + 2) * page;
    base_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (base_ == nullptr) return;
    DWORD old = 0;
    VirtualProtect(base_, page, PAGE_NOACCESS, &old);
    VirtualProtect(base_ + page + dataPages * page, page, PAGE_NOACCESS, &old);
    start_ = fence == Fence::kAfterEnd ? base_ + page + dataPages * page - size : base_ + page;
    if (size != 0) std::memcpy(start_, data, size);
  }
  ~GuardedBytes() {
    if (base_ != nullptr) VirtualFree(base_, 0, MEM_RELEASE);
  }
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;

  bool Valid() const { return base_ != nullptr; }
  const unsigned char* Data() const { return start_; }
  size_t Size() const { return size_; }

 private:
  unsigned char* base_ = nullptr;
  unsigned char* start_ = nullptr;
  size_t size_ = 0;
};

}  // namespace korval
