// Folder listings made ahead of a read on a thread of their own.
#include "engine/folder_prefetch.h"

#include <algorithm>

namespace korval {

FolderPrefetch::FolderPrefetch(std::unique_ptr<FileSystem> fs, size_t maxReady)
    : fs_(std::move(fs)), maxReady_(maxReady < 1 ? 1 : maxReady) {}

FolderPrefetch::~FolderPrefetch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  // At most the folder being listed is waited for.
  if (thread_.joinable()) thread_.join();
}

void FolderPrefetch::Announce(const std::vector<std::wstring>& folders) {
  if (folders.empty()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_.insert(waiting_.begin(), folders.begin(), folders.end());
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  changed_.notify_all();
}

bool FolderPrefetch::Take(const std::wstring& folder, FolderListing& listing, std::vector<WIN32_FIND_DATAW>& entries) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto queued = std::find(waiting_.begin(), waiting_.end(), folder);
  if (queued != waiting_.end()) {
    waiting_.erase(queued);
    return false;
  }
  changed_.wait(lock, [&] { return listing_ != folder; });
  const auto ready = std::find_if(ready_.begin(), ready_.end(), [&](const Made& made) { return made.folder == folder; });
  if (ready == ready_.end()) return false;
  listing = std::move(ready->listing);
  entries.swap(ready->entries);
  spare_.push_back(std::move(ready->entries));
  ready_.erase(ready);
  lock.unlock();
  changed_.notify_all();
  return true;
}

void FolderPrefetch::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stop_ || (!waiting_.empty() && ready_.size() < maxReady_); });
    if (stop_) return;
    Made made;
    made.folder = std::move(waiting_.front());
    waiting_.pop_front();
    listing_ = made.folder;
    if (!spare_.empty()) {
      made.entries = std::move(spare_.back());
      spare_.pop_back();
    }
    lock.unlock();
    ListFolderInto(*fs_, made.folder, made.listing, &made.entries);
    lock.lock();
    ready_.push_back(std::move(made));
    listing_.clear();
    changed_.notify_all();
  }
}

}  // namespace korval
