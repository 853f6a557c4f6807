// Tab-separated rows for the clipboard, checked on the way back in so that every pasted row is one
// the editor can save.
#include "macroedit/step_clipboard.h"

#include "macroedit/step_description.h"
#include "modes/change_mode.h"

namespace korval {
namespace {

constexpr size_t kMinPastedMapChars = 200;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsMapCharacter(wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f') || c == L'+'; }

// "[", any character, ",", a digit, ",", a digit, "]" and a space.
bool BeginsWithBracketForm(const std::wstring& text) {
  return text.size() >= 8 && text[0] == L'[' && text[2] == L',' && IsDigit(text[3]) && text[4] == L',' &&
         IsDigit(text[5]) && text[6] == L']' && text[7] == L' ';
}

}  // namespace

std::wstring RowsToClipboardText(const std::vector<const StepRow*>& rows) {
  std::wstring text;
  for (const StepRow* row : rows) {
    text.append(row->mode, 0, kStepColumnChars);
    text += L'\t';
    text.append(row->setting, 0, kStepColumnChars);
    text += L'\t';
    text.append(row->setting2, 0, kStepColumnChars);
    text += L"\r\n";
  }
  return text;
}

std::vector<std::wstring_view> SplitPastedLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  while (!text.empty()) {
    const size_t end = text.find(L'\n');
    std::wstring_view line = text.substr(0, end);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::wstring_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool RowFromPastedLine(std::wstring_view line, StepRow& row) {
  if (!line.empty() && line.front() == L'#') return false;
  std::wstring_view columns[3];
  for (int i = 0; i < 3 && !line.empty(); ++i) {
    const size_t tab = i < 2 ? line.find(L'\t') : std::wstring_view::npos;
    columns[i] = line.substr(0, tab);
    line = tab == std::wstring_view::npos ? std::wstring_view() : line.substr(tab + 1);
  }
  for (const std::wstring_view& column : columns) {
    if (column.size() > kMaxPastedColumnChars) return false;
  }
  StepRow pasted{std::wstring(columns[0]), std::wstring(columns[1]), std::wstring(columns[2]), {}};
  const int mode = EditorModeOfName(pasted.mode);
  if (mode == 0) return false;
  if (mode == kModePositionEdit) {
    if (pasted.setting2.size() < kMinPastedMapChars) return false;
    for (wchar_t c : pasted.setting2) {
      if (!IsMapCharacter(c)) return false;
    }
  } else if (!BeginsWithBracketForm(pasted.setting)) {
    return false;
  }
  row = std::move(pasted);
  return true;
}

}  // namespace korval
