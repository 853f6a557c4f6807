// Rows of the step list to and from macro records.
#include "macroedit/step_row.h"

#include "macro/step_codes.h"
#include "macroedit/step_description.h"
#include "modes/change_mode.h"
#include "platform/format_text.h"

namespace korval {
namespace {

constexpr int kCodeDeleteText = 6;
constexpr int kLastSavedMode = kModeRandomName;
constexpr size_t kPositionTextStart = 4;  // after "[f] "

char DigitCharacter(int value) { return static_cast<char>('0' + value); }

// The text from after the quote at open up to the next quote (or the end); npos when there is none.
std::wstring Quoted(const std::wstring& text, size_t open, size_t& close) {
  close = text.find(L'"', open + 1);
  return text.substr(open + 1, close == std::wstring::npos ? std::wstring::npos : close - open - 1);
}

}  // namespace

RawStepPart ReadRawPart(const StepRow& row) {
  RawStepPart raw;
  const std::wstring joined = row.setting + row.setting2;
  auto digit = [&](size_t i) { return i < joined.size() && joined[i] < 0x80 ? static_cast<char>(joined[i]) : '\0'; };
  raw.d0 = digit(1);
  raw.d1 = digit(3);
  raw.d2 = digit(5);
  const size_t open = joined.find(L'"');
  if (open == std::wstring::npos) return raw;
  size_t close = 0;
  raw.textA = Quoted(joined, open, close);
  if (close != std::wstring::npos && close + 2 < joined.size() && joined[close + 1] == L',' &&
      joined[close + 2] == L'"') {
    raw.textB = Quoted(joined, close + 2, close);
  }
  return raw;
}

bool RowFromRecord(const MacroRecord& step, StepRow& row) {
  if (step.kind != MacroRecordKind::Step) return false;
  row = StepRow{};
  if (step.codeIndex == kPositionEditCode) {
    row.mode = EditorModeName(kModePositionEdit);
    row.setting = FormatText(L"[%c] %s", static_cast<wchar_t>(ShownPositionFlag(step)), step.textA.c_str());
    const std::string shown = step.encodedMap.substr(0, kShownMapChars);
    row.setting2.assign(shown.begin(), shown.end());
    return true;
  }
  if (DescribeStep(DigitCharacter(step.d0), DigitCharacter(step.d1), DigitCharacter(step.d2), step.codeIndex,
                   step.textA, step.textB, row.mode, row.setting, row.setting2) != 0) {
    return false;
  }
  if (step.codeIndex == kCodeDeleteText) row.deleteSecondCount = step.textA;
  return true;
}

bool RowFromRecordBytes(const std::string& record, StepRow& row) {
  const MacroRecord step =
      DecodeRecord(reinterpret_cast<const unsigned char*>(record.data()), record.size(), 0, 0);
  return RowFromRecord(step, row);
}

RowRecordResult RecordFromRow(const StepRow& row, std::string& record) {
  record.clear();
  const int mode = EditorModeOfName(row.mode, kLastSavedMode);
  if (mode == 0) return RowRecordResult::UnknownMode;
  if (mode == kModePositionEdit) {
    const char flag = row.setting.size() > 1 && row.setting[1] < 0x80 ? static_cast<char>(row.setting[1]) : '\0';
    const std::wstring text = row.setting.size() > kPositionTextStart ? row.setting.substr(kPositionTextStart) : L"";
    std::string shownMap;
    for (wchar_t c : row.setting2) shownMap.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    record = BuildPositionRecordFromShownMap(shownMap, flag, text);
  } else {
    const int codeIndex = StepCodeIndexOfMode(mode);
    const RawStepPart raw = ReadRawPart(row);
    const std::wstring& textA =
        codeIndex == kCodeDeleteText && raw.textA.empty() ? row.deleteSecondCount : raw.textA;
    record = FormatStepRecord(codeIndex, raw.d0, raw.d1, raw.d2, textA, raw.textB);
  }
  if (ValidateRecord(reinterpret_cast<const unsigned char*>(record.data()), record.size()) < 0) {
    record.clear();
    return RowRecordResult::InvalidValue;
  }
  return RowRecordResult::Built;
}

}  // namespace korval
