// The CSV commands of the window: saving rows or the last change log, reading a CSV file into the
// CSV mode, and cut, copy and paste of rows in the list.
#include <windows.h>

#include <commctrl.h>

#include "engine/change_log.h"
#include "engine/list_selection.h"
#include "filelist/csv_file.h"
#include "filelist/csv_insert.h"
#include "filelist/csv_write.h"
#include "modes/change_mode.h"
#include "platform/clipboard.h"
#include "platform/format_text.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/csv_dialogs.h"
#include "ui/mode_selection.h"
#include "ui/status_bar.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

constexpr const wchar_t* kCsvExtension = L".csv";

void Tell(UINT icon, const wchar_t* caption, const std::wstring& text) {
  ShowMessage(MessageKind::Plain, MB_OK | icon, caption, text,
              icon == MB_ICONINFORMATION ? MessageClass::Info : MessageClass::Error);
}

std::wstring NewestLogPath(const Workspace& work) { return ChangeLogPath(work.programFolder, kLogSlotNewest); }

bool Exists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<size_t> FocusedRow(const Frame& frame) {
  if (!frame.list) return std::nullopt;
  const int focused = ListView_GetNextItem(frame.list, -1, LVNI_FOCUSED);
  return focused < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(focused));
}

// Saving the selection or all rows in the layout chosen in the dialog.
void SaveRows(CommandContext& c, CsvRows rows) {
  if (c.work.list.Empty()) {
    Tell(MB_ICONEXCLAMATION, L"Empty List", L"ファイルリストが空です。");
    return;
  }
  CsvSaveDialogData data;
  data.title = rows == CsvRows::Selected ? L"リストの選択ファイルをCSV形式で保存" : L"リストの全てをCSV形式で保存";
  data.withFormat = true;
  data.format = c.work.settings.savecsvfmt;
  if (!ShowCsvSaveDialog(c.frame.main, &data)) return;
  c.work.settings.savecsvfmt = data.format;
  if (!EnsureExtension(data.path, kCsvExtension)) return;
  const CsvTextOptions options{CsvLayoutFromSetting(data.format), c.work.settings.cliptsv != 0, false};
  if (!WriteCsvFile(data.path, BuildCsvText(c.work.list, rows, options))) {
    Tell(MB_ICONEXCLAMATION, L"Write Error", FormatText(L"\"%s\" に書き込めませんでした。", data.path.c_str()));
  }
}

// The rows read are put into the list after the row-limit question, and the list is redrawn.
void InsertRows(CommandContext& c, std::vector<RenameItem> rows) {
  const std::optional<size_t> focused = FocusedRow(c.frame);
  ReadIntoList(c.work, c.frame, [&](ListReader& reader) {
    ReadResult result;
    result.added = InsertCsvRows(c.work.list, std::move(rows), focused,
                                 [&](size_t count) { return reader.CheckRowLimit(count, true); });
    result.read = true;
    return result;
  });
  SetPositionSample(c.work, c.frame);
  MarkPreviewStale(c.work, c.frame);
  ShowStatusHint(c.work, c.frame, ModeHint(c.work.Mode()));
}

// The message for a file that cannot be read as a whole; false when it can.
bool TellUnreadable(const CsvFileText& file, const std::wstring& path) {
  switch (file.problem) {
    case CsvFileProblem::None: return false;
    case CsvFileProblem::TooLarge:
      Tell(MB_ICONEXCLAMATION, L"Too Large CSV File",
           L"CSVファイルが大きすぎるため、読み込めません。\r\n(扱える最大ファイル数をオプションで増やすと読み込めます)");
      return true;
    case CsvFileProblem::NotText:
      Tell(MB_ICONEXCLAMATION, L"Not CSV Text", L"ANSI形式のテキストではないため、読み込めません。");
      return true;
    case CsvFileProblem::Unreadable:
      Tell(MB_ICONEXCLAMATION, L"Read Error", FormatText(L"\"%s\" を読み込めませんでした。", path.c_str()));
      return true;
  }
  return true;
}

void CopyRows(CommandContext& c, bool cut) {
  if (SelectedCount(c.work.list) == 0) return;
  const CsvTextOptions options{CsvLayout::Standard, c.work.settings.cliptsv != 0, true};
  if (!PutOnClipboard(c.frame.main, BuildCsvText(c.work.list, CsvRows::Selected, options))) return;
  if (cut) OnDeleteSelected(c);
}

void PasteRows(CommandContext& c) {
  std::wstring text;
  if (!ReadClipboard(c.frame.main, text)) return;
  // A refused line ends the paste; the rows before it are pasted.
  InsertRows(c, ParseCsvText(text).rows);
}

}  // namespace

void OnSaveSelection(CommandContext& c) { SaveRows(c, CsvRows::Selected); }
void OnSaveAll(CommandContext& c) { SaveRows(c, CsvRows::All); }

void OnSaveLastLog(CommandContext& c) {
  const std::wstring log = NewestLogPath(c.work);
  if (!Exists(log)) {
    Tell(MB_ICONEXCLAMATION, L"No Log!", L"保存できるログがありません。");
    return;
  }
  CsvSaveDialogData data;
  data.title = L"直前の変更を保存";
  if (!ShowCsvSaveDialog(c.frame.main, &data) || !EnsureExtension(data.path, kCsvExtension)) return;
  if (!CopyFileReplacing(log, data.path)) {
    Tell(MB_ICONEXCLAMATION, L"Write Error", FormatText(L"\"%s\" に書き込めませんでした。", data.path.c_str()));
  }
}

void OnSaveChooser(CommandContext& c) {
  switch (ShowSaveChooser(c.frame.main)) {
    case SaveChoice::Selection:
      if (SelectedCount(c.work.list) == 0) {
        Tell(MB_ICONINFORMATION, L"No Selected File", L"リストで選択されているファイルがありません。");
        return;
      }
      OnSaveSelection(c);
      return;
    case SaveChoice::All:
      if (c.work.list.Empty()) {
        Tell(MB_ICONEXCLAMATION, L"Empty List", L"リストが空です。");
        return;
      }
      OnSaveAll(c);
      return;
    case SaveChoice::LastLog:
      if (!Exists(NewestLogPath(c.work))) {
        Tell(MB_ICONINFORMATION, L"No Last Rename Record", L"直前の変更分の記録がありません。");
        return;
      }
      OnSaveLastLog(c);
      return;
    case SaveChoice::None: return;
  }
}

void OnOpenCsv(CommandContext& c) {
  if (c.work.Mode() != kModeCsvNames) SelectModeIndex(c.work, c.frame, kModeCsvNames - 1);
  std::wstring path;
  if (!ShowCsvOpenDialog(c.frame.main, &path)) return;
  // The dialog names an existing file; it is read as chosen, whatever its extension.
  const CsvFileText file = ReadCsvFile(path, static_cast<size_t>(MaxRowsFor(c.work.settings.maxfilenum)));
  if (TellUnreadable(file, path)) return;
  CsvImport import = ParseCsvText(file.text);
  // The list is replaced only by a file read whole: a line that fits no shape leaves it as it was.
  if (import.refusedLine) {
    Tell(MB_ICONEXCLAMATION, L"CSV Line Error",
         FormatText(L"%d 行目を読み込めません。\r\nリストは変更されていません。", static_cast<int>(*import.refusedLine)));
    return;
  }
  ClearList(c.work.list);
  InsertRows(c, std::move(import.rows));
}

bool ListClipboardCommand(CommandContext& c) {
  if (!c.frame.list || GetFocus() != c.frame.list) return false;
  const bool changesList = c.id != IDM_COPY;
  // Log rows of undo mode are not mixed with rows of files.
  if (changesList && c.work.UndoMode()) return true;
  if (c.id == IDM_PASTE) {
    PasteRows(c);
  } else {
    CopyRows(c, c.id == IDM_CUT);
  }
  return true;
}

}  // namespace korval
