// Splitting and rebuilding serial templates for the assist dialog.
#include "modes/serial_assist.h"

#include "modes/change_mode.h"
#include "modes/serial_number.h"
#include "platform/format_text.h"
#include "platform/digits.h"

namespace korval {
namespace {

bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

std::wstring WithoutMarkers(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c != L'<' && c != L'>') out += c;
  }
  return out;
}

// Whether the start reads back the same after a conversion to a number.
bool IsPlainNumber(const std::wstring& start) {
  if (start.empty() || start.size() > kMaxSerialFieldChars) return false;
  for (wchar_t c : start) {
    if (!IsDigit(c)) return false;
  }
  return start == L"0" || start[0] != L'0';
}

}  // namespace

SerialAssistFields SplitSerialTemplate(std::wstring_view text) {
  SerialAssistFields fields;
  const size_t lt = text.find(L'<');
  const size_t gt = lt == std::wstring_view::npos ? lt : text.find(L'>', lt + 1);
  if (gt == std::wstring_view::npos) {
    // Unmarked: the last run of digits, at most 9 of them, is the start.
    size_t end = text.size();
    while (end > 0 && !IsDigit(text[end - 1])) --end;
    if (end == 0) {
      fields.prefix = text;
      return fields;
    }
    size_t begin = end;
    while (begin > 0 && end - begin < kMaxSerialFieldChars && IsDigit(text[begin - 1])) --begin;
    fields.prefix = text.substr(0, begin);
    fields.start = text.substr(begin, end - begin);
    fields.suffix = text.substr(end);
    return fields;
  }

  const std::wstring_view inner = text.substr(lt + 1, gt - lt - 1);
  size_t pos = 0;
  if (!inner.empty() && IsLetter(inner[0])) {
    const bool lower = inner[0] >= L'a';
    while (pos < inner.size() && IsLetter(inner[pos]) && (inner[pos] >= L'a') == lower) ++pos;
  } else {
    while (pos < inner.size() && IsDigit(inner[pos])) ++pos;
  }
  fields.start = inner.substr(0, pos);
  if (pos < inner.size() && (inner[pos] == L'+' || inner[pos] == L'-')) {
    fields.minus = inner[pos] == L'-';
    ++pos;
    const size_t digitsBegin = pos;
    long long step = 0;
    while (pos < inner.size() && IsDigit(inner[pos])) {
      if (step <= kMaxAssistStep) step = step * 10 + (inner[pos] - L'0');
      ++pos;
    }
    if (pos > digitsBegin) fields.step = std::to_wstring(step > kMaxAssistStep ? kMaxAssistStep : step);
  }
  fields.prefix = WithoutMarkers(text.substr(0, lt));
  fields.suffix = WithoutMarkers(inner.substr(pos)) + WithoutMarkers(text.substr(gt + 1));
  return fields;
}

std::wstring RebuildSerialTemplate(const SerialAssistFields& fields) {
  const std::wstring start = fields.start.empty() ? std::wstring(L"1") : fields.start;
  std::wstring text;
  if (fields.prefix.empty() && fields.suffix.empty() && !fields.minus && fields.step == L"1" &&
      IsPlainNumber(start)) {
    text = start;
  } else {
    text = fields.prefix + L"<" + start;
    if (fields.minus) {
      text += L"-" + fields.step;
    } else if (fields.step != L"1") {
      text += L"+" + fields.step;
    }
    text += L">" + fields.suffix;
  }
  if (text.size() > kMaxAssistTemplateChars) text.resize(kMaxAssistTemplateChars);
  return text;
}

std::wstring SerialAssistTitle(int mode) {
  const wchar_t* label = ModeLabel(mode);
  return FormatText(L"[%s] 入力支援", label);
}

}  // namespace korval
