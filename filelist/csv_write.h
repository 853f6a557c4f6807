// The rows of the list as comma- or tab-separated text: for a CSV file in one of three layouts, and
// for the clipboard, and the bytes a CSV file holds.
#pragma once

#include <string>
#include <string_view>

#include "engine/rename_list.h"

namespace korval {

// The layouts a CSV file is saved in; `savecsvfmt` holds the layout minus one.
enum class CsvLayout : int {
  Standard = 1,           // header; "old","new","folder\"
  OldFullPath = 2,        // no header; folder\old, unquoted
  OldFullPathAndNew = 3,  // header; "folder\old","new"
};

// The layout of a `savecsvfmt` value; anything unknown is the standard layout.
CsvLayout CsvLayoutFromSetting(int savecsvfmt);

enum class CsvRows { Selected = 1, All = 2 };

struct CsvTextOptions {
  CsvLayout layout = CsvLayout::Standard;
  bool tabSeparated = false;  // `cliptsv`: fields of rows separated by tabs; headers keep commas
  bool forClipboard = false;  // no header line
};

// One row as its layout writes it, with CR LF.
std::wstring CsvRowText(const RenameItem& row, CsvLayout layout, wchar_t separator);

// The chosen rows in list order, after the layout's header unless the text is for the clipboard.
std::wstring BuildCsvText(const RenameList& list, CsvRows rows, const CsvTextOptions& options);

// The bytes of a CSV file: the text in the ANSI code page with "\u" escapes for what the code page
// lacks, no byte order mark, no terminating zero. The buffer is sized to the text, so nothing is cut.
std::string CsvFileBytes(std::wstring_view text);

}  // namespace korval
