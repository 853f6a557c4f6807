// Splitting a command line as the system does.
#include "platform/command_line_split.h"

#include <windows.h>

namespace korval {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
  if (line.empty()) return {ModulePath()};
  std::vector<std::wstring> arguments(1);
  size_t at = 0;
  // The program's path: no escapes, and a quote only where it begins.
  if (line[0] == L'"') {
    const size_t close = line.find(L'"', 1);
    arguments[0] = line.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
    at = close == std::wstring_view::npos ? line.size() : close + 1;
  } else {
    while (at < line.size() && !IsBlank(line[at])) ++at;
    arguments[0] = line.substr(0, at);
    if (at < line.size()) ++at;
  }
  std::wstring* argument = nullptr;
  int quotes = 0;       // 1: inside quotes; 2 after a run of quotes closes them
  size_t backslashes = 0;
  while (at < line.size()) {
    const wchar_t c = line[at];
    if (IsBlank(c) && quotes == 0) {
      argument = nullptr;
      backslashes = 0;
      ++at;
      continue;
    }
    if (!argument) argument = &arguments.emplace_back();
    ++at;
    if (c == L'\\') {
      argument->push_back(c);
      ++backslashes;
      continue;
    }
    if (c != L'"') {
      argument->push_back(c);
      backslashes = 0;
      continue;
    }
    // Half the backslashes before a quote stay; an odd one out makes the quote a literal one.
    argument->resize(argument->size() - backslashes / 2);
    if (backslashes % 2 == 1) {
      argument->back() = L'"';
    } else {
      ++quotes;
    }
    backslashes = 0;
    for (; at < line.size() && line[at] == L'"'; ++at) {
      if (++quotes == 3) {
        argument->push_back(L'"');
        quotes = 0;
      }
    }
    if (quotes == 2) quotes = 0;
  }
  return arguments;
}

std::vector<std::wstring> ProcessArguments() { return SplitCommandLine(GetCommandLineW()); }

}  // namespace korval
