// Extension replacement by the rules of the system's path calls: the extension starts at the last
// "." of the last component, unless a space follows that dot.
#include "modes/extension.h"

#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

size_t ExtensionStart(const std::wstring& path) {
  size_t dot = std::wstring::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == L'\\' || path[i] == L' ') {
      dot = std::wstring::npos;
    } else if (path[i] == L'.') {
      dot = i;
    }
  }
  return dot == std::wstring::npos ? path.size() : dot;
}

}  // namespace

void ExtensionTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  target = source;
  Truncate(target, kMaxBuiltPath);
  if (!ctx.params) return;
  const std::wstring& text = ctx.params->extensionText;
  const std::wstring extension = text.empty() ? std::wstring() : L"." + text;

  if (ctx.params->extadd) {
    target += extension;
    Truncate(target, kMaxBuiltPath);
    return;
  }
  // A result that would not fit leaves the path unchanged, as the system call does, rather than
  // cutting the new extension short.
  const size_t start = ExtensionStart(target);
  if (start + extension.size() > kMaxBuiltPath) return;
  target.replace(start, std::wstring::npos, extension);
}

}  // namespace korval
