// Rows of CSV text into the window's list.
#include "ui/csv_into_list.h"

#include <commctrl.h>

#include <optional>

#include "engine/list_selection.h"
#include "engine/show_message.h"
#include "filelist/csv_file.h"
#include "filelist/csv_insert.h"
#include "platform/format_text.h"
#include "ui/status_bar.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

std::optional<size_t> FocusedRow(const Frame& frame) {
  if (!frame.list) return std::nullopt;
  const int focused = ListView_GetNextItem(frame.list, -1, LVNI_FOCUSED);
  return focused < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(focused));
}

// The message for a file that cannot be read as a whole; false when it can.
bool TellUnreadable(const CsvFileText& file, const std::wstring& path) {
  switch (file.problem) {
    case CsvFileProblem::None: return false;
    case CsvFileProblem::TooLarge:
      TellCsvUser(MB_ICONEXCLAMATION, L"Too Large CSV File",
                  L"CSVファイルが大きすぎるため、読み込めません。\r\n(扱える最大ファイル数をオプションで増やすと読み込めます)");
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

void InsertCsvRowsIntoList(Workspace& work, Frame& frame, std::vector<RenameItem> rows) {
  const std::optional<size_t> focused = FocusedRow(frame);
  ReadIntoList(work, frame, [&](ListReader& reader) {
    ReadResult result;
    result.added = InsertCsvRows(work.list, std::move(rows), focused,
                                 [&](size_t count) { return reader.CheckRowLimit(count, true); });
    result.read = true;
    return result;
  });
  SetPositionSample(work, frame);
  MarkPreviewStale(work, frame);
  ShowStatusHint(work, frame, ModeHint(work.Mode()));
}

bool ReadCsvIntoList(Workspace& work, Frame& frame, const std::wstring& path) {
  const CsvFileText file = ReadCsvFile(path, static_cast<size_t>(MaxRowsFor(work.settings.maxfilenum)));
  if (TellUnreadable(file, path)) return false;
  CsvImport import = ParseCsvText(file.text);
  if (import.refusedLine) {
    TellCsvUser(MB_ICONEXCLAMATION, L"CSV Line Error",
                FormatText(L"%d 行目を読み込めません。\r\nリストは変更されていません。", static_cast<int>(*import.refusedLine)));
    return false;
  }
  ClearList(work.list);
  InsertCsvRowsIntoList(work, frame, std::move(import.rows));
  return true;
}

}  // namespace korval
