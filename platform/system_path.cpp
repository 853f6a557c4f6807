// Paths the system would change, handed over verbatim.
#include "platform/system_path.h"

#include <cwctype>

#include "platform/path_limits.h"

namespace korval {

bool IsReservedDeviceName(std::wstring_view name) {
  // The device is named by what stands before the first dot, trailing spaces ignored.
  std::wstring_view base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  auto is = [&](std::wstring_view word) {
    if (base.size() != word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (std::towupper(base[i]) != word[i]) return false;
    }
    return true;
  };
  if (is(L"CON") || is(L"PRN") || is(L"AUX") || is(L"NUL")) return true;
  if (base.size() != 4 || base[3] < L'1' || base[3] > L'9') return false;
  base = base.substr(0, 3);
  return is(L"COM") || is(L"LPT");
}

bool NeedsVerbatimPath(std::wstring_view path) {
  if (path.size() >= kPathBuffer) return true;
  // The drive or the share's server and name are not parts a user names.
  size_t start = 0;
  if (path.size() >= 3 && path[1] == L':') {
    start = 3;
  } else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
    const size_t server = path.find(L'\\', 2);
    const size_t share = server == std::wstring_view::npos ? server : path.find(L'\\', server + 1);
    if (share == std::wstring_view::npos) return false;
    start = share + 1;
  }
  while (start < path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring_view::npos) end = path.size();
    const std::wstring_view part = path.substr(start, end - start);
    const bool dots = part == L"." || part == L"..";
    // A mask of a folder listing ("*", "x?") is no name.
    const bool mask = part.find_first_of(L"*?") != std::wstring_view::npos;
    if (!part.empty() && !dots && !mask &&
        (part.back() == L'.' || part.back() == L' ' || IsReservedDeviceName(part))) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

std::wstring SystemPath(const wchar_t* path) {
  const std::wstring_view view(path);
  const bool drive = view.size() >= 3 && view[1] == L':' && view[2] == L'\\';
  const bool share = view.size() > 2 && view[0] == L'\\' && view[1] == L'\\' && view[2] != L'?' && view[2] != L'.';
  if ((!drive && !share) || !NeedsVerbatimPath(view)) return std::wstring(view);
  // The verbatim form takes no "." or ".." and no forward slashes: such a path stays as it is.
  if (view.find(L'/') != std::wstring_view::npos || view.find(L"\\.\\") != std::wstring_view::npos ||
      view.find(L"\\..\\") != std::wstring_view::npos) {
    return std::wstring(view);
  }
  if (drive) return L"\\\\?\\" + std::wstring(view);
  return L"\\\\?\\UNC\\" + std::wstring(view.substr(2));
}

}  // namespace korval
