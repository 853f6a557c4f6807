// 8.3 names through the file-system seam, with an optional change of letter case.
#include "modes/short_name.h"

#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

void ToUpperAscii(std::wstring& text) {
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
}

void ToLowerAscii(std::wstring& text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
}

}  // namespace

void ShortNameTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  static const ModeParams kDefaults;
  const ModeParams& params = ctx.params ? *ctx.params : kDefaults;
  FileSystem& fs = ctx.fs ? *ctx.fs : SystemFileSystem();

  std::wstring path = source;
  Truncate(path, kMaxLongPathChars);
  const PathParts parts = SplitPath(path);
  std::wstring name = parts.stem + parts.extension;

  std::wstring shortPath;
  if (!path.empty() && fs.ShortPath(path.c_str(), shortPath)) {
    const size_t slash = shortPath.find_last_of(L"\\/");
    name = slash == std::wstring::npos ? shortPath : shortPath.substr(slash + 1);
  }

  target = parts.Directory() + name;
  Truncate(target, kMaxLongPathChars);
  switch (Clamp(0, params.real8_3, 2)) {
    case 1:
      ToUpperAscii(target);
      break;
    case 2:
      ToLowerAscii(target);
      break;
    default:
      break;
  }
}

}  // namespace korval
