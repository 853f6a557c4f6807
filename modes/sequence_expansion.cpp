// Expansion of the folder-name, size and extension sequences in one left-to-right pass, so text
// put in for one sequence is never read again as another.
#include "modes/sequence_expansion.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

bool IsSequenceLetter(wchar_t c) { return c == L'f' || c == L's' || c == L':' || c == L'e'; }

// The letters a doubled backslash protects in the protected form (":" is not among them).
bool IsProtectedLetter(wchar_t c) { return c == L'f' || c == L's' || c == L'e'; }

std::wstring LastFolderName(const std::wstring& folder) {
  const size_t end = folder.find_last_not_of(L"\\/");
  if (end == std::wstring::npos) return {};
  const size_t slash = folder.find_last_of(L"\\/", end);
  const size_t begin = slash == std::wstring::npos ? 0 : slash + 1;
  return folder.substr(begin, end + 1 - begin);
}

std::wstring SizeText(const std::wstring& source, FileSystem& fs) {
  // A wildcard would make the lookup report some other file's size.
  if (source.empty() || source.find_first_of(L"*?") != std::wstring::npos) return L"0";
  WIN32_FIND_DATAW found{};
  if (!fs.Find(source.c_str(), &found) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return L"0";
  const uint64_t size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  return std::to_wstring(size);
}

}  // namespace

void ExpandSpecialSequences(std::wstring& text, const std::wstring& source, int form, FileSystem& fs,
                            RowTags* tags) {
  const bool withTags = tags != nullptr && MayHoldTags(text);
  if ((!withTags && text.find(L'\\') == std::wstring::npos) || form < kSequencesPlain || form > kSequencesProtected) {
    Truncate(text, kMaxBuiltPath);
    return;
  }
  Truncate(text, kSequenceWorkChars - 1);
  const PathParts parts = SplitPath(source);
  std::optional<std::wstring> size;  // looked up at the first size sequence only

  auto expansion = [&](wchar_t letter) -> std::wstring {
    switch (letter) {
      case L'f':
        return LastFolderName(parts.folder);
      case L's':
      case L':':
        if (!size) size = SizeText(source, fs);
        return *size;
      default:
        return parts.extension.empty() ? std::wstring() : parts.extension.substr(1);
    }
  };

  std::wstring out;
  WrittenTag written;
  const size_t n = text.size();
  for (size_t i = 0; i < n && out.size() < kSequenceWorkChars - 1;) {
    const wchar_t c = text[i];
    if (withTags && c == L'<' && ParseWrittenTag(text, i, written)) {
      if (!tags->Expand(written, text, out)) out.append(text, i, written.length);
      i += written.length;
      continue;
    }
    if (form == kSequencesProtected) {
      const bool doubled = c == L'\\' && i + 2 < n && text[i + 1] == L'\\' && IsProtectedLetter(text[i + 2]);
      const bool placeholder = c == L'`' && i + 2 < n && IsProtectedLetter(text[i + 1]) && text[i + 2] == L'\'';
      if (doubled || placeholder) {
        out += L'\\';
        out += doubled ? text[i + 2] : text[i + 1];
        i += 3;
        continue;
      }
    }
    if (form == kSequencesDoubled) {
      if (c == L'\\' && i + 2 < n && text[i + 1] == L'\\' && IsSequenceLetter(text[i + 2])) {
        out += expansion(text[i + 2]);
        i += 3;
        continue;
      }
    } else if (c == L'\\' && i + 1 < n && IsSequenceLetter(text[i + 1])) {
      out += expansion(text[i + 1]);
      i += 2;
      continue;
    }
    out += c;
    ++i;
  }
  Truncate(out, kMaxBuiltPath);
  text = std::move(out);
}

}  // namespace korval
