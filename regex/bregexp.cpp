// bregexp.dll: the ANSI regular expression library. It reads the command and the text in the ANSI
// code page, works in UTF-16 like the wide library (so a double-byte character whose second byte is
// "\" stays one character) and returns the result in the ANSI code page.
#include <cstring>
#include <string>
#include <type_traits>

#include "regex/ansi_code_page.h"
#include "regex/regex_api.h"
#include "regex/result_record.h"
#include "regex/substitute.h"

using korval::RegexRecordA;

namespace {

using Stored = korval::regex::StoredRecord<RegexRecordA, char>;

void WriteMessage(char* message, const std::wstring& text) {
  if (message == nullptr) return;
  const std::string ansi =
      korval::regex::WideToAnsiCut(text, static_cast<size_t>(korval::kRegexMessageSize - 1));
  std::memcpy(message, ansi.data(), ansi.size());
  message[ansi.size()] = '\0';
}

int Fail(char* message, const wchar_t* why) {
  try {
    WriteMessage(message, why);
  } catch (...) {
    if (message != nullptr) message[0] = '\0';
  }
  return -1;
}

int SubstituteAnsi(const char* command, char* textStart, char* textEnd, RegexRecordA** handle,
                   char* message) {
  if (message != nullptr) message[0] = '\0';
  if (handle == nullptr) return Fail(message, L"結果ハンドルがありません");
  Stored* record = korval::regex::AcquireRecord<RegexRecordA, char>(handle);
  if (record == nullptr) return Fail(message, L"メモリ不足");
  if (command == nullptr) return Fail(message, L"コマンドがありません");
  if ((textStart == nullptr) != (textEnd == nullptr) || textEnd < textStart) {
    return Fail(message, L"対象の文字列の範囲が正しくありません");
  }
  // Each byte is at most one UTF-16 unit, so these bounds are never tighter than the wide ones.
  const size_t commandLength = strnlen(command, korval::regex::kMaxCommandChars + 1);
  const size_t textLength = static_cast<size_t>(textEnd - textStart);
  if (commandLength > korval::regex::kMaxCommandChars) return Fail(message, L"コマンドが長すぎます");
  if (textLength > korval::regex::kMaxTextChars) return Fail(message, L"対象の文字列が長すぎます");
  const std::wstring wideCommand = korval::regex::AnsiToWide({command, commandLength});
  const std::wstring wideText = korval::regex::AnsiToWide({textStart, textLength});
  std::wstring result;
  std::wstring why;
  int count = 0;
  switch (korval::regex::Substitute(wideCommand, wideText, result, why, count)) {
    case korval::regex::SubstStatus::Replaced:
      korval::regex::PublishResult(record, korval::regex::WideToAnsi(result), count);
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

extern "C" __declspec(dllexport) int BSubst(const char* command, char* textStart, char* textEnd,
                                            RegexRecordA** handle, char* message) {
  try {
    return SubstituteAnsi(command, textStart, textEnd, handle, message);
  } catch (...) {
    return Fail(message, L"処理できません");
  }
}

extern "C" __declspec(dllexport) void BRegfree(RegexRecordA* record) {
  korval::regex::ReleaseRecord<RegexRecordA, char>(record);
}

// The exports must keep the types the renamer calls them through.
static_assert(std::is_same_v<decltype(&BSubst), korval::BSubstProc>);
static_assert(std::is_same_v<decltype(&BRegfree), korval::BRegfreeProc>);
