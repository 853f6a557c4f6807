// Writing the rows of the list as CSV text.
#include "filelist/csv_write.h"

#include "platform/ansi_escape.h"

namespace korval {
namespace {

constexpr const wchar_t* kStandardHeader = L"# 変更前,変更後,フォルダ名\r\n";
constexpr const wchar_t* kFullPathAndNewHeader = L"# 変更前フルパス名,変更後ファイル名\r\n";

// Every character can grow into a six-character escape; one more place for the terminator.
constexpr size_t kEscapeWidth = 6;

std::wstring Quoted(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + 2);
  out += L'"';
  out += text;
  out += L'"';
  return out;
}

}  // namespace

CsvLayout CsvLayoutFromSetting(int savecsvfmt) {
  switch (savecsvfmt) {
    case 1: return CsvLayout::OldFullPath;
    case 2: return CsvLayout::OldFullPathAndNew;
    default: return CsvLayout::Standard;
  }
}

std::wstring CsvRowText(const RenameItem& row, CsvLayout layout, wchar_t separator) {
  switch (layout) {
    case CsvLayout::OldFullPath:
      return row.folder + row.oldName + L"\r\n";
    case CsvLayout::OldFullPathAndNew:
      return Quoted(row.folder + row.oldName) + separator + Quoted(row.newName) + L"\r\n";
    case CsvLayout::Standard:
      break;
  }
  return Quoted(row.oldName) + separator + Quoted(row.newName) + separator + Quoted(row.folder) + L"\r\n";
}

std::wstring BuildCsvText(const RenameList& list, CsvRows rows, const CsvTextOptions& options) {
  std::wstring text;
  if (!options.forClipboard) {
    if (options.layout == CsvLayout::Standard) text = kStandardHeader;
    if (options.layout == CsvLayout::OldFullPathAndNew) text = kFullPathAndNewHeader;
  }
  const wchar_t separator = options.tabSeparated ? L'\t' : L',';
  for (const RenameItem& row : list.Rows()) {
    if (rows == CsvRows::Selected && !row.selected) continue;
    text += CsvRowText(row, options.layout, separator);
  }
  return text;
}

std::string CsvFileBytes(std::wstring_view text) {
  if (text.empty()) return {};
  // A double-byte character takes two bytes, an escape six; either way six bytes per character
  // hold the worst case, plus the two places the conversion keeps free.
  const size_t capacity = text.size() * kEscapeWidth + 2;
  return ToAnsiEscaped(text, static_cast<int>(capacity));
}

}  // namespace korval
