// Rows as lines and lines as rows.
#include "filelist/edit_lines.h"

#include <algorithm>

#include "platform/ansi_escape.h"
#include "modes/change_mode.h"
#include "platform/path_limits.h"
#include "platform/read_file.h"
#include "platform/scoped_handle.h"

namespace korval {
namespace {

constexpr size_t kExchangeBytesPerRow = 1560;
constexpr size_t kExchangeLineChars = 259;  // the characters per row the exchange file is read for

bool IsNotationMode(int mode) { return mode == kModeTimestamp || mode == kModeAttribute; }

std::wstring LineOf(const RenameItem& row, bool newNames, const EditLineOptions& o) {
  std::wstring text = row.oldName;
  if (newNames && (IsNotationMode(o.mode) || (!row.newName.empty() && row.newName.front() != L'<'))) {
    text = row.newName;
  }
  if (!IsNotationMode(o.mode) && !o.withExtension) {
    const size_t dot = text.rfind(L'.');
    if (dot != std::wstring::npos) text.resize(dot);
  }
  return text;
}

bool Digits(const std::wstring& s, size_t at, size_t count, int low, int high) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < L'0' || s[i] > L'9') return false;
    value = value * 10 + (s[i] - L'0');
  }
  return value >= low && value <= high;
}

// Characters of the notation's pattern at their places: '#' a digit field, '*' a free place.
bool FitsPattern(const std::wstring& line, const wchar_t* pattern) {
  const std::wstring_view p(pattern);
  if (line.size() != p.size()) return false;
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] != L'#' && p[i] != L'*' && p[i] != line[i]) return false;
  }
  return true;
}

bool TimestampFits(const std::wstring& line) {
  if (!FitsPattern(line, L"<**：####/##/## ##:##:##>")) return false;
  const std::wstring word = line.substr(1, 2);
  if (word != L"作成" && word != L"更新" && word != L"両方") return false;
  return Digits(line, 4, 4, 1000, 2999) && Digits(line, 9, 2, 1, 12) && Digits(line, 12, 2, 1, 31) &&
         Digits(line, 15, 2, 0, 23) && Digits(line, 18, 2, 0, 59) && Digits(line, 21, 2, 0, 59);
}

bool AttributesFit(const std::wstring& line) {
  if (!FitsPattern(line, L"<読：*, 隠：*, ア：*, シ：*>")) return false;
  for (size_t at : {3u, 8u, 13u, 18u}) {
    if (line[at] != L'Y' && line[at] != L'N' && line[at] != L'-') return false;
  }
  return true;
}

}  // namespace

std::wstring EditLines(const RenameList& list, size_t first, size_t last, bool newNames, const EditLineOptions& o) {
  std::wstring text;
  for (size_t i = first; i <= last && i < list.Count(); ++i) text += LineOf(list.Row(i), newNames, o) + L"\r\n";
  return text;
}

std::wstring CheckNotationLine(int mode, const std::wstring& line) {
  if (mode == kModeTimestamp) return TimestampFits(line) ? line : std::wstring();
  if (mode == kModeAttribute) return AttributesFit(line) ? line : std::wstring();
  return line;
}

void ApplyEditLines(RenameList& list, size_t first, size_t last, const std::wstring& text, const EditLineOptions& o) {
  size_t at = 0;
  for (size_t i = first; i <= last && i < list.Count(); ++i) {
    std::wstring line;
    if (at < text.size()) {
      const size_t end = std::min(text.find(L'\n', at), text.size());
      line = text.substr(at, end - at);
      at = end + 1;
      if (!line.empty() && line.back() == L'\r') line.pop_back();
    }
    RenameItem& row = list.Row(i);
    if (IsNotationMode(o.mode)) {
      line = CheckNotationLine(o.mode, line);
    } else if (!o.withExtension && !line.empty()) {
      // A missing or empty line stays empty (an invalid name) rather than becoming the bare
      // extension, which would rename the item to a dot name.
      line += row.extension;
    }
    // Kept whole up to the longest path: a name over 255 characters is shown as typed and refused
    // for its length, never cut into a shorter name.
    if (line.size() > kMaxBuiltPath) line.resize(kMaxBuiltPath);
    row.newName = line;
  }
}

bool WriteExchangeFile(const std::wstring& path, const std::wstring& lines, size_t rows) {
  const int capacity = static_cast<int>(std::max<size_t>(rows, 1) * kExchangeBytesPerRow - 2);
  const std::string bytes = ToAnsiEscaped(lines, capacity);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
}

bool ReadExchangeFile(const std::wstring& path, size_t rows, std::wstring& text) {
  std::vector<unsigned char> raw;
  if (!ReadFileHead(path, std::max<size_t>(rows, 1) * kExchangeBytesPerRow - 2, FILE_SHARE_READ | FILE_SHARE_WRITE, raw)) {
    return false;
  }
  std::string bytes(raw.begin(), raw.end());
  const size_t end = bytes.find('\0');
  if (end != std::string::npos) bytes.resize(end);
  text = FromAnsiUnescaped(bytes, static_cast<int>(std::max<size_t>(rows, 1) * (kExchangeLineChars + 1)));
  return true;
}

}  // namespace korval
