// The report of an unattended run: outcome words, reasons and the CSV text.
#include "engine/run_report.h"

#include <algorithm>

#include "engine/name_refusal.h"
#include "platform/utf8.h"

namespace korval {

const wchar_t* OutcomeWord(RowOutcome outcome, bool plan) {
  switch (outcome) {
    case RowOutcome::Changed: return plan ? L"予定" : L"変更";
    case RowOutcome::Unchanged: return L"変更なし";
    case RowOutcome::Skipped: return L"スキップ";
    case RowOutcome::Failed: return L"失敗";
  }
  return L"";
}

ReportRow RowNotDone(const RenameItem& row, const wchar_t* reason) {
  if (row.status == ItemStatus::Filtered) {
    return ReportRow{row.oldName, L"", row.folder, RowOutcome::Unchanged, StatusReason(ItemStatus::Filtered, L"")};
  }
  return ReportRow{row.oldName, row.newName, row.folder, RowOutcome::Skipped, reason};
}

std::wstring StatusReason(ItemStatus status, const std::wstring& newName) {
  if (status == ItemStatus::InvalidName) {
    if (const wchar_t* refused = RefusedNameReason(newName)) return refused;
  }
  for (const StatusLegendEntry& entry : kStatusLegend) {
    if (entry.status == status) return entry.text;
  }
  return L"";
}

std::wstring SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = L"エラー " + std::to_wstring(error);
  return text;
}

namespace {

// Whether the field gets an apostrophe in front: a spreadsheet would run it as a formula, or it begins
// with an apostrophe itself (which then gets one more), so that taking one apostrophe off a guarded
// field always gives the name back exactly.
bool StartsFormula(const std::wstring& text) {
  return !text.empty() && std::wstring_view(L"=+-@\t\r'").find(text.front()) != std::wstring_view::npos;
}

// Appends text as one field: quoted where it holds a comma, a quote or a line break, or begins or ends
// with a space, its quotes doubled; a formula's beginning behind an apostrophe.
void AppendCsvField(std::wstring& out, const std::wstring& text) {
  const bool formula = StartsFormula(text);
  const bool quoted = formula || text.find_first_of(L",\"\r\n") != std::wstring::npos ||
                      (!text.empty() && (text.front() == L' ' || text.back() == L' '));
  if (!quoted) {
    out += text;
    return;
  }
  out += L'"';
  if (formula) out += L'\'';
  for (const wchar_t c : text) {
    if (c == L'"') out += L'"';
    out += c;
  }
  out += L'"';
}

}  // namespace

std::wstring CsvField(const std::wstring& text) {
  std::wstring out;
  AppendCsvField(out, text);
  return out;
}

std::string ReportBytes(const std::vector<ReportRow>& rows, bool plan) {
  // Sized once: a report of 50,000 rows is ten megabytes of text, and growing it copied it again and again.
  size_t length = 64;
  for (const ReportRow& row : rows) length += row.oldName.size() + row.newName.size() + row.folder.size() + row.reason.size() + 16;
  std::wstring text;
  text.reserve(length);
  text += kReportHeader;
  text += L"\r\n";
  // Every field is appended in place: a report of 50,000 rows made temporaries by the hundred thousand.
  for (const ReportRow& row : rows) {
    AppendCsvField(text, row.oldName);
    text += L',';
    AppendCsvField(text, row.newName);
    text += L',';
    AppendCsvField(text, row.folder);
    text += L',';
    text += OutcomeWord(row.outcome, plan);
    text += L',';
    AppendCsvField(text, row.reason);
    text += L"\r\n";
  }
  return Utf8(text, "\xEF\xBB\xBF");
}

std::string ReportHead() { return Utf8(std::wstring(kReportHeader) + L"\r\n", "\xEF\xBB\xBF"); }

bool EveryRowDone(const std::vector<ReportRow>& rows) {
  return std::none_of(rows.begin(), rows.end(), [](const ReportRow& row) {
    return row.outcome == RowOutcome::Skipped || row.outcome == RowOutcome::Failed;
  });
}

}  // namespace korval
