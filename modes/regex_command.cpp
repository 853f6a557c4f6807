// Building the substitution command.
#include "modes/regex_command.h"

#include <cwchar>

namespace korval {

std::wstring BuildRegexCommand(const std::wstring& search, const std::wstring& replacement, int repmode, int repcase) {
  const std::wstring joined = search + L"/" + replacement;
  std::wstring copied;
  bool inReplacement = false;
  for (size_t i = 0; i < joined.size(); ++i) {
    const wchar_t c = joined[i];
    if (c == L'\\' && i + 1 < joined.size()) {
      const wchar_t next = joined[++i];
      if (next == L'\\') {
        copied += L"\\\\";
      } else if (wcschr(L"actnr", next)) {
        copied += next;
      } else if (inReplacement && wcschr(L"fs:e", next)) {
        copied += L"\\\\\\\\";
        copied += next;
      } else {
        copied += c;
        copied += next;
      }
      continue;
    }
    if (c == L'/') inReplacement = true;
    copied += c;
  }
  std::wstring command = L"s/" + copied + L"/k";
  if (repmode == 0) command += L'g';
  if (repcase == 0) command += L'i';
  return command;
}

}  // namespace korval
