// Lists folders on a thread of its own, ahead of a read that will ask for them: while the read makes
// rows of one folder's files, the folders it goes into next are listed on the other core. A read asks
// for its folders depth first, in the order it announces them; what a read that stopped did not ask
// for is dropped with the prefetch. Nothing here touches the list or the kept listings: the reader
// takes each listing on its own thread and keeps it there.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/kept_listings.h"
#include "platform/file_system.h"

namespace korval {

class FolderPrefetch {
 public:
  // fs is used by the prefetch's thread alone. At most maxReady listings wait to be taken.
  explicit FolderPrefetch(std::unique_ptr<FileSystem> fs, size_t maxReady = 4);
  ~FolderPrefetch();
  FolderPrefetch(const FolderPrefetch&) = delete;
  FolderPrefetch& operator=(const FolderPrefetch&) = delete;

  // Folders (each ending with a backslash) the read asks for next, in this order, before the ones
  // announced earlier and not yet asked for.
  void Announce(const std::vector<std::wstring>& folders);
  // The listing of folder and its entries, waiting for them while they are being made; the buffer
  // entries held before is kept for the listings to come (its memory is not given up and taken anew
  // for every folder). False when the folder was not announced, or not begun yet (it is then
  // forgotten: the caller lists it itself, at once).
  bool Take(const std::wstring& folder, FolderListing& listing, std::vector<WIN32_FIND_DATAW>& entries);

 private:
  void Run();

  std::unique_ptr<FileSystem> fs_;
  const size_t maxReady_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::wstring> waiting_;                         // announced, not begun
  std::wstring listing_;                                     // being listed now
  struct Made {
    std::wstring folder;
    FolderListing listing;
    std::vector<WIN32_FIND_DATAW> entries;
  };
  std::deque<Made> ready_;  // listed, not taken yet
  std::vector<std::vector<WIN32_FIND_DATAW>> spare_;  // emptied entry buffers to list into
  bool stop_ = false;
  std::thread thread_;  // started at the first announcement
};

}  // namespace korval
