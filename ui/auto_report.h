// The report file of an unattended run ("/plan=FILE" or "/report=FILE"): opened before the run, so
// that a run that could not leave its record never starts, and written when the program ends.
#pragma once

#include "config/command_line.h"
#include "engine/execute_changes.h"
#include "platform/staged_file.h"
#include "ui/auto_run.h"

namespace korval {

inline constexpr const wchar_t* kReportUnwritableCaption = L"Can't Write Report";
inline constexpr const wchar_t* kReportNotStartedText =
    L"レポートファイルに書き込めないため、処理を開始しませんでした。\r\n\r\n%s\r\n%s";
inline constexpr const wchar_t* kReportNotWrittenText = L"レポートファイルを書き込めませんでした。\r\n\r\n%s\r\n%s";
// The report could not take its place after the run: it is written where it can be, and the path said.
inline constexpr const wchar_t* kReportWrittenElsewhereText =
    L"レポートファイルを指定の場所に書き込めなかったため、次の場所に書き込みました。\r\n\r\n%s\r\n\r\n指定の場所: %s\r\n%s";
// Why a report is not written over an existing file.
inline constexpr const wchar_t* kReportWouldReplaceText =
    L"同じ名前のファイルがあります。以前のレポートではないため、上書きしません。";
inline constexpr const wchar_t* kReportNeedsRunCaption = L"No Automatic Run";
inline constexpr const wchar_t* kReportNeedsRunText =
    L"/plan= と /report= は、名前・タイムスタンプ・属性を変える自動実行 (s/../../, /auto1～25, /autofile=, "
    L"/autoctime..., /automtime..., /autobtime..., /autoattr...) と一緒に指定してください。"
    L"/report= は /undo とも一緒に指定できます。";

struct AutoReport {
  StagedFile file;
  RunRecord record;
  bool finished = false;  // the program's end wrote it, or tried to
  bool written = false;   // at the path asked for
  std::wstring writtenElsewhere;  // where it went when that path could not take it
};

// Opens the report file the command line names. False, after saying why the unattended way, when
// the run must not start: no run that changes rows was asked for (an undo takes a report, but has
// no rows to plan), or the file cannot be written.
bool OpenAutoReport(const CommandLine& commandLine, AutoReport& report);

// Writes the record once. When the execution never ran (a refused pass, test mode, a cut macro
// run), the rows of the list stand in, none of them changed; the items the reading left out follow.
// When the path asked for cannot take it, the record goes beside the program (or to the folder for
// temporary files) under a new name, and the message says where. False, after the message, when the
// file could not be written at the path asked for.
bool FinishAutoReport(const CommandLine& commandLine, AutoReport& report, const RenameList& list,
                      const AutoRunEnd& end, const std::wstring& programFolder);

// The exit code of an automatic run: a plan's from its rows (0 every row would change, 1 a row
// would be skipped or fail, 2 it could not start); a run's from what it did. A report that could not
// be written where it was asked for gives 2 when nothing was changed, else at least 1.
int AutomaticExitCode(const CommandLine& commandLine, const RunReport& run, const AutoRunEnd& end,
                      const AutoReport* report);

}  // namespace korval
