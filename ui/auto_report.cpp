// The report file of an unattended run: opened at the start, written at the end.
#include "ui/auto_report.h"

#include "engine/show_message.h"
#include "engine/undo.h"
#include "platform/format_text.h"
#include "ui/auto_run.h"

namespace korval {
namespace {

std::wstring ReasonOf(DWORD error) {
  return error == ERROR_FILE_EXISTS ? std::wstring(kReportWouldReplaceText) : SystemErrorText(error);
}

void SayNotWritten(const wchar_t* text, const std::wstring& path, DWORD error) {
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kReportUnwritableCaption,
              FormatText(text, path.c_str(), ReasonOf(error).c_str()), MessageClass::Error);
}

// The report under a new name beside the program, else in the folder for temporary files; the path
// written, or an empty string.
std::wstring WriteElsewhere(const std::wstring& target, const std::wstring& programFolder, std::string_view bytes) {
  const size_t nameStart = target.find_last_of(L'\\') + 1;
  const size_t dot = target.rfind(L'.');
  const bool hasExtension = dot != std::wstring::npos && dot > nameStart;
  std::wstring stem = target.substr(nameStart, hasExtension ? dot - nameStart : std::wstring::npos);
  const std::wstring extension = hasExtension ? target.substr(dot) : L".csv";
  if (stem.empty()) stem = L"report";
  std::wstring written = WriteNewFile(programFolder, stem, extension, bytes);
  if (written.empty()) {
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH) written = WriteNewFile(temp, stem, extension, bytes);
  }
  return written;
}

}  // namespace

bool OpenAutoReport(const CommandLine& commandLine, AutoReport& report) {
  // An undo gives an account of its rows; a plan of one is not made.
  const bool undo = commandLine.Kind() == kAutoUndo && !commandLine.plan;
  if (AutoRunMode(commandLine) == 0 && !undo) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kReportNeedsRunCaption, kReportNeedsRunText,
                MessageClass::Error);
    return false;
  }
  report.record.plan = commandLine.plan;
  if (report.file.Open(commandLine.ReportPath(), ReportHead())) return true;
  SayNotWritten(kReportNotStartedText, commandLine.ReportPath(), GetLastError());
  return false;
}

bool FinishAutoReport(const CommandLine& commandLine, AutoReport& report, const RenameList& list,
                      const AutoRunEnd& end, const std::wstring& programFolder) {
  if (report.finished) return report.written;
  report.finished = true;
  std::vector<ReportRow>& rows = report.record.rows;
  if (rows.empty()) {
    const wchar_t* reason = commandLine.testMode ? kReasonTestMode : kReasonNotReached;
    for (const RenameItem& row : list.Rows()) {
      rows.push_back(list.undoMode ? UndoReportRow(row, reason) : RowNotDone(row, reason));
    }
  }
  rows.insert(rows.end(), end.leftOut.begin(), end.leftOut.end());
  const std::string bytes = ReportBytes(rows, report.record.plan);
  report.written = report.file.Commit(bytes);
  if (report.written) return true;
  const DWORD error = GetLastError();
  report.writtenElsewhere = WriteElsewhere(report.file.Target(), programFolder, bytes);
  if (report.writtenElsewhere.empty()) {
    SayNotWritten(kReportNotWrittenText, report.file.Target(), error);
  } else {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kReportUnwritableCaption,
                FormatText(kReportWrittenElsewhereText, report.writtenElsewhere.c_str(), report.file.Target().c_str(),
                           ReasonOf(error).c_str()),
                MessageClass::Error);
  }
  return false;
}

int AutomaticExitCode(const CommandLine& commandLine, const RunReport& run, const AutoRunEnd& end,
                      const AutoReport* report) {
  if (report && !report->written) {
    // After changes a script must not take the run for one that never started and run it again.
    return !commandLine.plan && run.changed > 0 ? kExitSomeFailed : kExitNotStarted;
  }
  if (!commandLine.plan || !report) return ExitCodeOf(run, end);
  if (run.refused && !LeftOutOfEmptyList(end)) return kExitNotStarted;
  return EveryRowDone(report->record.rows) ? kExitAllDone : kExitSomeFailed;
}

}  // namespace korval
