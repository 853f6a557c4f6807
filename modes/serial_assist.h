// The serial assist dialog's work without the dialog: a template split into the dialog's fields,
// and the fields put back together into a template.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korval {

inline constexpr size_t kMaxAssistTemplateChars = 127;
inline constexpr int kMaxAssistStep = 100000000;

// The fields of the dialog: prefix (1666), start (1668), suffix (1667), step (1670, its absolute
// value) and the sign drop-down (1669).
struct SerialAssistFields {
  std::wstring prefix;
  std::wstring start;
  std::wstring suffix;
  std::wstring step = L"1";
  bool minus = false;

  bool operator==(const SerialAssistFields&) const = default;
};

SerialAssistFields SplitSerialTemplate(std::wstring_view text);

// The template for the fields, at most 127 characters; a plain start number alone when nothing
// else is set.
std::wstring RebuildSerialTemplate(const SerialAssistFields& fields);

// The dialog's title for a mode number, e.g. "[連番 (123...)] 入力支援".
std::wstring SerialAssistTitle(int mode);

}  // namespace korval
