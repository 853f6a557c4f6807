// The form in which a path is handed to the system. Windows trims a trailing dot or space from every
// part of an ordinary path and takes a reserved device name (CON, NUL ...) for the device, so an item
// named "draft." or "CON.txt" (which other systems, shares and earlier programs make) cannot be
// reached by its ordinary path: "C:\x\draft." names "C:\x\draft", another file. Through "\\?\" the
// system takes the path as it stands.
#pragma once

#include <string>
#include <string_view>

namespace korval {

// Whether name (one part of a path) is a reserved device name: CON, PRN, AUX, NUL, COM1-9, LPT1-9,
// with any extension and trailing spaces before it.
bool IsReservedDeviceName(std::wstring_view name);

// Whether the system would not take path as it stands: some part of it would be trimmed or read as a
// device, or it is kPathBuffer characters or longer (a system that does not take long paths for the
// process refuses those; "\\?\" reaches them on every system).
bool NeedsVerbatimPath(std::wstring_view path);

// path itself, or its "\\?\" form ("\\?\UNC\server\..." for a share) when it is full and the system
// would not take it as it stands. A relative path is returned as it is.
std::wstring SystemPath(const wchar_t* path);

// The system's form of a path for one call, made only where it differs from the path (no copy of
// the ordinary paths, which are nearly all of them).
class SystemPathArg {
 public:
  explicit SystemPathArg(const wchar_t* path) : path_(path) {
    if (NeedsVerbatimPath(path)) {
      verbatim_ = SystemPath(path);
      path_ = verbatim_.c_str();
    }
  }
  const wchar_t* c_str() const { return path_; }
  bool Verbatim() const { return !verbatim_.empty() && verbatim_.c_str() == path_; }

 private:
  const wchar_t* path_;
  std::wstring verbatim_;
};

}  // namespace korval
