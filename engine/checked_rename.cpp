// Renames that check their result and park an item only under a name the undo knows.
#include "engine/checked_rename.h"

#include "engine/path_existence.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr const wchar_t* kTempSuffix = L"$korval$.$";
constexpr size_t kTempSuffixLength = 10;
constexpr const wchar_t* kShortTempMark = L"$k$";
constexpr size_t kShortTempMarkLength = 3;

// Whether the item at path carries exactly the spelling of path's last part.
bool SpelledOnDisk(FileSystem& fs, const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  if (!fs.Find(path.c_str(), &found)) return false;
  const size_t slash = path.find_last_of(L'\\');
  return path.compare(slash == std::wstring::npos ? 0 : slash + 1, std::wstring::npos, found.cFileName) == 0;
}

bool RenameThroughTemp(FileSystem& fs, const std::wstring& from, const std::wstring& to, std::wstring* parkedAt) {
  const std::wstring temp = TempName(to);
  // A first step that fails leaves nothing to do: an item already under the temporary name is
  // somebody else's and is never moved into place.
  if (!fs.Move(from.c_str(), temp.c_str())) return false;
  if (fs.Move(temp.c_str(), to.c_str())) return true;
  const DWORD error = GetLastError();
  if (!fs.Move(temp.c_str(), from.c_str()) && parkedAt) *parkedAt = temp;
  SetLastError(error);
  return false;
}

}  // namespace

std::wstring TempName(const std::wstring& target) {
  if (target.size() + kTempSuffixLength <= kMaxPathChars) return target + kTempSuffix;
  const size_t slash = target.find_last_of(L'\\');
  const size_t nameAt = slash == std::wstring::npos ? 0 : slash + 1;
  const size_t nameLength = target.size() - nameAt;
  const size_t marked = nameLength < kShortTempMarkLength ? nameLength : kShortTempMarkLength;
  return target.substr(0, target.size() - marked) + std::wstring(kShortTempMark, marked);
}

bool RenameChecked(FileSystem& fs, const std::wstring& from, const std::wstring& to, bool twoSteps,
                   std::wstring* parkedAt) {
  if (!twoSteps && !IsCaseOnlyChange(from, to)) return fs.Move(from.c_str(), to.c_str());
  if (!twoSteps) {
    // A refusal is final: in a case-sensitive folder another item may carry the new spelling.
    if (!fs.Move(from.c_str(), to.c_str())) return false;
    if (SpelledOnDisk(fs, to)) return true;
  }
  return RenameThroughTemp(fs, from, to, parkedAt);
}

bool RecoverParked(FileSystem& fs, const std::wstring& parkedFor, const std::wstring& restoreTo) {
  const std::wstring temp = TempName(parkedFor);
  if (temp == parkedFor || fs.GetAttributes(temp.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  return fs.Move(temp.c_str(), restoreTo.c_str());
}

}  // namespace korval
