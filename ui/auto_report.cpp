// The report file of an unattended run: opened at the start, written at the end.
#include "ui/auto_report.h"

#include "engine/show_message.h"
#include "platform/format_text.h"
#include "ui/auto_run.h"

namespace korval {
namespace {

void SayNotWritten(const wchar_t* text, const std::wstring& path, DWORD error) {
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kReportUnwritableCaption,
              FormatText(text, path.c_str(), SystemErrorText(error).c_str()), MessageClass::Error);
}

}  // namespace

bool OpenAutoReport(const CommandLine& commandLine, AutoReport& report) {
  if (AutoRunMode(commandLine) == 0) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, kReportNeedsRunCaption, kReportNeedsRunText,
                MessageClass::Error);
    return false;
  }
  report.record.plan = commandLine.plan;
  if (report.file.Open(commandLine.ReportPath())) return true;
  SayNotWritten(kReportNotStartedText, commandLine.ReportPath(), GetLastError());
  return false;
}

bool FinishAutoReport(const CommandLine& commandLine, AutoReport& report, const RenameList& list) {
  if (report.finished) return report.written;
  report.finished = true;
  std::vector<ReportRow>& rows = report.record.rows;
  if (rows.empty()) {
    const wchar_t* reason = commandLine.testMode ? kReasonTestMode : kReasonNotReached;
    for (const RenameItem& row : list.Rows()) rows.push_back(RowNotDone(row, reason));
  }
  report.written = report.file.Commit(ReportBytes(rows, report.record.plan));
  if (!report.written) SayNotWritten(kReportNotWrittenText, report.file.Target(), GetLastError());
  return report.written;
}

int AutomaticExitCode(const CommandLine& commandLine, const RunReport& run, const AutoRunEnd& end,
                      const AutoReport* report) {
  if (report && !report->written) return kExitNotStarted;
  if (!commandLine.plan || !report) return ExitCodeOf(run, end);
  if (run.refused) return kExitNotStarted;
  return EveryRowDone(report->record.rows) ? kExitAllDone : kExitSomeFailed;
}

}  // namespace korval
