// A file written whole at the end of a job: its place is checked at the start, so that a job that
// must leave the file behind can refuse to begin when it could not be written; at the end the text
// goes to a temporary file beside it, which is renamed into place, so a reader never sees half of it.
// It never replaces anything but an earlier file of the same kind, and the temporary file exists only
// for the moment of writing: a job that reads the folder meanwhile never meets it.
#pragma once

#include <string>
#include <string_view>

namespace korval {

class StagedFile {
 public:
  // Checks that the file can be written at path. An existing file there is replaced only when it
  // begins with ownHead (an earlier file the same job wrote). False (GetLastError says why) for an
  // empty path, a folder that does not exist or takes no new file, a target that is a folder, a
  // read-only file or one that cannot be opened for writing (ERROR_ACCESS_DENIED ...), and any other
  // existing file (ERROR_FILE_EXISTS).
  bool Open(const std::wstring& path, std::string_view ownHead);
  bool IsOpen() const { return !target_.empty(); }
  // The target as a full path.
  const std::wstring& Target() const { return target_; }

  // Writes the bytes to a temporary file in the target's folder and renames it onto the target. An
  // item that stands at the target by now is replaced only when it is the earlier file of the same
  // kind that stood there at Open. False when a step failed (GetLastError says why): the target is as it was, and the
  // temporary file is gone.
  bool Commit(std::string_view bytes);

 private:
  std::wstring target_, folder_;
  std::string ownHead_;
  // The earlier file found at the target when the job began (its volume and index), if any: at the end
  // only that very file is replaced, never one the job or anybody else put there meanwhile, even when
  // it begins like the job's own.
  bool hadEarlier_ = false;
  unsigned long long earlierId_ = 0;
};

// Whether the file at path begins with head.
bool FileBeginsWith(const std::wstring& path, std::string_view head);

// Writes bytes to a new file in folder named stem + extension, or stem(1) + extension and so on when
// that name is taken: never over an existing item. Returns the path written, or an empty string.
std::wstring WriteNewFile(const std::wstring& folder, const std::wstring& stem, const std::wstring& extension,
                          std::string_view bytes);

}  // namespace korval
