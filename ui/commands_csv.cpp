// The CSV commands of the window: saving rows or the last change log, reading a CSV file into the
// CSV mode, and cut, copy and paste of rows in the list.
#include <windows.h>

#include <commctrl.h>

#include "engine/change_log.h"
#include "engine/list_selection.h"
#include "filelist/csv_file.h"
#include "filelist/csv_write.h"
#include "modes/change_mode.h"
#include "platform/clipboard.h"
#include "platform/format_text.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/csv_dialogs.h"
#include "ui/csv_into_list.h"
#include "ui/mode_selection.h"
#include "ui/status_bar.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

constexpr const wchar_t* kCsvExtension = L".csv";

std::wstring NewestLogPath(const Workspace& work) { return ChangeLogPath(work.programFolder, kLogSlotNewest); }

bool Exists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Saving the selection or all rows in the layout chosen in the dialog.
void SaveRows(CommandContext& c, CsvRows rows) {
  if (c.work.list.Empty()) {
    TellCsvUser(MB_ICONEXCLAMATION, L"Empty List", L"ファイルリストが空です。");
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
    TellCsvUser(MB_ICONEXCLAMATION, L"Write Error", FormatText(L"\"%s\" に書き込めませんでした。", data.path.c_str()));
  }
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
  InsertCsvRowsIntoList(c.work, c.frame, ParseCsvText(text).rows);
}

}  // namespace

void OnSaveSelection(CommandContext& c) { SaveRows(c, CsvRows::Selected); }
void OnSaveAll(CommandContext& c) { SaveRows(c, CsvRows::All); }

void OnSaveLastLog(CommandContext& c) {
  const std::wstring log = NewestLogPath(c.work);
  if (!Exists(log)) {
    TellCsvUser(MB_ICONEXCLAMATION, L"No Log!", L"保存できるログがありません。");
    return;
  }
  CsvSaveDialogData data;
  data.title = L"直前の変更を保存";
  if (!ShowCsvSaveDialog(c.frame.main, &data) || !EnsureExtension(data.path, kCsvExtension)) return;
  if (!CopyFileReplacing(log, data.path)) {
    TellCsvUser(MB_ICONEXCLAMATION, L"Write Error", FormatText(L"\"%s\" に書き込めませんでした。", data.path.c_str()));
  }
}

void OnSaveChooser(CommandContext& c) {
  switch (ShowSaveChooser(c.frame.main)) {
    case SaveChoice::Selection:
      if (SelectedCount(c.work.list) == 0) {
        TellCsvUser(MB_ICONINFORMATION, L"No Selected File", L"リストで選択されているファイルがありません。");
        return;
      }
      OnSaveSelection(c);
      return;
    case SaveChoice::All:
      if (c.work.list.Empty()) {
        TellCsvUser(MB_ICONEXCLAMATION, L"Empty List", L"リストが空です。");
        return;
      }
      OnSaveAll(c);
      return;
    case SaveChoice::LastLog:
      if (!Exists(NewestLogPath(c.work))) {
        TellCsvUser(MB_ICONINFORMATION, L"No Last Rename Record", L"直前の変更分の記録がありません。");
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
  ReadCsvIntoList(c.work, c.frame, path);
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
