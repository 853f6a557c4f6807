// Reading CSV text back into rows.
#include "filelist/csv_read.h"

#include "platform/ansi_escape.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"
#include "platform/path_refusal.h"

namespace korval {
namespace {

// Field limits, quotes included: a quoted path as long as the system takes.
constexpr size_t kMaxFirstField = kMaxLongPathChars + 2;
constexpr size_t kMaxSecondField = kMaxLongPathChars + 2;
constexpr size_t kMaxThirdField = kMaxLongPathChars + 2;
// The longest name or folder a line may give.
constexpr size_t kMaxPart = kMaxLongPathChars;
// Bytes per row a CSV file may hold.
constexpr size_t kBytesPerRow = 1560;

// The first separator from `from`: a comma before a quote, else a comma, else a tab before a quote,
// else a tab. Searching the comma-and-quote pair first lets an unquoted first field hold commas
// when the next field is quoted.
size_t FindSeparator(std::wstring_view line, size_t from) {
  if (from > line.size()) return std::wstring_view::npos;
  for (std::wstring_view pattern : {std::wstring_view(L",\""), std::wstring_view(L","), std::wstring_view(L"\t\""),
                                    std::wstring_view(L"\t")}) {
    const size_t at = line.find(pattern, from);
    if (at != std::wstring_view::npos) return at;
  }
  return std::wstring_view::npos;
}

void Unquote(std::wstring& field) {
  if (!field.empty() && field.back() == L'"') field.pop_back();
  if (!field.empty() && field.front() == L'"') field.erase(0, 1);
}

bool IsDrivePath(const std::wstring& field) { return field.size() >= 2 && field[1] == L':'; }

struct Field {
  std::wstring text;
  PathParts parts;
  std::wstring Name() const { return parts.stem + parts.extension; }
  std::wstring Folder() const { return parts.Directory(); }
  bool IsBareName(size_t minLength) const {
    const size_t length = Name().size();
    return Folder().empty() && length >= minLength && length <= kMaxPart;
  }
  bool IsOnlyFolder() const {
    const size_t length = Folder().size();
    return Name().empty() && length >= 1 && length <= kMaxPart;
  }
};

// A field whose parts do not add up to it was cut while splitting: too long to be a path. Texts
// that are notations rather than paths (" : ", or "<" first) are let through.
bool SplitWhole(Field& field) {
  field.parts = SplitPath(field.text);
  if (field.parts.Joined().size() >= field.text.size()) return true;
  return field.text.find(L" : ") != std::wstring::npos || (!field.text.empty() && field.text[0] == L'<');
}

struct Shape {
  std::wstring oldName;
  std::wstring newName;
  std::wstring folder;
};

std::optional<Shape> MatchShape(const Field& f1, const Field& f2, const Field& f3) {
  if (f1.IsBareName(1)) {
    if (f2.IsBareName(0) && f3.IsOnlyFolder()) return Shape{f1.Name(), f2.Name(), f3.Folder()};
    if (f2.IsOnlyFolder() && f3.text.empty()) return Shape{f1.Name(), L" ", f2.Folder()};
    // A time-stamp notation looks like a path because of its slashes.
    if (f3.IsOnlyFolder() && !f2.parts.folder.empty() && f2.parts.folder[0] == L'<') {
      return Shape{f1.Name(), f2.parts.folder + f2.Name(), f3.Folder()};
    }
    return std::nullopt;
  }
  if (f1.Folder().empty() || f1.Name().empty()) return std::nullopt;
  // A rename line of the change log.
  if (f3.Name().find(L"<NORMAL>") != std::wstring::npos && f1.Folder() == f2.Folder()) {
    return Shape{f1.Name(), f2.Name(), f1.Folder()};
  }
  if (f2.text.empty()) return Shape{f1.Name(), L"", f1.Folder()};
  if (f2.IsBareName(1)) return Shape{f1.Name(), f2.Name(), f1.Folder()};
  if (f1.Folder() == f2.Folder() && !f2.Name().empty() && f3.text.empty()) {
    return Shape{f1.Name(), f2.Name(), f1.Folder()};
  }
  return std::nullopt;
}

// Rows name their folder whole: a drive and its root, or a network share, and a closing backslash.
bool IsWholeFolder(const std::wstring& folder) {
  if (folder.empty() || folder.back() != L'\\') return false;
  const bool drive = folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\';
  return drive || folder.rfind(L"\\\\", 0) == 0;
}

bool IsBlank(std::wstring_view line) { return line.find_first_not_of(L" \t") == std::wstring_view::npos; }

}  // namespace

CsvLineResult ParseCsvLine(std::wstring_view text, size_t& cursor, std::optional<RenameItem>& row) {
  row.reset();
  if (cursor > text.size()) cursor = text.size();
  // A line ends at its LF, a CR before it dropped, so files of LF lines, CR LF lines or a mix of
  // both all read alike.
  const size_t lineFeed = text.find(L'\n', cursor);
  const bool last = lineFeed == std::wstring_view::npos || lineFeed + 1 >= text.size();
  std::wstring_view line = text.substr(cursor, lineFeed == std::wstring_view::npos ? std::wstring_view::npos
                                                                                  : lineFeed - cursor);
  cursor = lineFeed == std::wstring_view::npos ? text.size() : lineFeed + 1;
  if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
  const CsvLineResult read = last ? CsvLineResult::LastLine : CsvLineResult::Consumed;
  if ((!line.empty() && line[0] == L'#') || IsBlank(line)) return read;

  const size_t first = FindSeparator(line, 0);
  const size_t second = first == std::wstring_view::npos ? first : FindSeparator(line, first + 1);
  Field f1, f2, f3;
  f1.text = line.substr(0, first);
  if (first != std::wstring_view::npos) {
    f2.text = line.substr(first + 1, second == std::wstring_view::npos ? std::wstring_view::npos : second - first - 1);
  }
  if (second != std::wstring_view::npos) f3.text = line.substr(second + 1);
  if (f1.text.size() > kMaxFirstField || f2.text.size() > kMaxSecondField || f3.text.size() > kMaxThirdField) {
    return CsvLineResult::Refused;
  }
  Unquote(f1.text);
  Unquote(f2.text);
  Unquote(f3.text);
  if (!IsDrivePath(f1.text) && IsDrivePath(f3.text) && f3.text.back() != L'\\') f3.text += L'\\';
  if (!SplitWhole(f1) || !SplitWhole(f2) || !SplitWhole(f3)) return CsvLineResult::Refused;

  const std::optional<Shape> shape = MatchShape(f1, f2, f3);
  // A row the list could not hold (a path longer than any the system takes, a name over 255
  // characters, a folder that is not a whole path, a path refused wherever it is given) would be cut
  // into another name or point somewhere else.
  if (!shape || !IsWholeFolder(shape->folder) || shape->folder.size() + shape->oldName.size() > kMaxLongPathChars ||
      shape->oldName.size() > kMaxNameChars || shape->newName.size() > kMaxLongPathChars ||
      PathRefusal(shape->folder + shape->oldName)) {
    return CsvLineResult::Refused;
  }
  RenameItem item;
  item.oldName = shape->oldName;
  item.newName = shape->newName;
  item.folder = shape->folder;
  item.extension = SplitPath(item.oldName).extension;
  row = std::move(item);
  return read;
}

CsvImport ParseCsvText(std::wstring_view text) {
  CsvImport import;
  size_t cursor = 0;
  size_t lineNumber = 0;
  while (cursor < text.size()) {
    ++lineNumber;
    std::optional<RenameItem> row;
    const CsvLineResult result = ParseCsvLine(text, cursor, row);
    if (result == CsvLineResult::Refused) {
      import.refusedLine = lineNumber;
      break;
    }
    if (row) import.rows.push_back(std::move(*row));
    if (result == CsvLineResult::LastLine) break;
  }
  return import;
}

size_t CsvFileByteLimit(size_t maxRows) { return maxRows * kBytesPerRow; }

CsvFileText DecodeCsvFileBytes(std::string_view bytes, size_t byteLimit) {
  CsvFileText file;
  if (bytes.size() > byteLimit) {
    file.problem = CsvFileProblem::TooLarge;
    return file;
  }
  if (bytes.find('\0') != std::string_view::npos) {
    file.problem = CsvFileProblem::NotText;
    return file;
  }
  // An ANSI byte never becomes more than one character, so this many places always suffice.
  file.text = FromAnsiUnescaped(bytes, static_cast<int>(bytes.size() + 1));
  return file;
}

}  // namespace korval
