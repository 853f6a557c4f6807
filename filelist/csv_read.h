// Reading CSV text back into rows: each line gives an old name, a new name and a folder, in any of
// the layouts the program writes, as a change log line, or as typed by hand.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/rename_list.h"

namespace korval {

enum class CsvLineResult {
  Consumed = 0,  // a line was read (or skipped); more text follows
  Refused = 1,   // the line fits no shape; the import stops here
  LastLine = 2,  // the last line was read (or skipped)
};

// Reads the line at cursor and moves the cursor past its line end. A row is given for a line that
// names one; comment lines ("#" first) and blank lines give none.
CsvLineResult ParseCsvLine(std::wstring_view text, size_t& cursor, std::optional<RenameItem>& row);

struct CsvImport {
  std::vector<RenameItem> rows;      // in file order
  std::optional<size_t> refusedLine; // the line number (from 1) that stopped the import
};

// Every line of the text until the end or the first refused line.
CsvImport ParseCsvText(std::wstring_view text);

// A CSV file's bytes as text: they are ANSI with "\u" escapes.
enum class CsvFileProblem { None, TooLarge, NotText, Unreadable };
struct CsvFileText {
  CsvFileProblem problem = CsvFileProblem::None;
  std::wstring text;
};

// The most bytes a CSV file may hold for a list of maxRows rows.
size_t CsvFileByteLimit(size_t maxRows);

// Converts the bytes of a file; a file over the limit, or one holding a zero byte (a UTF-16 or
// binary file), is refused whole rather than read in part.
CsvFileText DecodeCsvFileBytes(std::string_view bytes, size_t byteLimit);

}  // namespace korval
