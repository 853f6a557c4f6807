// Rows of CSV text into the window's list.
#include "ui/csv_into_list.h"

#include <commctrl.h>

#include <optional>

#include "engine/list_selection.h"
#include "engine/show_message.h"
#include "filelist/csv_file.h"
#include "filelist/csv_insert.h"
#include "filelist/list_reader.h"
#include "platform/format_text.h"
#include "ui/status_bar.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

// Whether a file of this many bytes would be read once the row limit were raised to its highest.
bool FitsAtTheHighestLimit(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  const unsigned long long bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return bytes <= CsvFileByteLimit(static_cast<size_t>(kMaxRowTable[kMaxRowChoices - 1]));
}

// The message for a file that cannot be read as a whole; false when it can. A file too large is
// told to raise the row limit only where that would let it be read.
bool TellUnreadable(const CsvFileText& file, const std::wstring& path, int maxfilenum) {
  switch (file.problem) {
    case CsvFileProblem::None: return false;
    case CsvFileProblem::TooLarge:
      if (maxfilenum < kMaxRowChoices - 1 && FitsAtTheHighestLimit(path)) {
        TellCsvUser(MB_ICONEXCLAMATION, L"Too Large CSV File",
                    L"CSVファイルが大きすぎるため、読み込めません。\r\n(扱える最大ファイル数をオプションで増やすと読み込めます)");
      } else {
        TellCsvUser(MB_ICONEXCLAMATION, L"Too Large CSV File",
                    FormatText(L"CSVファイルが大きすぎるため、読み込めません。\r\n(読み込めるのは %d MB までです)",
                               static_cast<int>(CsvFileByteLimit(static_cast<size_t>(kMaxRowTable[kMaxRowChoices - 1])) /
                                                1000000)));
      }
      return true;
    case CsvFileProblem::NotText:
      TellCsvUser(MB_ICONEXCLAMATION, L"Not CSV Text", L"ANSI形式のテキストではないため、読み込めません。");
      return true;
    case CsvFileProblem::Unreadable:
      TellCsvUser(MB_ICONEXCLAMATION, L"Read Error", FormatText(L"\"%s\" を読み込めませんでした。", path.c_str()));
      return true;
  }
  return true;
}

}  // namespace

void TellCsvUser(UINT icon, const wchar_t* caption, const std::wstring& text) {
  ShowMessage(MessageKind::Plain, MB_OK | icon, caption, text,
              icon == MB_ICONINFORMATION ? MessageClass::Info : MessageClass::Error);
}

size_t InsertCsvRowsIntoList(Workspace& work, Frame& frame, std::vector<RenameItem> rows) {
  const std::optional<size_t> focused = frame.FocusedRow();
  size_t added = 0;
  ReadIntoList(work, frame, [&](ListReader& reader) {
    ReadResult result;
    result.added = InsertCsvRows(work.list, std::move(rows), focused,
                                 [&](size_t count) { return reader.CheckRowLimit(count, true); });
    result.read = true;
    added = result.added;
    return result;
  });
  SetPositionSample(work, frame);
  MarkPreviewStale(work, frame);
  ShowStatusHint(work, frame, ModeHint(work.Mode()));
  return added;
}

bool ReadCsvIntoList(Workspace& work, Frame& frame, const std::wstring& path) {
  const CsvFileText file = ReadCsvFile(path, static_cast<size_t>(MaxRowsFor(work.settings.maxfilenum)));
  if (TellUnreadable(file, path, work.settings.maxfilenum)) return false;
  CsvImport import = ParseCsvText(file.text);
  if (import.refusedLine) {
    TellCsvUser(MB_ICONEXCLAMATION, L"CSV Line Error",
                FormatText(L"%d 行目を読み込めません。\r\nリストは変更されていません。", static_cast<int>(*import.refusedLine)));
    return false;
  }
  ClearList(work.list);
  const size_t rows = import.rows.size();
  const size_t added = InsertCsvRowsIntoList(work, frame, std::move(import.rows));
  // The list holds part of the file: say how much was left out.
  if (added < rows) {
    TellCsvUser(MB_ICONEXCLAMATION, kCsvRowsLeftOutCaption,
                FormatText(kCsvRowsLeftOutText, static_cast<int>(rows), static_cast<int>(added),
                           static_cast<int>(rows - added)));
  }
  return true;
}

}  // namespace korval
