// Which paths are refused before reading.
#include "platform/path_refusal.h"

#include "platform/path_limits.h"

namespace korval {
namespace {

bool HasBrokenCharacter(std::wstring_view path) {
  for (size_t i = 0; i < path.size(); ++i) {
    const wchar_t c = path[i];
    if (c == L'\0') return true;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= path.size() || path[i + 1] < 0xDC00 || path[i + 1] > 0xDFFF) return true;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

bool HasLongPart(std::wstring_view path) {
  size_t partStart = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == L'\\' || path[i] == L'/') {
      if (i - partStart > kMaxNameChars) return true;
      partStart = i + 1;
    }
  }
  return false;
}

}  // namespace

const wchar_t* PathRefusal(std::wstring_view path) {
  if (HasBrokenCharacter(path)) return kBrokenPathReason;
  // "\\?\", "\\.\" (devices) and the system's own "\??\" spelling.
  if (path.size() >= 4 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/' || path[1] == L'?') &&
      (path[2] == L'?' || path[2] == L'.') && (path[3] == L'\\' || path[3] == L'/')) {
    return kVerbatimPathReason;
  }
  if (path.size() > kMaxLongPathChars) return kTooLongReason;
  if (HasLongPart(path)) return kLongPartReason;
  return nullptr;
}

}  // namespace korval
