// The body both libraries' substitution entry points share: the checks of the caller's arguments,
// the substitution in UTF-16 and the result record. Codec gives what differs by character type:
//   static size_t Length(const Char* text, size_t limit)       length, at most limit
//   static ... ToWide(std::basic_string_view<Char>)          the command in UTF-16 (a view, or a string)
//   static ... TextToWide(std::basic_string_view<Char>, std::vector<uint32_t>& unitStarts)   the same for the text
//   static void FromWide(std::wstring& result, const std::vector<SourceSpan>& spans,
//                        std::basic_string_view<Char> text, const std::vector<uint32_t>& unitStarts,
//                        std::basic_string<Char>& into)
//     puts the result into into, with the stretches copied from the text given back as the text had
//     them; text may lie in into itself (a caller passing the last result back in)
//   static constexpr bool kKeepsSourceBytes   FromWide needs the spans
//   static void WriteMessage(Char* message, const std::wstring& text)   bounded, terminated
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "regex/result_record.h"
#include "regex/substitute.h"

namespace korval::regex {

template <typename Codec, typename Record, typename Char>
int Fail(Char* message, const wchar_t* why) {
  try {
    Codec::WriteMessage(message, why);
  } catch (...) {
    if (message != nullptr) message[0] = Char{};
  }
  return -1;
}

template <typename Codec, typename Record, typename Char>
int SubstituteEntry(const Char* command, Char* textStart, Char* textEnd, Record** handle, Char* message) {
  if (message != nullptr) message[0] = Char{};
  if (handle == nullptr) return Fail<Codec, Record>(message, L"結果ハンドルがありません");
  StoredRecord<Record, Char>* record = AcquireRecord<Record, Char>(handle);
  if (record == nullptr) return Fail<Codec, Record>(message, L"メモリ不足");
  if (command == nullptr) return Fail<Codec, Record>(message, L"コマンドがありません");
  if ((textStart == nullptr) != (textEnd == nullptr) || textEnd < textStart) {
    return Fail<Codec, Record>(message, L"対象の文字列の範囲が正しくありません");
  }
  // Checked before any conversion; a character is never more than one UTF-16 unit here, so these
  // bounds are never tighter than the substitution's own.
  const size_t commandLength = Codec::Length(command, kMaxCommandChars + 1);
  const size_t textLength = static_cast<size_t>(textEnd - textStart);
  if (commandLength > kMaxCommandChars) return Fail<Codec, Record>(message, L"コマンドが長すぎます");
  if (textLength > kMaxTextChars) return Fail<Codec, Record>(message, L"対象の文字列が長すぎます");

  std::wstring why;
  int count = 0;
  const std::basic_string_view<Char> text(textStart, textLength);
  std::vector<uint32_t> unitStarts;
  std::vector<SourceSpan> spans;
  const auto wideCommand = Codec::ToWide({command, commandLength});
  const auto wideText = Codec::TextToWide(text, unitStarts);
  switch (Substitute(wideCommand, wideText, record->wideResult, why, count, Codec::kKeepsSourceBytes ? &spans : nullptr,
                     &record->workspace)) {
    case SubstStatus::Replaced:
      Codec::FromWide(record->wideResult, spans, text, unitStarts, record->text);
      PublishResult(record, count);
      return count;
    case SubstStatus::NoMatch:
      record->replaced = 0;
      return 0;
    case SubstStatus::Error:
      break;
  }
  Codec::WriteMessage(message, why);
  return -1;
}

}  // namespace korval::regex
