// What each row of an unattended run did, or would do, and the text of the report that records it:
// UTF-8 with a byte order mark, CR LF line ends, fields quoted as RFC 4180 asks, so that a
// spreadsheet or a script's CSV reader takes it as it is.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/item_status.h"
#include "engine/rename_list.h"

namespace korval {

enum class RowOutcome {
  Changed,    // "変更" (in a plan "予定")
  Unchanged,  // "変更なし": left out by the filter, or nothing to change
  Skipped,    // "スキップ": the run was asked to change the row and refused it
  Failed,     // "失敗": the change was tried and the system refused it
};

struct ReportRow {
  std::wstring oldName;
  std::wstring newName;  // for the time stamp and attribute modes the description of the change
  std::wstring folder;
  RowOutcome outcome = RowOutcome::Skipped;
  std::wstring reason;
};

inline constexpr const wchar_t* kReportHeader = L"変更前,変更後,フォルダ名,状態,理由";

// Reasons that are no status of the list.
// A rename the file system took under another name than the one asked for (it cut a long name).
inline constexpr const wchar_t* kReasonNamePutBack =
    L"ファイルシステムが名前を短くしたため、元の名前に戻しました";
inline constexpr const wchar_t* kReasonNameCutTo = L"ファイルシステムが名前を短くしました。現在の名前: %s";
inline constexpr const wchar_t* kReasonNameLost = L"変更後の名前でファイルが見つかりません";
inline constexpr const wchar_t* kReasonNotReached = L"処理が中止されたため変更されませんでした";
inline constexpr const wchar_t* kReasonSerialAdded = L"同名のファイルがあったため、連番を付与しました";
inline constexpr const wchar_t* kReasonTestMode = L"テストモードのため実行できません。";
// How a plan resolves a name that is taken when the preview looks: the item holding it is changed
// first, or the row takes a serial for the moment and gives it up once the name is free (a swap).
inline constexpr const wchar_t* kReasonTargetFreedFirst = L"同名のファイルが先に変更されるため、変更が可能";
inline constexpr const wchar_t* kReasonSerialTakenOff =
    L"一時的に連番を付け、同名のファイルが変更された後で連番を外します";

const wchar_t* OutcomeWord(RowOutcome outcome, bool plan);

// A row the execution never changed for the given reason (a row left out by the filter says so).
ReportRow RowNotDone(const RenameItem& row, const wchar_t* reason);

// The status text of the list for a row (the legend of its icon); for a name the system refuses,
// the status bar's hint of why.
std::wstring StatusReason(ItemStatus status, const std::wstring& newName);

// The system's text for an error code, without its line end.
std::wstring SystemErrorText(DWORD error);

// One field as RFC 4180 quotes it: in double quotes, inner quotes doubled, when it holds a comma,
// a quote, a line break or a leading or trailing space; otherwise as it is. A field a spreadsheet
// would take for a formula (beginning with =, +, -, @, a tab or a CR) gets a leading apostrophe inside
// quotes, so that it opens as text.
std::wstring CsvField(const std::wstring& text);

// The whole report: the byte order mark, the header and one line per row.
std::string ReportBytes(const std::vector<ReportRow>& rows, bool plan);
// How every report begins: the byte order mark and the header line. A file that begins so is an
// earlier report, which a new one may replace.
std::string ReportHead();

// Whether every row changed or would change (rows left out by the filter and rows with nothing to
// change count as done): the exit code 0 of an unattended run.
bool EveryRowDone(const std::vector<ReportRow>& rows);

}  // namespace korval
