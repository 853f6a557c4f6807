// bregonig.dll: the UTF-16 regular expression library the renamer prefers.
#include <algorithm>
#include <cwchar>
#include <string>
#include <type_traits>
#include <string_view>

#include "regex/regex_api.h"
#include "regex/result_record.h"
#include "regex/substitute.h"

using korval::RegexRecordW;

namespace {

using Stored = korval::regex::StoredRecord<RegexRecordW, wchar_t>;

void WriteMessage(wchar_t* message, std::wstring_view text) {
  if (message == nullptr) return;
  const size_t length = std::min(text.size(), static_cast<size_t>(korval::kRegexMessageSize - 1));
  text.copy(message, length);
  message[length] = L'\0';
}

int Fail(wchar_t* message, const wchar_t* why) {
  WriteMessage(message, why);
  return -1;
}

int SubstituteWide(const wchar_t* command, wchar_t* textStart, wchar_t* textEnd, RegexRecordW** handle,
                   wchar_t* message) {
  if (message != nullptr) message[0] = L'\0';
  if (handle == nullptr) return Fail(message, L"結果ハンドルがありません");
  Stored* record = korval::regex::AcquireRecord<RegexRecordW, wchar_t>(handle);
  if (record == nullptr) return Fail(message, L"メモリ不足");
  if (command == nullptr) return Fail(message, L"コマンドがありません");
  if ((textStart == nullptr) != (textEnd == nullptr) || textEnd < textStart) {
    return Fail(message, L"対象の文字列の範囲が正しくありません");
  }
  // One character more than allowed is enough to know the command is too long.
  const size_t commandLength = wcsnlen(command, korval::regex::kMaxCommandChars + 1);
  const std::wstring_view text(textStart, static_cast<size_t>(textEnd - textStart));
  std::wstring result;
  std::wstring why;
  int count = 0;
  switch (korval::regex::Substitute({command, commandLength}, text, result, why, count)) {
    case korval::regex::SubstStatus::Replaced:
      korval::regex::PublishResult(record, std::move(result), count);
      return count;
    case korval::regex::SubstStatus::NoMatch:
      record->replaced = 0;
      return 0;
    case korval::regex::SubstStatus::Error:
      break;
  }
  WriteMessage(message, why);
  return -1;
}

}  // namespace

extern "C" __declspec(dllexport) int BSubstW(const wchar_t* command, wchar_t* textStart, wchar_t* textEnd,
                                             RegexRecordW** handle, wchar_t* message) {
  try {
    return SubstituteWide(command, textStart, textEnd, handle, message);
  } catch (...) {
    return Fail(message, L"処理できません");
  }
}

extern "C" __declspec(dllexport) void BRegfreeW(RegexRecordW* record) {
  korval::regex::ReleaseRecord<RegexRecordW, wchar_t>(record);
}

// The exports must keep the types the renamer calls them through.
static_assert(std::is_same_v<decltype(&BSubstW), korval::BSubstWProc>);
static_assert(std::is_same_v<decltype(&BRegfreeW), korval::BRegfreeWProc>);
