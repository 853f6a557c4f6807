// Finding a renamed item under the name the system gave it.
#include "engine/name_arrival.h"

namespace korval {
namespace {

// The entry the rename made, if the system cut target's name: a name that is a proper beginning of
// it, new in the folder. The longest such name when several are.
std::wstring CutNameOf(FileSystem& fs, PathExistence& before, const std::wstring& folder, const std::wstring& name) {
  const std::wstring nameKey = FileSystemKey(name);
  // A mask keeps the listing to the names that begin as the asked one does.
  const std::wstring mask = name.substr(0, name.size() < 4 ? name.size() : 4) + L"*";
  std::wstring found;
  fs.ListMatching(folder.c_str(), mask.c_str(), [&](const WIN32_FIND_DATAW& entry) {
    const std::wstring entryName = entry.cFileName;
    if (entryName.size() >= name.size() || entryName.size() <= found.size()) return;
    if (nameKey.compare(0, entryName.size(), FileSystemKey(entryName)) != 0) return;
    if (before.ExistsIn(folder, entryName)) return;
    found = entryName;
  });
  return found;
}

}  // namespace

ArrivalResult CheckArrival(FileSystem& fs, PathExistence& before, const std::wstring& source,
                           const std::wstring& target) {
  const size_t slash = target.find_last_of(L'\\');
  const std::wstring folder = target.substr(0, slash + 1);
  const std::wstring name = target.substr(slash + 1);
  WIN32_FIND_DATAW found{};
  // Letter case and width as the file system folds them count as the name asked for.
  if (fs.Find(target.c_str(), &found) && FileSystemKey(found.cFileName) == FileSystemKey(name)) return {};
  const std::wstring cut = CutNameOf(fs, before, folder, name);
  if (cut.empty()) return {Arrival::Lost, L""};
  const std::wstring at = folder + cut;
  if (fs.Move(at.c_str(), source.c_str())) return {Arrival::PutBack, L""};
  return {Arrival::Elsewhere, at};
}

}  // namespace korval
