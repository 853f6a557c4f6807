// String helpers shared by the transforms.
#include "modes/string_helpers.h"

#include <cwctype>

#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr size_t kReplaceLimit = 204800;

bool IsLowerHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

void CutPart(std::wstring& part) { Truncate(part, kMaxBuiltPath); }

}  // namespace

int Clamp(int low, int value, int high) { return value < low ? low : (value > high ? high : value); }

bool InRange(int low, int value, int high) { return value >= low && value <= high; }

bool Truncate(std::wstring& text, size_t n) {
  if (text.size() <= n) return false;
  text.resize(n);
  return true;
}

bool DecodeUnicodeEscapes(std::wstring& text, size_t limit) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == L'\\' && i + 6 <= text.size() && text[i + 1] == L'u' && IsLowerHex(text[i + 2]) &&
        IsLowerHex(text[i + 3]) && IsLowerHex(text[i + 4]) && IsLowerHex(text[i + 5])) {
      out.push_back(static_cast<wchar_t>(std::stoi(text.substr(i + 2, 4), nullptr, 16)));
      i += 6;
    } else {
      out.push_back(text[i++]);
    }
  }
  const bool cut = limit > 0 && Truncate(out, limit - 1);
  text = std::move(out);
  return cut;
}

void ReplaceText(std::wstring& text, size_t capacity, std::wstring_view search, std::wstring_view replacement,
                 int mode) {
  if (capacity == 0 || capacity > kReplaceLimit || search.empty()) return;
  size_t from = 0;
  for (;;) {
    const size_t at = text.find(search, from);
    if (at == std::wstring::npos) break;
    text.replace(at, search.size(), replacement);
    from = at + replacement.size();
    if (mode == 0 || text.size() > kReplaceLimit) break;
  }
  Truncate(text, capacity - 1);
}

bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
  // Iterative matcher with one backtracking point for the last "*": linear for ordinary patterns.
  size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::wstring_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view ending) {
  if (text.size() < ending.size()) return false;
  const std::wstring_view tail = text.substr(text.size() - ending.size());
  for (size_t i = 0; i < ending.size(); ++i) {
    if (std::towlower(tail[i]) != std::towlower(ending[i])) return false;
  }
  return true;
}

PathParts SplitPath(std::wstring_view path) {
  PathParts parts;
  size_t rest = 0;
  if (path.size() >= 2 && path[1] == L':') {
    parts.drive = path.substr(0, 2);
    rest = 2;
  } else if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    // A network path: the server and share make the "drive", as the folder begins after them.
    size_t server = path.find_first_of(L"\\/", 2);
    size_t share = server == std::wstring_view::npos ? server : path.find_first_of(L"\\/", server + 1);
    rest = share == std::wstring_view::npos ? path.size() : share;
    parts.drive = path.substr(0, rest);
  }
  const size_t lastSlash = path.find_last_of(L"\\/");
  const size_t nameStart = (lastSlash == std::wstring_view::npos || lastSlash < rest) ? rest : lastSlash + 1;
  parts.folder = path.substr(rest, nameStart - rest);
  const std::wstring_view name = path.substr(nameStart);
  const size_t dot = name.find_last_of(L'.');
  if (dot == std::wstring_view::npos) {
    parts.stem = name;
  } else {
    parts.stem = name.substr(0, dot);
    parts.extension = name.substr(dot);
  }
  CutPart(parts.drive);
  CutPart(parts.folder);
  CutPart(parts.stem);
  CutPart(parts.extension);
  return parts;
}

PathParts SplitPathForMode(std::wstring_view path, int fileDir) {
  PathParts parts = SplitPath(path);
  if (fileDir == 1) {
    parts.stem += parts.extension;
    parts.extension.clear();
    CutPart(parts.stem);
  }
  return parts;
}

}  // namespace korval
