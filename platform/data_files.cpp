// Data file names in the program folder.
#include "platform/data_files.h"

#include <windows.h>

#include "platform/format_text.h"

namespace korval {
namespace {

constexpr const wchar_t* kPatterns[] = {
    L"%srename%d.log", L"%smacro%d.bin",   L"%smacro%d",  L"%smacro.lst",
    L"%skorvalith.ini", L"%suse.ini", L"%strace.txt", L"%sedit_ren.txt",
};

}  // namespace

std::wstring DataFilePath(DataFile kind, const std::wstring& folder, int number) {
  // Patterns without "%d" ignore the extra argument.
  return FormatText(kPatterns[static_cast<int>(kind)], folder.c_str(), number);
}

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace korval
