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

// Whether another item of from's folder carries from's name in another letter case (a folder that
// tells case apart). Every lookup of that name may then find the other item: an item moved away
// under a temporary name could neither take its new spelling nor come back.
bool NameSharedByCase(FileSystem& fs, const std::wstring& from) {
  const size_t slash = from.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash + 1 >= from.size()) return false;
  const std::wstring name = from.substr(slash + 1);
  const std::wstring key = FileSystemKey(name);
  // One wildcard keeps the lookup a scan that hands over only the names alike.
  const std::wstring mask = name.substr(0, name.size() - 1) + L"?";
  int alike = 0;
  fs.ListMatching(from.substr(0, slash + 1).c_str(), mask.c_str(), [&](const WIN32_FIND_DATAW& entry) {
    if (FileSystemKey(entry.cFileName) == key) ++alike;
  });
  return alike > 1;
}

bool RenameThroughTemp(FileSystem& fs, const std::wstring& from, const std::wstring& to, std::wstring* parkedAt) {
  if (NameSharedByCase(fs, from)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
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

bool IsParked(FileSystem& fs, const std::wstring& parkedFor) {
  const std::wstring temp = TempName(parkedFor);
  return temp != parkedFor && fs.GetAttributes(temp.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace korval
