// A file written whole at the end of a job through a temporary file beside it, created at the
// start: a job that must leave the file behind can refuse to begin when it could not be written,
// and a reader never sees half of it.
#pragma once

#include <string>
#include <string_view>

#include "platform/scoped_handle.h"

namespace korval {

class StagedFile {
 public:
  StagedFile() = default;
  ~StagedFile();  // a temporary file that was never committed is removed
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Creates the temporary file in the target's folder. False (GetLastError says why) when the
  // target cannot be written: an empty path, a folder that does not exist or takes no new file, a
  // target that is a folder or a read-only file, or one that cannot be opened for writing.
  bool Open(const std::wstring& path);
  bool IsOpen() const { return file_.Valid(); }
  // The target as a full path.
  const std::wstring& Target() const { return target_; }

  // Writes the bytes to the temporary file and renames it onto the target, replacing it. False
  // when a step failed; the temporary file is gone either way.
  bool Commit(std::string_view bytes);

 private:
  void Discard();
  std::wstring target_, temp_;
  ScopedFile file_;
};

}  // namespace korval
